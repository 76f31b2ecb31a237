// Material records: a material with its sixteen texture map slots, and the
// operations that prepare, store, look up and discard it. A material becomes
// one CHUNK_MATERIAL subtree; a map slot becomes a map chunk with sub-chunks.
//
// Failures are reported through the toolkit's error list only: an operation
// that fails pushes an error code and returns at once. The store operations
// stop at the first failed step; what was inserted before stays in the
// database.
//
// Ownership: a material belongs to whoever prepared it and is freed with
// DiscardMaterial3ds, which also frees the data block of every map slot. A
// slot's data block is a std::malloc block of dataSize bytes.
//
// Numbers become whole percentages and colour bytes by truncation toward zero;
// values beyond what the target holds are clamped to its range (a colour
// component above 1.0 gives 255, a NaN gives 0).
//
// Names: a material name longer than kMaterialNameMax3ds characters and a map
// file name longer than kMapFileNameMax3ds are truncated when stored (the set
// helpers below truncate too), never refused, and a field without terminator
// is never read past its bound.
//
// Replacing a material (storing one under a name that exists) keeps the old
// material's CHUNK_EXTRA_DATA: it is moved under the new content.
#pragma once

#include <cstddef>
#include <cstdint>

struct Chunk3ds;
struct Database3ds;

// Longest names, in characters, that a material record stores.
constexpr size_t kMaterialNameMax3ds = 16;
constexpr size_t kMapFileNameMax3ds = 15;

constexpr int kMapSlotCount3ds = 16;

struct MapRecord3ds {
    char fileName[16];  // empty: the slot is empty and nothing of it is stored
    float strength;     // 0..1
    int32_t tiling;     // 2 and 3 set bits of the options word
    uint8_t option100;
    int32_t option20;  // exactly 1 sets its bit
    float blur;
    uint8_t option02;
    uint8_t option08;
    float uScale;
    float vScale;
    float uOffset;
    float vOffset;
    float rotation;
    int32_t tintMode;  // 1 to 4; 2 and 3 store tint1, tint2; 4 tintR, tintG, tintB
    float tint1[3];
    float tint2[3];
    float tintR[3];
    float tintG[3];
    float tintB[3];
    uint32_t dataSize;
    uint8_t* data;  // stored by StoreMaterial3ds under the slot's data chunk
};

struct MaterialRecord3ds {
    char name[20];
    float ambient[3];
    float diffuse[3];
    float specular[3];
    float shininess;
    float shininessStrength;
    float reflectionBlur;
    float transparency;
    float transparencyFalloff;  // negative also stores flag chunk 0xA08A
    float selfIllumination;
    float valueA087;
    int32_t shading;
    uint8_t flagA250;
    uint8_t flagA240;
    uint8_t flagA081;
    uint8_t flagA080;
    uint8_t flagA083;
    uint8_t flagA085;
    uint8_t flagA08E;
    uint8_t flagA088;
    uint8_t flagA08C;
    MapRecord3ds maps[15];  // slots 1 to 15
    uint8_t flagA310;
    uint8_t optionA310a;
    uint8_t optionA310b;
    int32_t valueA310a;
    int32_t valueA310b;
    MapRecord3ds map16;  // slot 16
};

// Map slot n (1 to 16) of a material.
MapRecord3ds* MaterialMapSlot3ds(MaterialRecord3ds* material, int slot);
const MapRecord3ds* MaterialMapSlot3ds(const MaterialRecord3ds* material, int slot);

// Resets a map slot to its defaults; it does not free a data block.
void PrepareMap3ds(MapRecord3ds* map);

// Adds the map's sub-chunks under parent; an empty fileName adds nothing.
void StoreMap3ds(Chunk3ds* parent, const MapRecord3ds* map);

// Allocates the record when *material is null (ERR_INVALID_ARG for a null
// pointer, ERR_NO_MEM when memory runs out), else reuses it and frees its map
// data blocks; then resets it and its 16 map slots.
void PrepareMaterial3ds(MaterialRecord3ds** material);

// Frees the data blocks of all 16 slots and the record, and sets *material to
// null. A null pointer does nothing.
void DiscardMaterial3ds(MaterialRecord3ds** material);

// Copies text into the material's name, truncated to kMaterialNameMax3ds.
void SetMaterialName3ds(MaterialRecord3ds* material, const char* name);

// Copies text into the map's fileName, truncated to kMapFileNameMax3ds.
void SetMapFileName3ds(MapRecord3ds* map, const char* fileName);

// Puts the material into the database, replacing one of the same name in
// place.
void StoreMaterial3ds(Database3ds* db, const MaterialRecord3ds* material);

// The CHUNK_MATERIAL of that exact name, or null.
void LookUpMaterial3ds(Database3ds* db, const char* name, Chunk3ds** material);

// The file name of the texture map (slot 1) of a material, as the file holds
// it (path and length included), into *fileName: a std::malloc block the
// caller frees, or null when there is no such material or it has no texture
// map. Names compare cut to kMaterialNameMax3ds characters, so that the name
// a face-material group holds finds its material however long the file's
// name is; the first material in file order wins.
void FetchTextureFileName3ds(Database3ds* db, const char* materialName, char** fileName);
