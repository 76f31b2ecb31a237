#include "toolkit3ds/recordchunks3ds.h"

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/database3ds.h"
#include "toolkit3ds/recordnames3ds.h"

namespace {

// Links a new chunk under parent, or releases it when anything failed.
Chunk3ds* Link(Chunk3ds* parent, Chunk3ds* chunk, bool made, ErrorCode3ds onFailure) {
    if (made && !ErrorPending3ds()) {
        InsertChild3ds(parent, chunk);
        if (!ErrorPending3ds()) return chunk;
    }
    ReleaseChunk3ds(&chunk);
    PushError3ds(onFailure);
    return nullptr;
}

}  // namespace

bool HasTopChunkOf3ds(const Database3ds* db, std::initializer_list<std::uint32_t> tags) {
    if (db->top == nullptr) {
        PushError3ds(ERR_INVALID_DATABASE);
        return false;
    }
    for (std::uint32_t tag : tags) {
        if (db->top->tag == tag) return true;
    }
    PushError3ds(ERR_WRONG_DATABASE);
    return false;
}

Chunk3ds* FindOrAddScene3ds(Chunk3ds* top, ErrorCode3ds onFailure) {
    Chunk3ds* scene = nullptr;
    FindChunk3ds(top, CHUNK_SCENE, &scene);
    if (ErrorPending3ds()) {
        PushError3ds(onFailure);
        return nullptr;
    }
    return scene != nullptr ? scene : AddChildChunk3ds(top, CHUNK_SCENE, onFailure);
}

Chunk3ds* AddChildChunk3ds(Chunk3ds* parent, std::uint32_t tag, ErrorCode3ds onFailure) {
    Chunk3ds* chunk = nullptr;
    NewChunkOfType3ds(&chunk, tag);
    return Link(parent, chunk, chunk != nullptr, onFailure);
}

void* AddChildRecordChunk3ds(Chunk3ds* parent, std::uint32_t tag, Chunk3ds** added, ErrorCode3ds onFailure) {
    Chunk3ds* chunk = nullptr;
    void* record = NewChunkWithData3ds(&chunk, tag);
    chunk = Link(parent, chunk, record != nullptr, onFailure);
    if (chunk == nullptr) return nullptr;
    if (added != nullptr) *added = chunk;
    return record;
}

bool AddNameChunk3ds(Chunk3ds* parent, std::uint32_t tag, const char* field, std::size_t max, ErrorCode3ds onFailure) {
    auto* record = AddChildRecord3ds<StringData3ds>(parent, tag, nullptr, onFailure);
    if (record == nullptr) return false;
    record->text = DuplicateBoundedName3ds(field, max);
    return record->text != nullptr;
}

bool KeepExtraData3ds(Chunk3ds* owner, OwnedChunk3ds* kept, ErrorCode3ds onFailure) {
    Chunk3ds* extra = nullptr;
    FindChunk3ds(owner, CHUNK_EXTRA_DATA, &extra);
    if (extra == nullptr) return true;
    Chunk3ds* copy = nullptr;
    CopyChunk3ds(extra, &copy);
    kept->reset(copy);
    if (!ErrorPending3ds()) return true;
    PushError3ds(onFailure);
    return false;
}

Chunk3ds* FindNamedChunk3ds(const NameIndex3ds* index, const char* name) {
    if (index == nullptr) return nullptr;
    for (std::uint32_t i = 0; i < index->count; ++i) {
        const NameEntry3ds& entry = index->entries[i];
        if (entry.name != nullptr && std::strcmp(entry.name, name) == 0) return entry.chunk;
    }
    return nullptr;
}
