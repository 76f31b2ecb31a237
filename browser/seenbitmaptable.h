#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

// Every bitmap listed so far in the file, in listing order, for finding the
// first earlier bitmap with the same bytes. Lengths and a sample of the
// bytes, then a hash of them all, are compared before the bytes themselves,
// so a file with many bitmaps of one length is not compared byte by byte
// pairwise. The table grows as needed: a file may hold any number of bitmaps.
class SeenBitmapTable {
public:
    struct Entry {
        uint32_t offset;
        uint32_t length;
        std::string name;
    };

    explicit SeenBitmapTable(std::span<const uint8_t> image) : image_(image) {}

    // Appends the bitmap of bank bankNumber and returns the index of the
    // first earlier entry with the same bytes, if any. The new entry's name,
    // "CM3D <bank>,bitmap <index>", names that first entry's index when there
    // is one, else its own.
    std::optional<size_t> Record(uint32_t offset, uint32_t length, uint32_t bankNumber);
    const Entry& operator[](size_t index) const { return entries_[index]; }
    size_t size() const { return entries_.size(); }

private:
    uint64_t Key(uint32_t offset, uint32_t length) const;
    uint64_t Sample(uint32_t offset, uint32_t length) const;
    std::optional<size_t> FindFirstEqual(uint64_t key, uint32_t offset, uint32_t length) const;

    std::span<const uint8_t> image_;
    std::vector<Entry> entries_;
    // Only the first entry of each group of equal bitmaps is a candidate:
    // later ones equal it and it comes first. By sample: the one first entry
    // with that sample, none once more have it; those are kept by key.
    std::unordered_map<uint64_t, std::optional<size_t>> firstBySample_;
    std::unordered_multimap<uint64_t, size_t> firstsByKey_;
};
