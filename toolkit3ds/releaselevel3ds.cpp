// The version chunks a database carries for its release level.
#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/database3ds.h"
#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/strings3ds.h"

namespace {

constexpr int kKeyframeRevisions[] = {1, 2, 5, 6};
constexpr std::int32_t kNewAnimationLength = 30;

void StoreVersion(Chunk3ds* parent, std::uint32_t tag, std::int32_t version) {
    Chunk3ds* chunk = nullptr;
    ReplaceOrAddChild3ds(parent, tag, &chunk);
    if (ErrorPending3ds()) {
        return;
    }
    if (auto* record = static_cast<LongData3ds*>(NewChunkData3ds(chunk))) {
        record->value = version;
    }
}

// The chunk of the tag anywhere below the parent, or a new one under it.
Chunk3ds* FindOrInsert(Chunk3ds* parent, std::uint32_t tag) {
    Chunk3ds* chunk = nullptr;
    FindChunk3ds(parent, tag, &chunk);
    if (chunk == nullptr && !ErrorPending3ds()) {
        NewChunkOfType3ds(&chunk, tag);
        if (!ErrorPending3ds()) {
            InsertChild3ds(parent, chunk);
        }
    }
    return ErrorPending3ds() ? nullptr : chunk;
}

Chunk3ds* NewKeyframeHeader(Chunk3ds* section) {
    Chunk3ds* header = nullptr;
    auto* record = static_cast<KeyframeHeaderData3ds*>(NewChunkWithData3ds(&header, CHUNK_KEYFRAME_HEADER));
    if (ErrorPending3ds()) {
        ReleaseChunk3ds(&header);
        return nullptr;
    }
    record->name = DuplicateString3ds("");
    record->length = kNewAnimationLength;
    if (record->name == nullptr) {
        PushError3ds(ERR_NO_MEM);
    }
    InsertChild3ds(section, header);
    return header;
}

void StoreKeyframeRevision(Chunk3ds* top, int revision) {
    Chunk3ds* section = FindOrInsert(top, CHUNK_KEYFRAME_SECTION);
    if (section == nullptr) {
        return;
    }
    Chunk3ds* header = nullptr;
    FindChunk3ds(section, CHUNK_KEYFRAME_HEADER, &header);
    if (header == nullptr) {
        header = NewKeyframeHeader(section);
    }
    if (header == nullptr || ErrorPending3ds()) {
        return;
    }
    if (auto* record = static_cast<KeyframeHeaderData3ds*>(ReadChunkData3ds(header))) {
        record->revision = static_cast<std::uint16_t>(revision);
    }
}

}  // namespace

void SetReleaseLevel3ds(Database3ds* database, int level) {
    if (database == nullptr || level < 0 || level > 3) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    const enum DatabaseKind3ds kind = DatabaseKind3ds(database);
    const std::int32_t version = level + 1;
    Chunk3ds* top = database->top;
    if (kind == DatabaseKind3ds::MeshFile) {
        StoreVersion(top, CHUNK_FILE_VERSION, version);
    }
    if (kind != DatabaseKind3ds::MeshFile && kind != DatabaseKind3ds::ProjectFile) {
        return;
    }
    Chunk3ds* scene = ErrorPending3ds() ? nullptr : FindOrInsert(top, CHUNK_SCENE);
    if (scene == nullptr) {
        return;
    }
    StoreVersion(scene, CHUNK_SCENE_VERSION, version);
    if (!ErrorPending3ds()) {
        StoreKeyframeRevision(top, kKeyframeRevisions[level]);
    }
}
