// Chunk building shared by the record store operations. Every helper that
// makes chunks gives null (or false) when making one failed; the error of the
// failed step is recorded, followed by onFailure unless that is 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>

#include "toolkit3ds/chunk3ds.h"
#include "toolkit3ds/error3ds.h"

struct Database3ds;
struct NameIndex3ds;

struct ChunkReleaser3ds {
    void operator()(Chunk3ds* chunk) const { ReleaseChunk3ds(&chunk); }
};
// A chunk tree not (yet) linked into a database.
using OwnedChunk3ds = std::unique_ptr<Chunk3ds, ChunkReleaser3ds>;

// True when the database's top chunk has one of the tags; else records
// ERR_INVALID_DATABASE (no top chunk) or ERR_WRONG_DATABASE.
bool HasTopChunkOf3ds(const Database3ds* db, std::initializer_list<std::uint32_t> tags);

// CHUNK_SCENE in the top chunk's subtree, or a new one inserted under the top
// chunk.
Chunk3ds* FindOrAddScene3ds(Chunk3ds* top, ErrorCode3ds onFailure = NO_TOOLKIT_ERRORS);

// A new chunk of the tag inserted under parent by its order weight.
Chunk3ds* AddChildChunk3ds(Chunk3ds* parent, std::uint32_t tag, ErrorCode3ds onFailure = NO_TOOLKIT_ERRORS);

// A new chunk of the tag with a fresh zeroed data record, inserted under
// parent; gives the record.
void* AddChildRecordChunk3ds(Chunk3ds* parent, std::uint32_t tag, Chunk3ds** added, ErrorCode3ds onFailure);

template <typename Record>
Record* AddChildRecord3ds(Chunk3ds* parent, std::uint32_t tag, Chunk3ds** added = nullptr,
                          ErrorCode3ds onFailure = NO_TOOLKIT_ERRORS) {
    return static_cast<Record*>(AddChildRecordChunk3ds(parent, tag, added, onFailure));
}

// A string chunk holding at most max characters of field.
bool AddNameChunk3ds(Chunk3ds* parent, std::uint32_t tag, const char* field, std::size_t max,
                     ErrorCode3ds onFailure = NO_TOOLKIT_ERRORS);

// A std::malloc copy of count items into *copy (null for none); false, with
// ERR_NO_MEM recorded, when memory runs out.
template <typename T>
bool CopyBlock3ds(const T* items, std::size_t count, T** copy) {
    *copy = nullptr;
    if (count == 0 || items == nullptr) return true;
    *copy = static_cast<T*>(std::malloc(count * sizeof(T)));
    if (*copy == nullptr) {
        PushError3ds(ERR_NO_MEM);
        return false;
    }
    std::memcpy(*copy, items, count * sizeof(T));
    return true;
}

// A deep copy of the CHUNK_EXTRA_DATA in owner's subtree, if there is one, so
// that it survives when owner is emptied for new content.
bool KeepExtraData3ds(Chunk3ds* owner, OwnedChunk3ds* kept, ErrorCode3ds onFailure);

// The chunk of the first index entry whose name equals name exactly, or null.
Chunk3ds* FindNamedChunk3ds(const NameIndex3ds* index, const char* name);
