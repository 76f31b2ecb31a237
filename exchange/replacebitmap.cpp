#include "replacebitmap.h"

#include <cstring>
#include <vector>

#include "layouts.h"
#include "littleendian.h"
#include "pallixview.h"

namespace {

// bfSize keeps the record chain intact; a bitmap shorter than its own
// header has no bfSize, and writing one would overwrite the next record.
void RestampFileSize(std::span<uint8_t> image, uint32_t offset, uint32_t length) {
    if (length >= pallix::BitmapRecord::kBmpFileSize + 4)
        pallix::WriteLE<uint32_t>(image, uint64_t(offset) + pallix::BitmapRecord::kBmpFileSize, length);
}

void UpdateCopies(CPallixView& view, const ItemRecord& record, std::span<uint8_t> image) {
    fw::TreeControl& tree = view.GetTreeCtrl();
    for (fw::TreeItem* item = tree.GetChildItem(tree.GetRootItem()); item; item = view.NextItemInTreeOrder(item)) {
        const ItemRecord* copy = CPallixView::RecordOf(item);
        if (!copy || copy->nCopyOf != record.nOffset || !pallix::FitsIn(image, copy->nOffset, record.nSize) ||
            record.nSize == 0)
            continue;
        std::memmove(image.data() + copy->nOffset, image.data() + record.nOffset, record.nSize);
        RestampFileSize(image, copy->nOffset, record.nSize);
    }
}

}  // namespace

void ReplaceBitmap(CPallixView& view, const ItemRecord& record, fw::File& source) {
    // Read whole before touching the image, so a failed read changes nothing.
    std::vector<uint8_t> bytes(record.nSize);
    const size_t got = source.Read(bytes.data(), bytes.size());
    source.Close();
    auto image = view.GetDocument().Image();
    if (!pallix::FitsIn(image, record.nOffset, record.nSize)) return;
    if (got) std::memcpy(image.data() + record.nOffset, bytes.data(), got);
    RestampFileSize(image, record.nOffset, record.nSize);
    UpdateCopies(view, record, image);
    view.GetDocument().SetModifiedFlag(true);
}
