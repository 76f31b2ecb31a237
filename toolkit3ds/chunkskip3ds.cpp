// Where a chunk's sub-chunks start: past its own data, by tag.
#include <array>

#include "chunkdata3ds.h"
#include "primitives3ds.h"
#include "strings3ds.h"
#include "tagcatalogue3ds.h"

namespace {

constexpr std::uint32_t kKeyframeNameLimit = 513;
constexpr std::uint32_t kNodeNameLimit = 11;
constexpr std::int64_t kNodeHeaderWords = 6;

void SkipString(std::uint32_t limit) {
    std::array<char, kKeyframeNameLimit> scratch;
    ReadString3ds(scratch.data(), limit);
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
        case SkipRule3ds::Nothing:
            break;
        case SkipRule3ds::Bytes:
            Skip(entry.skipAmount);
            break;
        case SkipRule3ds::String:
            SkipString(entry.skipAmount);
            break;
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
                SkipString(kKeyframeNameLimit);
            }
            if (!ErrorPending3ds()) {
                ReadLong3ds();
            }
            break;
        case SkipRule3ds::NodeHeader:
            SkipString(kNodeNameLimit);
            if (!ErrorPending3ds()) {
                Skip(kNodeHeaderWords);
            }
            break;
        case SkipRule3ds::Whole:
            SeekFile3ds(static_cast<std::int64_t>(chunk->position) + chunk->length);
            break;
    }
}
