// The name indexes of a database: named objects and materials, in the
// order of the file, rebuilt on demand after a change.
#include <cstdlib>
#include <new>

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/database3ds.h"
#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/strings3ds.h"

namespace {

// The chunk whose record's first field is the name of `named`.
using NameHolder = Chunk3ds* (*)(Chunk3ds* named);

Chunk3ds* Itself(Chunk3ds* named) { return named; }

Chunk3ds* MaterialNameOf(Chunk3ds* material) {
    Chunk3ds* name = nullptr;
    FindChunk3ds(material, CHUNK_MATERIAL_NAME, &name);
    return name;
}

std::uint32_t CountSiblings(Chunk3ds* first, std::uint32_t tag) {
    std::uint32_t count = 0;
    for (Chunk3ds* chunk = first; chunk != nullptr; FindNextChunk3ds(chunk->next, tag, &chunk)) {
        ++count;
    }
    return count;
}

// Names of the chunks of `tag` from the first below `section` on.
void Rebuild(NameIndex3ds** index, Chunk3ds* section, std::uint32_t tag, NameHolder holder) {
    ReleaseNameIndex3ds(index);
    Chunk3ds* first = nullptr;
    if (section != nullptr) {
        FindChunk3ds(section, tag, &first);
    }
    NewNameIndex3ds(index, CountSiblings(first, tag));
    std::uint32_t i = 0;
    for (Chunk3ds* chunk = first; chunk != nullptr && !ErrorPending3ds(); FindNextChunk3ds(chunk->next, tag, &chunk)) {
        Chunk3ds* named = holder(chunk);
        const auto* record = named != nullptr ? static_cast<StringData3ds*>(ReadChunkData3ds(named)) : nullptr;
        if (ErrorPending3ds()) {
            return;
        }
        NameEntry3ds& entry = (*index)->entries[i++];
        entry.chunk = chunk;
        entry.name = DuplicateString3ds(record != nullptr && record->text != nullptr ? record->text : "");
        if (entry.name == nullptr) {
            PushError3ds(ERR_NO_MEM);
        }
    }
}

Chunk3ds* FindSection(Database3ds* database, std::uint32_t tag) {
    Chunk3ds* section = nullptr;
    FindChunk3ds(database->top, tag, &section);
    return section;
}

// True, and the mark cleared, when the index it guards must be rebuilt.
bool TakeChangeMark(Database3ds* database, std::uint8_t Database3ds::*changed) {
    if (database == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return false;
    }
    if (database->*changed == 0) {
        return false;
    }
    database->*changed = 0;
    return true;
}

}  // namespace

void NewNameIndex3ds(NameIndex3ds** index, std::uint32_t count) {
    if (index == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    *index = new (std::nothrow) NameIndex3ds{};
    if (*index == nullptr) {
        PushError3ds(ERR_NO_MEM);
        return;
    }
    if (count > 0) {
        (*index)->entries = static_cast<NameEntry3ds*>(std::calloc(count, sizeof(NameEntry3ds)));
        if ((*index)->entries == nullptr) {
            PushError3ds(ERR_NO_MEM);
            return;
        }
        (*index)->count = count;
    }
}

void ReleaseNameIndex3ds(NameIndex3ds** index) {
    if (index == nullptr || *index == nullptr) {
        return;
    }
    for (std::uint32_t i = 0; i < (*index)->count; ++i) {
        std::free((*index)->entries[i].name);
    }
    std::free((*index)->entries);
    delete *index;
    *index = nullptr;
}

void RebuildObjectIndex3ds(Database3ds* database) {
    if (!TakeChangeMark(database, &Database3ds::objectsChanged)) {
        return;
    }
    Rebuild(&database->objectIndex, FindSection(database, CHUNK_SCENE), CHUNK_OBJECT, Itself);
}

void RebuildMaterialIndex3ds(Database3ds* database) {
    if (!TakeChangeMark(database, &Database3ds::materialsChanged)) {
        return;
    }
    Chunk3ds* section = FindSection(database, CHUNK_SCENE);
    if (section == nullptr) {
        section = FindSection(database, CHUNK_MATERIAL_LIBRARY);
    }
    Rebuild(&database->materialIndex, section, CHUNK_MATERIAL, MaterialNameOf);
}
