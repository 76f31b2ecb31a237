#include "datafile/imagememory.h"

#include <new>

#include "framework/os.h"

namespace pallix {

namespace {

constexpr size_t kMappedFrom = size_t(4) << 20;  // below this the heap is cheaper

bool IsMapped(size_t size) { return size >= kMappedFrom; }

}  // namespace

void ImageMemoryDeleter::operator()(uint8_t* block) const noexcept {
    if (!block) return;
    if (IsMapped(size))
        fw::os::UnmapLargeBlock(block, size);
    else
        delete[] block;
}

ImageMemory AllocateImageMemory(size_t size) {
    uint8_t* block = IsMapped(size) ? static_cast<uint8_t*>(fw::os::MapLargeBlock(size))
                                    : new (std::nothrow) uint8_t[size ? size : 1];
    return ImageMemory(block, ImageMemoryDeleter{size});
}

}  // namespace pallix
