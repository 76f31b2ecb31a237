#include "chunkwalk3ds.h"

#include "chunkdata3ds.h"
#include "error3ds.h"

void ReadEveryChunkData3ds(Chunk3ds* top) {
    WalkChunks3ds(top, [](Chunk3ds* chunk, int) {
        ReadChunkData3ds(chunk);
        DropReloadableData3ds(chunk);
        return !ErrorPending3ds();
    });
}
