// Storing materials and their map slots as chunk subtrees, and finding
// materials by name.
#include <cmath>
#include <limits>

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/database3ds.h"
#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/material3ds.h"
#include "toolkit3ds/recordchunks3ds.h"
#include "toolkit3ds/recordnames3ds.h"

namespace {

struct SlotChunks {
    uint32_t map;
    uint32_t data;  // 0: the slot has no data chunk
};

// Map chunk and data chunk of slots 1 to 16. Slots 6 and 10 share 0xA32E.
constexpr SlotChunks kSlots[kMapSlotCount3ds] = {
    {0xA200, 0xA320}, {0xA33E, 0xA32A}, {0xA33A, 0xA321}, {0xA340, 0xA32C}, {0xA210, 0xA322}, {0xA342, 0xA32E},
    {0xA230, 0xA324}, {0xA344, 0xA330}, {0xA204, 0xA325}, {0xA348, 0xA32E}, {0xA33C, 0xA326}, {0xA346, 0xA334},
    {0xA33D, 0xA328}, {0xA34A, 0xA336}, {0xA220, 0},      {0xA34C, 0xA338}};

constexpr int kSpecialSlot = 15;
constexpr int kSlotWithAmount = 7;

constexpr uint16_t kOptionTile = 0x0001;
constexpr uint16_t kOptionTileBoth = 0x0011;
constexpr uint16_t kOption02 = 0x0002;
constexpr uint16_t kOption08 = 0x0008;
constexpr uint16_t kOption20 = 0x0020;
constexpr uint16_t kOption100 = 0x0100;
constexpr uint16_t kTintOptions[] = {0, 0x0040, 0x0080, 0x00C0, 0x0200};

constexpr uint16_t kCubeOptions = 1;
constexpr uint16_t kCubeOptionsA = 9;
constexpr uint16_t kCubeOptionB = 0x11;

// Truncation toward zero into T; values beyond T's range are clamped to it
// and NaN gives 0, where a plain conversion would be undefined.
template <typename T>
T TruncateInto(float value) {
    if (std::isnan(value)) return 0;
    if (value <= float(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
    if (value >= float(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
    return static_cast<T>(value);
}

int16_t Percent(float fraction) { return TruncateInto<int16_t>(fraction * 100.0f); }
int16_t RoundedPercent(float fraction) { return TruncateInto<int16_t>(fraction * 100.0f + 0.5f); }

// Rounds half away from zero, and stores the size of a negative falloff.
int16_t FalloffPercent(float falloff) {
    float rounded = falloff * 100.0f + (falloff > 0.0f ? 0.5f : -0.5f);
    return TruncateInto<int16_t>(std::fabs(rounded));
}

bool AddFlag(Chunk3ds* parent, uint32_t tag) { return AddChildChunk3ds(parent, tag) != nullptr; }

bool AddShort(Chunk3ds* parent, uint32_t tag, int16_t value) {
    auto* record = AddChildRecord3ds<ShortData3ds>(parent, tag);
    if (record != nullptr) record->value = value;
    return record != nullptr;
}

bool AddWord(Chunk3ds* parent, uint32_t tag, uint16_t value) {
    auto* record = AddChildRecord3ds<WordData3ds>(parent, tag);
    if (record != nullptr) record->value = value;
    return record != nullptr;
}

bool AddFloat(Chunk3ds* parent, uint32_t tag, float value) {
    auto* record = AddChildRecord3ds<FloatData3ds>(parent, tag);
    if (record != nullptr) record->value = value;
    return record != nullptr;
}

bool AddColourBytes(Chunk3ds* parent, uint32_t tag, const float (&colour)[3]) {
    auto* record = AddChildRecord3ds<ByteTripleData3ds>(parent, tag);
    if (record == nullptr) return false;
    for (int i = 0; i < 3; ++i) record->value[i] = TruncateInto<uint8_t>(colour[i] * 255.0f);
    return true;
}

// A container holding one CHUNK_PERCENT.
bool AddAmount(Chunk3ds* parent, uint32_t tag, int16_t percent) {
    Chunk3ds* container = AddChildChunk3ds(parent, tag);
    return container != nullptr && AddShort(container, CHUNK_PERCENT, percent);
}

// A container holding the colour twice, as CHUNK_RGB24 and CHUNK_RGB24_ALT.
bool AddColour(Chunk3ds* parent, uint32_t tag, const float (&colour)[3]) {
    Chunk3ds* container = AddChildChunk3ds(parent, tag);
    return container != nullptr && AddColourBytes(container, CHUNK_RGB24, colour) &&
           AddColourBytes(container, CHUNK_RGB24_ALT, colour);
}

uint16_t OptionsWord(const MapRecord3ds& map) {
    uint16_t options = 0;
    if (map.tiling == 2) options |= kOptionTileBoth;
    if (map.tiling == 3) options |= kOptionTile;
    if (map.option100 != 0) options |= kOption100;
    if (map.option20 == 1) options |= kOption20;
    if (map.option02 != 0) options |= kOption02;
    if (map.option08 != 0) options |= kOption08;
    if (map.tintMode >= 1 && map.tintMode <= 4) options |= kTintOptions[map.tintMode];
    return options;
}

bool AddMapPlacement(Chunk3ds* parent, const MapRecord3ds& map) {
    if ((map.uScale != 1.0f || map.vScale != 1.0f) &&
        !(AddFloat(parent, CHUNK_MAP_VALUE_A354, map.uScale) && AddFloat(parent, CHUNK_MAP_VALUE_A356, map.vScale))) {
        return false;
    }
    if ((map.uOffset != 0.0f || map.vOffset != 0.0f) &&
        !(AddFloat(parent, CHUNK_MAP_VALUE_A358, map.uOffset) && AddFloat(parent, CHUNK_MAP_VALUE_A35A, map.vOffset))) {
        return false;
    }
    if (map.rotation != 0.0f && !AddFloat(parent, CHUNK_MAP_VALUE_A35C, map.rotation)) return false;
    return map.blur == 0.0f || AddFloat(parent, CHUNK_MAP_VALUE_A353, map.blur);
}

bool AddMapTints(Chunk3ds* parent, const MapRecord3ds& map) {
    if (map.tintMode == 2 || map.tintMode == 3) {
        return AddColourBytes(parent, CHUNK_MAP_TINT_A360, map.tint1) &&
               AddColourBytes(parent, CHUNK_MAP_TINT_A362, map.tint2);
    }
    if (map.tintMode == 4) {
        return AddColourBytes(parent, CHUNK_MAP_TINT_A364, map.tintR) &&
               AddColourBytes(parent, CHUNK_MAP_TINT_A366, map.tintG) &&
               AddColourBytes(parent, CHUNK_MAP_TINT_A368, map.tintB);
    }
    return true;
}

bool AddMapChunks(Chunk3ds* parent, const MapRecord3ds& map) {
    if (map.fileName[0] == '\0') return true;
    return AddShort(parent, CHUNK_PERCENT, RoundedPercent(map.strength)) &&
           AddNameChunk3ds(parent, CHUNK_MAP_FILE_NAME, map.fileName, kMapFileNameMax3ds) &&
           AddShort(parent, CHUNK_MAP_OPTIONS, static_cast<int16_t>(OptionsWord(map))) &&
           AddMapPlacement(parent, map) && AddMapTints(parent, map);
}

bool AddSlotData(Chunk3ds* material, uint32_t tag, const MapRecord3ds& map) {
    if (map.data == nullptr || map.dataSize == 0) return true;
    auto* record = AddChildRecord3ds<RawData3ds>(material, tag);
    if (record == nullptr || !CopyBlock3ds(map.data, map.dataSize, &record->bytes)) return false;
    record->size = map.dataSize;
    return true;
}

bool AddSlot(Chunk3ds* material, int slot, const MapRecord3ds& map) {
    if (map.fileName[0] == '\0') return true;
    Chunk3ds* mapChunk = AddChildChunk3ds(material, kSlots[slot - 1].map);
    if (mapChunk == nullptr || !AddMapChunks(mapChunk, map)) return false;
    if (slot == kSlotWithAmount && !AddWord(mapChunk, CHUNK_MAP_AMOUNT, static_cast<uint16_t>(Percent(map.strength)))) {
        return false;
    }
    return AddSlotData(material, kSlots[slot - 1].data, map);
}

// Slot 15 holds only an amount and a file name, and is stored whenever the
// cube setup is on, even without a file name.
bool AddSpecialSlot(Chunk3ds* material, const MaterialRecord3ds& m) {
    const MapRecord3ds& map = *MaterialMapSlot3ds(&m, kSpecialSlot);
    if (map.fileName[0] == '\0' && m.flagA310 == 0) return true;
    Chunk3ds* mapChunk = AddChildChunk3ds(material, kSlots[kSpecialSlot - 1].map);
    return mapChunk != nullptr && AddShort(mapChunk, CHUNK_PERCENT, Percent(map.strength)) &&
           AddNameChunk3ds(mapChunk, CHUNK_MAP_FILE_NAME, map.fileName, kMapFileNameMax3ds);
}

bool AddCubeSetup(Chunk3ds* material, const MaterialRecord3ds& m) {
    if (m.flagA310 == 0) return true;
    auto* setup = AddChildRecord3ds<MapCubeSetupData3ds>(material, CHUNK_MAP_CUBE_SETUP);
    if (setup == nullptr) return false;
    setup->options = m.optionA310a != 0 ? kCubeOptionsA : kCubeOptions;
    if (m.optionA310b != 0) setup->options |= kCubeOptionB;
    setup->valueA = static_cast<uint32_t>(m.valueA310a);
    setup->valueB = static_cast<uint32_t>(m.valueA310b);
    return true;
}

bool AddSurface(Chunk3ds* material, const MaterialRecord3ds& m) {
    if (!(AddNameChunk3ds(material, CHUNK_MATERIAL_NAME, m.name, kMaterialNameMax3ds) &&
          AddColour(material, CHUNK_AMBIENT_COLOUR, m.ambient) &&
          AddColour(material, CHUNK_DIFFUSE_COLOUR, m.diffuse) &&
          AddColour(material, CHUNK_SPECULAR_COLOUR, m.specular) &&
          AddAmount(material, CHUNK_MATERIAL_AMOUNT_A040, Percent(m.shininess)) &&
          AddAmount(material, CHUNK_MATERIAL_AMOUNT_A041, Percent(m.shininessStrength)) &&
          AddAmount(material, CHUNK_MATERIAL_AMOUNT_A050, Percent(m.transparency)) &&
          AddAmount(material, CHUNK_MATERIAL_AMOUNT_A052, FalloffPercent(m.transparencyFalloff)))) {
        return false;
    }
    if (m.transparencyFalloff < 0.0f && !AddFlag(material, CHUNK_MATERIAL_FLAG_A08A)) return false;
    return AddAmount(material, CHUNK_MATERIAL_AMOUNT_A053, Percent(m.reflectionBlur)) &&
           AddWord(material, CHUNK_MATERIAL_SHADING, static_cast<uint16_t>(m.shading)) &&
           AddAmount(material, CHUNK_MATERIAL_AMOUNT_A084, Percent(m.selfIllumination));
}

bool AddFlags(Chunk3ds* material, const MaterialRecord3ds& m) {
    if (m.flagA081 != 0 && !AddFlag(material, CHUNK_MATERIAL_FLAG_A081)) return false;
    if (!AddFloat(material, CHUNK_MATERIAL_WIRE_SIZE, m.valueA087)) return false;
    const struct {
        uint8_t set;
        uint32_t tag;
    } flags[] = {{m.flagA250, CHUNK_MATERIAL_FLAG_A250}, {m.flagA240, CHUNK_MATERIAL_FLAG_A240},
                 {m.flagA080, CHUNK_MATERIAL_FLAG_A080}, {m.flagA083, CHUNK_MATERIAL_FLAG_A083},
                 {m.flagA085, CHUNK_MATERIAL_FLAG_A085}, {m.flagA08E, CHUNK_MATERIAL_FLAG_A08E},
                 {m.flagA088, CHUNK_MATERIAL_FLAG_A088}, {m.flagA08C, CHUNK_MATERIAL_FLAG_A08C}};
    for (const auto& flag : flags) {
        if (flag.set != 0 && !AddFlag(material, flag.tag)) return false;
    }
    return true;
}

bool AddMaps(Chunk3ds* material, const MaterialRecord3ds& m) {
    for (int slot = 1; slot < kSpecialSlot; ++slot) {
        if (!AddSlot(material, slot, *MaterialMapSlot3ds(&m, slot))) return false;
    }
    return AddSpecialSlot(material, m) &&
           AddSlot(material, kMapSlotCount3ds, *MaterialMapSlot3ds(&m, kMapSlotCount3ds)) && AddCubeSetup(material, m);
}

bool IsMaterialDatabase(const Database3ds* db) {
    return HasTopChunkOf3ds(db, {CHUNK_MESH_FILE, CHUNK_PROJECT_FILE, CHUNK_MATERIAL_LIBRARY});
}

// The material chunk for the record: the one of the same name emptied in
// place, or a new one under the scene (or the library's top chunk).
Chunk3ds* MaterialChunkFor(Database3ds* db, const char* name, OwnedChunk3ds* keptExtra) {
    Chunk3ds* material = nullptr;
    LookUpMaterial3ds(db, name, &material);
    if (ErrorPending3ds()) return nullptr;
    if (material != nullptr) {
        if (!KeepExtraData3ds(material, keptExtra, NO_TOOLKIT_ERRORS)) return nullptr;
        ResetChunk3ds(material);
        material->tag = CHUNK_MATERIAL;
        return material;
    }
    Chunk3ds* parent = db->top->tag == CHUNK_MATERIAL_LIBRARY ? db->top : FindOrAddScene3ds(db->top);
    return parent != nullptr ? AddChildChunk3ds(parent, CHUNK_MATERIAL) : nullptr;
}

}  // namespace

void StoreMap3ds(Chunk3ds* parent, const MapRecord3ds* map) {
    if (parent == nullptr || map == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    AddMapChunks(parent, *map);
}

void StoreMaterial3ds(Database3ds* db, const MaterialRecord3ds* material) {
    if (db == nullptr || material == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    if (!IsMaterialDatabase(db)) return;
    char name[kMaterialNameMax3ds + 1];
    CopyBoundedName3ds(name, material->name, kMaterialNameMax3ds);
    OwnedChunk3ds keptExtra;
    Chunk3ds* chunk = MaterialChunkFor(db, name, &keptExtra);
    if (chunk == nullptr) return;
    MarkMaterialsChanged3ds(db);
    if (!AddSurface(chunk, *material) || !AddFlags(chunk, *material) || !AddMaps(chunk, *material)) {
        return;
    }
    if (keptExtra) InsertChild3ds(chunk, keptExtra.release());
}

void LookUpMaterial3ds(Database3ds* db, const char* name, Chunk3ds** material) {
    if (db == nullptr || name == nullptr || material == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    *material = nullptr;
    if (!IsMaterialDatabase(db)) return;
    RebuildMaterialIndex3ds(db);
    if (ErrorPending3ds()) return;
    *material = FindNamedChunk3ds(db->materialIndex, name);
}
