#include <cstdio>

#include "toolkit3ds/tds/commands.h"
#include "toolkit3ds/toolkit3ds.h"

namespace {

// Chunks whose record starts with a name worth showing.
const char* NameOf(Chunk3ds* chunk) {
    switch (chunk->tag) {
        case CHUNK_OBJECT:
        case CHUNK_MATERIAL_NAME:
        case CHUNK_MAP_FILE_NAME:
        case CHUNK_NODE_INSTANCE:
        case CHUNK_FACE_MATERIAL:
        case CHUNK_NODE_HEADER: break;
        default: return nullptr;
    }
    // Each of these records holds its name as the first field.
    const auto* record = static_cast<const StringData3ds*>(ReadChunkData3ds(chunk));
    return record != nullptr ? record->text : nullptr;
}

bool PrintChunk(Chunk3ds* chunk, int depth) {
    if (chunk->tag == CHUNK_PARENT_NAME) {
        return true;  // made in memory, not part of the file
    }
    const char* tagName = ChunkTagName3ds(chunk->tag);
    std::printf("%10u  %*s%04X %s  %u", chunk->position, depth * 2, "", chunk->tag, tagName != nullptr ? tagName : "?",
                chunk->length);
    if (const char* name = NameOf(chunk)) {
        std::printf("  \"%s\"", name);
    }
    std::printf("\n");
    DropReloadableData3ds(chunk);
    return !ErrorPending3ds();
}

}  // namespace

int DumpTree(const char* path) {
    Database3ds* database = ReadInput(path);
    if (database != nullptr) {
        // What was read before an error is shown too.
        const bool failed = ErrorPending3ds();
        WalkChunks3ds(database->top,
                      [failed](Chunk3ds* chunk, int depth) { return PrintChunk(chunk, depth) || failed; });
    }
    const int status = ErrorPending3ds() ? 1 : 0;
    ReleaseDatabase3ds(&database);
    return status;
}
