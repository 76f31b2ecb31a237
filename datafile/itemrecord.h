#pragma once
#include <cstdint>
#include <span>
#include <string>

enum ItemKind : uint16_t {
    ITEM_BANK = 1,
    ITEM_BITMAP = 2,
    ITEM_MODEL = 3,
};

// What a bank, model or bitmap item of the tree stands for, and where its
// record lies in the image. The information leaves share their parent's.
struct ItemRecord {
    static constexpr size_t kLabelLength = 79;  // a label is cut to this many characters

    std::string szLabel;
    uint16_t nKind = 0;
    uint32_t nOffset = 0;  // bank: its tag; model: its record; bitmap: its BMP data
    uint32_t nSize = 0;    // bank: 999999; model: its record size; bitmap: its BMP length
    uint32_t nCopyOf = 0;  // bitmap that repeats an earlier one: that one's nOffset
};

// The record's bytes in the image; none when the record reaches past its end.
inline std::span<uint8_t> RecordBytes(std::span<uint8_t> image, const ItemRecord& record) {
    const bool inside = record.nOffset <= image.size() && record.nSize <= image.size() - record.nOffset;
    return inside ? image.subspan(record.nOffset, record.nSize) : std::span<uint8_t>();
}
inline std::span<const uint8_t> RecordBytes(std::span<const uint8_t> image, const ItemRecord& record) {
    const bool inside = record.nOffset <= image.size() && record.nSize <= image.size() - record.nOffset;
    return inside ? image.subspan(record.nOffset, record.nSize) : std::span<const uint8_t>();
}
