#include "datafile/imagememory.h"

#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace pallix {

namespace {

#if defined(__linux__)
constexpr size_t kMappedFrom = size_t(4) << 20;  // below this the heap is cheaper

bool IsMapped(size_t size) { return size >= kMappedFrom; }

uint8_t* MapBlock(size_t size) {
    void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return nullptr;
    madvise(block, size, MADV_HUGEPAGE);
    return static_cast<uint8_t*>(block);
}
#else
bool IsMapped(size_t) { return false; }
uint8_t* MapBlock(size_t) { return nullptr; }
#endif

}  // namespace

void ImageMemoryDeleter::operator()(uint8_t* block) const noexcept {
    if (!block) return;
#if defined(__linux__)
    if (IsMapped(size)) {
        munmap(block, size);
        return;
    }
#endif
    delete[] block;
}

ImageMemory AllocateImageMemory(size_t size) {
    uint8_t* block = IsMapped(size) ? MapBlock(size) : new (std::nothrow) uint8_t[size ? size : 1];
    return ImageMemory(block, ImageMemoryDeleter{size});
}

}  // namespace pallix
