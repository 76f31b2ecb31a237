#include "exchange/commands/imagebackup.h"

#include <algorithm>
#include <cstring>

void ImageBackup::Keep(uint32_t offset, uint32_t size) {
    const auto image = document_.Image();
    if (offset >= image.size()) return;
    const size_t length = std::min<size_t>(size, image.size() - offset);
    kept_.push_back({offset, std::vector<uint8_t>(image.begin() + offset, image.begin() + offset + length)});
}

void ImageBackup::PutBack() {
    const auto image = document_.Image();
    for (auto range = kept_.rbegin(); range != kept_.rend(); ++range)
        std::memcpy(image.data() + range->offset, range->bytes.data(), range->bytes.size());
    kept_.clear();
    document_.SetModifiedFlag(wasModified_);
}
