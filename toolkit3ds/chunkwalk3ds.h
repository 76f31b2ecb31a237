// Walking a chunk tree in file order.
#pragma once

#include "toolkit3ds/chunk3ds.h"

// Visits the chunk, its subtree and its following siblings depth-first;
// `visit(chunk, depth)` returns false to stop the walk.
template <class Visit>
bool WalkChunks3ds(Chunk3ds* chunk, Visit&& visit, int depth = 0) {
    for (; chunk != nullptr; chunk = chunk->next) {
        if (!visit(chunk, depth) || !WalkChunks3ds(chunk->child, visit, depth + 1)) {
            return false;
        }
    }
    return true;
}

// Reads the data of every chunk of the tree, dropping each again when its
// file can give it back; stops at the first error. Shows whether a whole
// file is readable without holding it in memory.
void ReadEveryChunkData3ds(Chunk3ds* top);
