// Writing a chunk tree to a file. Each chunk's length is known only once
// it is written, so it is patched in place when it differs.
#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/database3ds.h"
#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/primitives3ds.h"

namespace {

bool IsWritten(const Chunk3ds& chunk) { return chunk.tag != 0 && chunk.tag != CHUNK_PARENT_NAME; }

void WriteTree(Chunk3ds* chunk, std::uint8_t output) {
    if (!IsWritten(*chunk)) {
        return;
    }
    SelectFileByIndex3ds(output);
    chunk->outputFile = output;
    const std::int64_t start = FilePosition3ds();
    ReadChunkData3ds(chunk);
    if (ErrorPending3ds()) {
        return;
    }
    SelectFileByIndex3ds(output);
    SeekFile3ds(start);
    WriteChunkHeader3ds(chunk->tag, chunk->length);
    WriteChunkData3ds(chunk);
    if (ErrorPending3ds()) {
        return;
    }
    if (!RecordCoversChildren3ds(chunk)) {
        for (Chunk3ds* child = chunk->child; child != nullptr; child = child->next) {
            WriteTree(child, output);
            if (ErrorPending3ds()) {
                return;
            }
        }
    }
    SelectFileByIndex3ds(output);
    const std::int64_t end = FilePosition3ds();
    if (end - chunk->length != start) {
        PatchChunkLength3ds(start, end);
        chunk->length = static_cast<std::uint32_t>(end - start);
    }
    if (!ErrorPending3ds()) {
        DropReloadableData3ds(chunk);
    }
}

}  // namespace

void WriteChunkTree3ds(Chunk3ds* chunk, std::uint8_t outputFile) {
    if (chunk == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    WriteTree(chunk, outputFile);
}

void WriteDatabase3ds(File3ds* file, Database3ds* database) {
    if (file == nullptr || database == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    SetReleaseLevel3ds(database, 2);
    if (ErrorPending3ds()) {
        PushError3ds(ERR_WRITING_DATABASE);
        return;
    }
    if ((file->mode & FILE_MODE_WRITE3ds) == 0) {
        return;
    }
    AssignNodeParents3ds(database);
    if (!ErrorPending3ds()) {
        SetCurrentFile3ds(file);
        SeekFile3ds(0);
        if (database->top != nullptr) {
            database->top->outputFile = file->index;
        }
        WriteChunkTree3ds(database->top, file->index);
    }
    if (!ErrorPending3ds()) {
        SetCurrentFile3ds(file);
        FlushFile3ds();
    }
    if (ErrorPending3ds()) {
        PushError3ds(ERR_WRITING_DATABASE);
    }
}
