// Key tracks: a track header, then per key a header whose flag bits say
// which of five floats follow, then the key's value.
#include <cstdlib>

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/primitives3ds.h"
#include "toolkit3ds/recordops3ds.h"
#include "toolkit3ds/strings3ds.h"

namespace {

constexpr std::uint32_t kKeyNameLimit = 10;
constexpr int kKeyHeaderFloats = 5;

bool IsNameTrack(std::uint32_t tag) { return tag == CHUNK_TRACK_B026; }

// The least a key takes in the file: frame, flags and its value.
std::uint64_t SmallestKeyBytes(std::uint32_t tag) {
    return 6 + (IsNameTrack(tag) ? 1 : 4 * static_cast<std::uint64_t>(KeyValueFloats3ds(tag)));
}

void ReadKeyHeader(KeyHeader3ds& key) {
    key.frame = ReadDword3ds();
    key.flags = ReadWord3ds();
    for (int bit = 0; bit < kKeyHeaderFloats && !ErrorPending3ds(); ++bit) {
        if ((key.flags & (1U << bit)) != 0) {
            key.values[bit] = ReadFloat3ds();
        }
    }
}

void WriteKeyHeader(const KeyHeader3ds& key) {
    WriteDword3ds(key.frame);
    WriteWord3ds(key.flags);
    for (int bit = 0; bit < kKeyHeaderFloats; ++bit) {
        if ((key.flags & (1U << bit)) != 0) {
            WriteFloat3ds(key.values[bit]);
        }
    }
}

// Allocates the key arrays, zeroed; false when memory runs out.
bool MakeKeyArrays(KeyTrackData3ds& r, std::uint32_t tag, std::uint32_t count) {
    const int floats = KeyValueFloats3ds(tag);
    r.keys = static_cast<KeyHeader3ds*>(std::calloc(count, sizeof(KeyHeader3ds)));
    if (r.keys != nullptr && floats > 0) {
        r.values = static_cast<float*>(std::calloc(static_cast<std::size_t>(count) * floats, sizeof(float)));
    }
    if (r.keys != nullptr && IsNameTrack(tag)) {
        r.names = static_cast<KeyName3ds*>(std::calloc(count, sizeof(KeyName3ds)));
    }
    const bool made = r.keys != nullptr && (floats == 0 || r.values != nullptr) && (!IsNameTrack(tag) || r.names);
    if (!made) {
        PushError3ds(ERR_NO_MEM);
    }
    return made;
}

void ReadKeyTrack(const Chunk3ds& chunk, void* record, const TagEntry3ds&) {
    auto& r = *static_cast<KeyTrackData3ds*>(record);
    r.flags = ReadWord3ds();
    r.unknown1 = ReadDword3ds();
    r.unknown2 = ReadDword3ds();
    const std::uint32_t count = ReadDword3ds();
    if (ErrorPending3ds() || count == 0 || !ChunkHolds3ds(chunk, count * SmallestKeyBytes(chunk.tag)) ||
        !MakeKeyArrays(r, chunk.tag, count)) {
        return;
    }
    r.keyCount = count;
    const int floats = KeyValueFloats3ds(chunk.tag);
    for (std::uint32_t k = 0; k < count && !ErrorPending3ds(); ++k) {
        ReadKeyHeader(r.keys[k]);
        for (int f = 0; f < floats && !ErrorPending3ds(); ++f) {
            r.values[k * floats + f] = ReadFloat3ds();
        }
        if (r.names != nullptr && !ErrorPending3ds()) {
            ReadString3ds(r.names[k].text, kKeyNameLimit);
        }
    }
}

// The track's tag is not in the record; the value arrays say what it holds.
void WriteKeyTrack(const void* record, const TagEntry3ds& entry) {
    const auto& r = *static_cast<const KeyTrackData3ds*>(record);
    WriteWord3ds(r.flags);
    WriteDword3ds(r.unknown1);
    WriteDword3ds(r.unknown2);
    WriteDword3ds(r.keyCount);
    const int floats = KeyValueFloats3ds(entry.tag);
    const bool complete = r.keyCount == 0 || (r.keys != nullptr && (floats == 0 || r.values != nullptr) &&
                                              (!IsNameTrack(entry.tag) || r.names != nullptr));
    if (!complete) {
        PushError3ds(ERR_INVALID_DATA);
        return;
    }
    for (std::uint32_t k = 0; k < r.keyCount && !ErrorPending3ds(); ++k) {
        WriteKeyHeader(r.keys[k]);
        for (int f = 0; f < floats; ++f) {
            WriteFloat3ds(r.values[k * floats + f]);
        }
        if (IsNameTrack(entry.tag)) {
            WriteString3ds(r.names[k].text);
        }
    }
}

void ReleaseKeyTrack(void* record) {
    auto& r = *static_cast<KeyTrackData3ds*>(record);
    std::free(r.keys);
    std::free(r.values);
    std::free(r.names);
}

void OwnKeyTrack(void* record, const TagEntry3ds& entry) {
    auto& r = *static_cast<KeyTrackData3ds*>(record);
    const std::size_t count = r.keyCount;
    r.keys = static_cast<KeyHeader3ds*>(CopyBlock3ds(r.keys, count * sizeof(KeyHeader3ds)));
    r.values = static_cast<float*>(CopyBlock3ds(r.values, count * KeyValueFloats3ds(entry.tag) * sizeof(float)));
    r.names = static_cast<KeyName3ds*>(CopyBlock3ds(r.names, count * sizeof(KeyName3ds)));
}

}  // namespace

int KeyValueFloats3ds(std::uint32_t tag) {
    switch (tag) {
        case CHUNK_TRACK_B020:
        case CHUNK_TRACK_B022:
        case CHUNK_TRACK_B025: return 3;
        case CHUNK_TRACK_B021: return 4;
        case CHUNK_TRACK_B023:
        case CHUNK_TRACK_B024:
        case CHUNK_TRACK_B027:
        case CHUNK_TRACK_B028: return 1;
        default: return 0;
    }
}

const RecordOps3ds kKeyTrackRecordOps3ds = {sizeof(KeyTrackData3ds), ReadKeyTrack, WriteKeyTrack, ReleaseKeyTrack,
                                            OwnKeyTrack};
