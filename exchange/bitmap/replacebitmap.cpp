#include "exchange/bitmap/replacebitmap.h"

#include <algorithm>
#include <cstring>

#include "datafile/layouts.h"
#include "datafile/littleendian.h"

namespace {

// bfSize keeps the record chain intact; a bitmap shorter than its own
// header has no bfSize, and writing one would overwrite the next record.
void RestampFileSize(std::span<uint8_t> image, uint32_t offset, uint32_t length) {
    if (length >= pallix::BitmapRecord::kBmpFileSize + 4)
        pallix::WriteLE<uint32_t>(image, uint64_t(offset) + pallix::BitmapRecord::kBmpFileSize, length);
}

void UpdateCopies(const ItemRecord& record, const std::vector<uint32_t>& copies, std::span<uint8_t> image) {
    if (record.nSize == 0) return;
    for (const uint32_t copy : copies) {
        if (!pallix::FitsIn(image, copy, record.nSize)) continue;
        std::memmove(image.data() + copy, image.data() + record.nOffset, record.nSize);
        RestampFileSize(image, copy, record.nSize);
    }
}

}  // namespace

void ReplaceBitmap(CPallixDoc& document, const ItemRecord& record, const std::vector<uint32_t>& copies,
                   fw::File& source) {
    // Read whole before touching the image, so a failed read changes nothing.
    std::vector<uint8_t> bytes(record.nSize);
    const size_t got = source.Read(bytes.data(), bytes.size());
    source.Close();
    if (!pallix::FitsIn(document.Image(), record.nOffset, record.nSize)) return;
    // A shorter file replaces only the first bytes.
    std::copy_n(document.Image().data() + record.nOffset + got, record.nSize - got, bytes.data() + got);
    WriteBitmapBytes(document, record, copies, bytes);
}

void WriteBitmapBytes(CPallixDoc& document, const ItemRecord& record, const std::vector<uint32_t>& copies,
                      std::span<const uint8_t> bytes) {
    auto image = document.Image();
    if (!pallix::FitsIn(image, record.nOffset, record.nSize) || bytes.size() != record.nSize) return;
    std::copy(bytes.begin(), bytes.end(), image.begin() + record.nOffset);
    RestampFileSize(image, record.nOffset, record.nSize);
    UpdateCopies(record, copies, image);
    document.SetModifiedFlag(true);
}
