// Scene settings: prepare, discard, store under CHUNK_SCENE and fetch back.
#include "toolkit3ds/scenesettings3ds.h"

#include <cstdlib>
#include <cstring>

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/database3ds.h"
#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/recordchunks3ds.h"
#include "toolkit3ds/recordnames3ds.h"

namespace {

constexpr float kDefaultAmbient = 0.39216f;
// Databases are created and written at release level 2, whose scene version
// is 3.
constexpr int32_t kSceneVersion = 3;
constexpr float kByteColourScale = 1.0f / 256.0f;

// The scene's child of the tag, emptied for new content or newly added, with
// a fresh data record.
template <typename Record>
Record* ReplaceRecord(Chunk3ds* scene, uint32_t tag) {
    Chunk3ds* chunk = nullptr;
    ReplaceOrAddChild3ds(scene, tag, &chunk);
    if (ErrorPending3ds()) return nullptr;
    return static_cast<Record*>(NewChunkData3ds(chunk));
}

template <typename Record, typename T>
bool StoreValue(Chunk3ds* scene, uint32_t tag, const T& value) {
    auto* record = ReplaceRecord<Record>(scene, tag);
    if (record == nullptr) return false;
    static_assert(sizeof value == sizeof record->value);
    std::memcpy(&record->value, &value, sizeof record->value);
    return true;
}

bool StoreAmbientLight(Chunk3ds* scene, const float (&light)[3]) {
    Chunk3ds* container = nullptr;
    ReplaceOrAddChild3ds(scene, CHUNK_AMBIENT_LIGHT, &container);
    if (ErrorPending3ds()) return false;
    for (uint32_t tag : {CHUNK_RGB_FLOAT, CHUNK_RGB_FLOAT_ALT}) {
        auto* colour = AddChildRecord3ds<Floats3Data3ds>(container, tag);
        if (colour == nullptr) return false;
        std::memcpy(colour->value, light, sizeof colour->value);
    }
    return true;
}

// Reads the record of the parent's child of the tag, if there is one, hands
// it to take, and lets the chunk drop it again.
template <typename Record, typename Take>
bool FetchValue(Chunk3ds* parent, uint32_t tag, Take take) {
    Chunk3ds* chunk = nullptr;
    FindNextChunk3ds(parent->child, tag, &chunk);
    if (chunk == nullptr) return false;
    auto* record = static_cast<const Record*>(ReadChunkData3ds(chunk));
    if (ErrorPending3ds() || record == nullptr) return false;
    take(*record);
    DropReloadableData3ds(chunk);
    return true;
}

void FetchFloat(Chunk3ds* scene, uint32_t tag, float* field) {
    FetchValue<FloatData3ds>(scene, tag, [field](const FloatData3ds& r) { *field = r.value; });
}

// The float chunk if there is one, else the byte chunk.
void FetchColour(Chunk3ds* container, uint32_t floatTag, uint32_t byteTag, float (&colour)[3]) {
    if (FetchValue<Floats3Data3ds>(
            container, floatTag, [&colour](const Floats3Data3ds& r) { std::memcpy(colour, r.value, sizeof colour); })) {
        return;
    }
    if (ErrorPending3ds()) return;
    FetchValue<ByteTripleData3ds>(container, byteTag, [&colour](const ByteTripleData3ds& r) {
        for (int i = 0; i < 3; ++i) colour[i] = r.value[i] * kByteColourScale;
    });
}

void FetchAmbientLight(Chunk3ds* scene, float (&light)[3]) {
    Chunk3ds* container = nullptr;
    FindNextChunk3ds(scene->child, CHUNK_AMBIENT_LIGHT, &container);
    if (container == nullptr) return;
    FetchColour(container, CHUNK_RGB_FLOAT, CHUNK_RGB24, light);
    if (ErrorPending3ds()) return;
    FetchColour(container, CHUNK_RGB_FLOAT_ALT, CHUNK_RGB24_ALT, light);
}

void FetchSettings(Chunk3ds* scene, SceneSettings3ds* s) {
    FetchFloat(scene, CHUNK_SCENE_SCALE, &s->scale);
    FetchFloat(scene, CHUNK_SETTING_FLOAT_1400, &s->value1400);
    FetchFloat(scene, CHUNK_SETTING_FLOAT_1460, &s->value1460);
    FetchValue<WordData3ds>(scene, CHUNK_SETTING_WORD_1420, [s](const WordData3ds& r) { s->size1420 = r.value; });
    FetchFloat(scene, CHUNK_SETTING_FLOAT_1450, &s->value1450);
    if (ErrorPending3ds()) return;
    FetchAmbientLight(scene, s->ambientLight);
    if (ErrorPending3ds()) return;
    FetchValue<Floats3Data3ds>(scene, CHUNK_SETTING_VECTOR_1500, [s](const Floats3Data3ds& r) {
        std::memcpy(s->constants1500, r.value, sizeof s->constants1500);
    });
}

}  // namespace

void PrepareSceneSettings3ds(SceneSettings3ds** settings) {
    bool reused = false;
    SceneSettings3ds* s = ObtainRecord3ds(settings, &reused);
    if (s == nullptr) return;
    s->scale = 1.0f;
    s->value1400 = 1.0f;
    s->value1460 = 1.0f;
    s->size1420 = 512;
    s->value1450 = 3.0f;
    for (float& component : s->ambientLight) component = kDefaultAmbient;
    for (float& constant : s->constants1500) constant = 0.0f;
}

void DiscardSceneSettings3ds(SceneSettings3ds** settings) {
    if (settings == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    std::free(*settings);
    *settings = nullptr;
}

void StoreSceneSettings3ds(Database3ds* db, const SceneSettings3ds* settings) {
    if (db == nullptr || settings == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    if (!HasTopChunkOf3ds(db, {CHUNK_MESH_FILE, CHUNK_PROJECT_FILE})) return;
    Chunk3ds* scene = FindOrAddScene3ds(db->top);
    const SceneSettings3ds& s = *settings;
    if (scene == nullptr || !StoreValue<LongData3ds>(scene, CHUNK_SCENE_VERSION, kSceneVersion) ||
        !StoreValue<FloatData3ds>(scene, CHUNK_SCENE_SCALE, s.scale) ||
        !StoreValue<FloatData3ds>(scene, CHUNK_SETTING_FLOAT_1400, s.value1400) ||
        !StoreValue<WordData3ds>(scene, CHUNK_SETTING_WORD_1420, s.size1420) ||
        !StoreValue<FloatData3ds>(scene, CHUNK_SETTING_FLOAT_1450, s.value1450) ||
        !StoreValue<FloatData3ds>(scene, CHUNK_SETTING_FLOAT_1460, s.value1460) ||
        !StoreAmbientLight(scene, s.ambientLight)) {
        return;
    }
    StoreValue<Floats3Data3ds>(scene, CHUNK_SETTING_VECTOR_1500, s.constants1500);
}

void FetchSceneSettings3ds(Database3ds* db, SceneSettings3ds** settings) {
    if (db == nullptr || settings == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    Chunk3ds* scene = nullptr;
    FindChunk3ds(db->top, CHUNK_SCENE, &scene);
    if (scene == nullptr) return;
    PrepareSceneSettings3ds(settings);
    if (!ErrorPending3ds()) FetchSettings(scene, *settings);
}
