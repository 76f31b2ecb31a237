#include "exchange/bitmap/replacebitmap.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "datafile/layouts.h"
#include "framework/littleendian.h"

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

fw::Expected<void> ReplaceBitmap(CPallixDoc& document, const ItemRecord& record, const std::vector<uint32_t>& copies,
                                 std::span<const uint8_t> bytes) {
    auto image = document.Image();
    if (!pallix::FitsIn(image, record.nOffset, record.nSize))
        return fw::Refuse("This bitmap reaches past the end of the data file; nothing was imported into it.");
    if (bytes.size() != record.nSize)
        return fw::Refuse("The new bitmap has " + std::to_string(bytes.size()) + " bytes where the bitmap has " +
                          std::to_string(record.nSize) + "; nothing was imported.");
    std::copy(bytes.begin(), bytes.end(), image.begin() + record.nOffset);
    RestampFileSize(image, record.nOffset, record.nSize);
    UpdateCopies(record, copies, image);
    document.SetModifiedFlag(true);
    return {};
}
