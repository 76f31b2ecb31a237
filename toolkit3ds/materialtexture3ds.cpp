// Finding the texture map file name of a material by the material's name.
#include <cstring>

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/database3ds.h"
#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/material3ds.h"
#include "toolkit3ds/recordnames3ds.h"
#include "toolkit3ds/strings3ds.h"

namespace {

bool SameCutName(const char* a, const char* b) {
    char left[kMaterialNameMax3ds + 1];
    char right[kMaterialNameMax3ds + 1];
    CopyBoundedName3ds(left, a, kMaterialNameMax3ds);
    CopyBoundedName3ds(right, b, kMaterialNameMax3ds);
    return std::strcmp(left, right) == 0;
}

Chunk3ds* MaterialNamed(Database3ds* db, const char* name) {
    RebuildMaterialIndex3ds(db);
    if (ErrorPending3ds() || db->materialIndex == nullptr) return nullptr;
    for (std::uint32_t i = 0; i < db->materialIndex->count; ++i) {
        const NameEntry3ds& entry = db->materialIndex->entries[i];
        if (entry.name != nullptr && SameCutName(entry.name, name)) return entry.chunk;
    }
    return nullptr;
}

const char* TextureFileNameOf(Chunk3ds* material) {
    Chunk3ds* map = nullptr;
    FindNextChunk3ds(material->child, CHUNK_MAP_SLOT_A200, &map);
    Chunk3ds* fileName = nullptr;
    if (map != nullptr) FindNextChunk3ds(map->child, CHUNK_MAP_FILE_NAME, &fileName);
    if (fileName == nullptr) return nullptr;
    const auto* record = static_cast<const StringData3ds*>(ReadChunkData3ds(fileName));
    return record != nullptr ? record->text : nullptr;
}

}  // namespace

void FetchTextureFileName3ds(Database3ds* db, const char* materialName, char** fileName) {
    if (db == nullptr || materialName == nullptr || fileName == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    *fileName = nullptr;
    Chunk3ds* material = MaterialNamed(db, materialName);
    const char* text = material != nullptr && !ErrorPending3ds() ? TextureFileNameOf(material) : nullptr;
    if (text == nullptr || ErrorPending3ds()) return;
    *fileName = DuplicateString3ds(text);
    if (*fileName == nullptr) PushError3ds(ERR_NO_MEM);
}
