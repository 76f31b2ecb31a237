// Where a chunk's sub-chunks start: past its own data, by tag.
#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/primitives3ds.h"
#include "toolkit3ds/recordops3ds.h"
#include "toolkit3ds/tagcatalogue3ds.h"

namespace {

constexpr std::int64_t kNodeHeaderWords = 6;

// Names may run up to the chunk's end; a name without its zero there is
// ERR_READING_FILE.
void SkipString(const Chunk3ds& chunk) {
    const std::int64_t left = ChunkBytesLeft3ds(chunk);
    for (std::int64_t i = 0; i < left; ++i) {
        if (ReadByte3ds() == 0 || ErrorPending3ds()) {
            return;
        }
    }
    PushError3ds(ERR_READING_FILE);
}

void Skip(std::int64_t bytes) { SeekFile3ds(FilePosition3ds() + bytes); }

}  // namespace

void SkipChunkData3ds(Chunk3ds* chunk) {
    if (chunk == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    const TagEntry3ds& entry = LookUpTag3ds(chunk->tag);
    switch (entry.skip) {
        case SkipRule3ds::Nothing: break;
        case SkipRule3ds::Bytes: Skip(entry.skipAmount); break;
        case SkipRule3ds::String: SkipString(*chunk); break;
        case SkipRule3ds::FaceList: {
            const std::uint16_t count = ReadWord3ds();
            if (!ErrorPending3ds()) {
                Skip(static_cast<std::int64_t>(count) * 8);
            }
            break;
        }
        case SkipRule3ds::KeyframeHeader:
            ReadWord3ds();
            if (!ErrorPending3ds()) {
                SkipString(*chunk);
            }
            if (!ErrorPending3ds()) {
                ReadLong3ds();
            }
            break;
        case SkipRule3ds::NodeHeader:
            SkipString(*chunk);
            if (!ErrorPending3ds()) {
                Skip(kNodeHeaderWords);
            }
            break;
        case SkipRule3ds::Whole: SeekFile3ds(static_cast<std::int64_t>(chunk->position) + chunk->length); break;
    }
}
