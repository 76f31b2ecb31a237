#include "toolkit3ds/chunkwalk3ds.h"

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/error3ds.h"

void ReadEveryChunkData3ds(Chunk3ds* top) {
    WalkChunks3ds(top, [](Chunk3ds* chunk, int) {
        ReadChunkData3ds(chunk);
        DropReloadableData3ds(chunk);
        return !ErrorPending3ds();
    });
}
