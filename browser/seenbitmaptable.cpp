#include "browser/seenbitmaptable.h"

#include <cstdio>
#include <cstring>

namespace {

uint64_t Mix(uint64_t h, uint64_t word) {
    h ^= word;
    h *= 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 29);
}

// A fast hash over the bytes, eight at a time; equal bytes give equal hashes.
uint64_t HashBytes(const uint8_t* bytes, size_t length) {
    uint64_t lanes[4] = {length, 0x243F6A8885A308D3ull, 0x13198A2E03707344ull, 0xA4093822299F31D0ull};
    size_t i = 0;
    for (; i + 32 <= length; i += 32) {
        for (int lane = 0; lane < 4; ++lane) {
            uint64_t word;
            std::memcpy(&word, bytes + i + 8 * lane, 8);
            lanes[lane] = Mix(lanes[lane], word);
        }
    }
    uint64_t h = Mix(Mix(lanes[0], lanes[1]), Mix(lanes[2], lanes[3]));
    for (; i < length; ++i) h = Mix(h, bytes[i]);
    return h;
}

// Words spread evenly over the bytes, the first and the last among them:
// bitmaps that differ mostly differ there too, and reading a few cache
// lines of each bitmap instead of all of it halves the time a large file
// takes to list. Equal bytes give equal samples.
uint64_t SampleBytes(const uint8_t* bytes, size_t length) {
    constexpr size_t kWords = 16;
    if (length < 8 * kWords) return HashBytes(bytes, length);
    uint64_t h = length;
    for (size_t k = 0; k < kWords; ++k) {
        uint64_t word;
        std::memcpy(&word, bytes + (length - 8) * k / (kWords - 1), 8);
        h = Mix(h, word);
    }
    return h;
}

}  // namespace

uint64_t SeenBitmapTable::Key(uint32_t offset, uint32_t length) const {
    return HashBytes(image_.data() + offset, length) ^ (uint64_t(length) << 32);
}

uint64_t SeenBitmapTable::Sample(uint32_t offset, uint32_t length) const {
    return SampleBytes(image_.data() + offset, length) ^ (uint64_t(length) << 32);
}

std::optional<size_t> SeenBitmapTable::FindFirstEqual(uint64_t key, uint32_t offset, uint32_t length) const {
    std::optional<size_t> first;
    const auto [begin, end] = firstsByKey_.equal_range(key);
    for (auto it = begin; it != end; ++it) {
        const Entry& entry = entries_[it->second];
        if (entry.length != length || (first && *first < it->second)) continue;
        if (std::memcmp(image_.data() + entry.offset, image_.data() + offset, length) == 0) first = it->second;
    }
    return first;
}

std::optional<size_t> SeenBitmapTable::Record(uint32_t offset, uint32_t length, uint32_t bankNumber) {
    std::optional<size_t> first;
    // A sample nobody had before means bytes nobody had before. Once two
    // bitmaps share a sample, its bitmaps are told apart by the whole bytes'
    // key, the earlier one's taken now: each bitmap is read whole once at
    // most, whatever a file's bitmaps have in common.
    const auto [sampled, isNew] = firstBySample_.try_emplace(Sample(offset, length), entries_.size());
    if (!isNew) {
        if (const auto sole = sampled->second) {
            firstsByKey_.emplace(Key(entries_[*sole].offset, entries_[*sole].length), *sole);
            sampled->second.reset();
        }
        const uint64_t key = Key(offset, length);
        first = FindFirstEqual(key, offset, length);
        if (!first) firstsByKey_.emplace(key, entries_.size());
    }
    char name[32];
    std::snprintf(name, sizeof name, "CM3D %u,bitmap %zu", bankNumber, first ? *first : entries_.size());
    entries_.push_back(Entry{offset, length, name});
    return first;
}
