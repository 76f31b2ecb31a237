#include "toolkit3ds/chunk3ds.h"

#include <new>

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/error3ds.h"

namespace {

Chunk3ds* Search(Chunk3ds* chunk, std::uint32_t tag) {
    if (chunk->tag == tag) {
        return chunk;
    }
    for (Chunk3ds* child = chunk->child; child != nullptr; child = child->next) {
        if (Chunk3ds* found = Search(child, tag)) {
            return found;
        }
    }
    return nullptr;
}

// A record is moved rather than copied only when its chunk can read it
// again; a chunk whose file is closed would lose it.
void GiveDataToCopy(Chunk3ds* source, Chunk3ds* copy) {
    if (source->data == nullptr) {
        return;
    }
    if (FileIsOpen3ds(source->sourceFile)) {
        copy->data = source->data;
        source->data = nullptr;
    } else {
        CopyChunkData3ds(source, copy);
    }
}

}  // namespace

void NewChunk3ds(Chunk3ds** out) {
    if (out == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    *out = new (std::nothrow) Chunk3ds{};
    if (*out == nullptr) {
        PushError3ds(ERR_NO_MEM);
    }
}

void NewChunkOfType3ds(Chunk3ds** out, std::uint32_t tag) {
    NewChunk3ds(out);
    if (ErrorPending3ds()) {
        return;
    }
    (*out)->tag = tag;
}

void* NewChunkWithData3ds(Chunk3ds** out, std::uint32_t tag) {
    NewChunkOfType3ds(out, tag);
    if (ErrorPending3ds()) {
        return nullptr;
    }
    return NewChunkData3ds(*out);
}

void ReleaseChunk3ds(Chunk3ds** chunk) {
    if (chunk == nullptr) {
        return;
    }
    Chunk3ds* node = *chunk;
    while (node != nullptr) {
        Chunk3ds* next = node->next;
        FreeChunkData3ds(node);
        ReleaseChunk3ds(&node->child);
        delete node;
        node = next;
    }
    *chunk = nullptr;
}

void ResetChunk3ds(Chunk3ds* chunk) {
    if (chunk == nullptr) {
        return;
    }
    ReleaseChunk3ds(&chunk->child);
    FreeChunkData3ds(chunk);
    chunk->tag = 0;
    chunk->length = 0;
    chunk->position = 0;
    chunk->sourceFile = kNoFile3ds;
    chunk->outputFile = kNoFile3ds;
    chunk->keptWhole = 0;
}

void FindChunk3ds(Chunk3ds* chunk, std::uint32_t tag, Chunk3ds** out) {
    if (out == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    *out = chunk != nullptr ? Search(chunk, tag) : nullptr;
}

void FindNextChunk3ds(Chunk3ds* chunk, std::uint32_t tag, Chunk3ds** out) {
    if (out == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    while (chunk != nullptr && chunk->tag != tag) {
        chunk = chunk->next;
    }
    *out = chunk;
}

void AppendChild3ds(Chunk3ds* parent, Chunk3ds* chunk) {
    if (parent == nullptr || chunk == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    Chunk3ds** link = &parent->child;
    while (*link != nullptr) {
        link = &(*link)->next;
    }
    *link = chunk;
}

void InsertChild3ds(Chunk3ds* parent, Chunk3ds* chunk) {
    if (parent == nullptr || chunk == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    const int weight = ChunkOrderWeight3ds(chunk->tag);
    Chunk3ds** link = &parent->child;
    while (*link != nullptr && ChunkOrderWeight3ds((*link)->tag) >= weight) {
        link = &(*link)->next;
    }
    chunk->next = *link;
    *link = chunk;
}

void ReplaceOrAddChild3ds(Chunk3ds* parent, std::uint32_t tag, Chunk3ds** out) {
    if (parent == nullptr || out == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    FindNextChunk3ds(parent->child, tag, out);
    if (*out != nullptr) {
        ResetChunk3ds(*out);
        (*out)->tag = tag;
        return;
    }
    NewChunkOfType3ds(out, tag);
    if (ErrorPending3ds()) {
        return;
    }
    InsertChild3ds(parent, *out);
}

void CopyChunk3ds(Chunk3ds* source, Chunk3ds** out) {
    if (source == nullptr || out == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    NewChunk3ds(out);
    if (ErrorPending3ds()) {
        return;
    }
    Chunk3ds* copy = *out;
    copy->tag = source->tag;
    copy->length = source->length;
    copy->position = source->position;
    copy->sourceFile = source->sourceFile;
    copy->outputFile = source->outputFile;
    copy->keptWhole = source->keptWhole;
    GiveDataToCopy(source, copy);
    Chunk3ds** link = &copy->child;
    for (Chunk3ds* child = source->child; child != nullptr && !ErrorPending3ds(); child = child->next) {
        CopyChunk3ds(child, link);
        if (*link != nullptr) {
            link = &(*link)->next;
        }
    }
}

void DropReloadableData3ds(Chunk3ds* chunk) {
    if (chunk != nullptr && chunk->data != nullptr && FileIsOpen3ds(chunk->sourceFile)) {
        FreeChunkData3ds(chunk);
    }
}
