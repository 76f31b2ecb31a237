// The in-memory chunk tree: nodes and the operations that make, find,
// link, copy and release them.
#pragma once

#include <cstdint>

#include "toolkit3ds/file3ds.h"

struct Chunk3ds {
    std::uint32_t tag = 0;       // 0 = cleared node
    std::uint32_t length = 0;    // as read, or as last written; 0 when made in memory
    std::uint32_t position = 0;  // offset of the header in the source file
    void* data = nullptr;        // the tag's data record (chunkdata3ds.h), or null
    Chunk3ds* next = nullptr;    // owned: the following siblings
    Chunk3ds* child = nullptr;   // owned: the first child
    std::uint8_t sourceFile = kNoFile3ds;
    std::uint8_t outputFile = kNoFile3ds;
    // 1 when the chunk's bytes do not fit its tag's fields (a short fog
    // chunk, a name without its zero): it is kept as raw bytes, as a tag
    // the catalogue does not know would be, and hands out no record.
    std::uint8_t keptWhole = 0;
};

void NewChunk3ds(Chunk3ds** out);
void NewChunkOfType3ds(Chunk3ds** out, std::uint32_t tag);
// A new node with a new (zeroed) data record for the tag; gives the record.
void* NewChunkWithData3ds(Chunk3ds** out, std::uint32_t tag);

// Releases the node, its data, its children and every sibling after it,
// and sets the pointer to null. Unlink a node from the middle of a list first.
void ReleaseChunk3ds(Chunk3ds** chunk);
// Releases children and data; tag, length and position become 0.
void ResetChunk3ds(Chunk3ds* chunk);

// Depth-first, the node itself first.
void FindChunk3ds(Chunk3ds* chunk, std::uint32_t tag, Chunk3ds** out);
// The sibling chain from the node itself on, without descending.
void FindNextChunk3ds(Chunk3ds* chunk, std::uint32_t tag, Chunk3ds** out);

void AppendChild3ds(Chunk3ds* parent, Chunk3ds* chunk);
// Before the first child of lower order weight; equal weights keep their order.
void InsertChild3ds(Chunk3ds* parent, Chunk3ds* chunk);
// Clears and returns the parent's child of that tag, or inserts a new one.
void ReplaceOrAddChild3ds(Chunk3ds* parent, std::uint32_t tag, Chunk3ds** out);
// Deep copy of a node and its subtree. A record the source can read again
// from its open file moves to the copy instead of being copied.
void CopyChunk3ds(Chunk3ds* source, Chunk3ds** out);
// Frees a record that can be read again from the chunk's open source file.
void DropReloadableData3ds(Chunk3ds* chunk);
