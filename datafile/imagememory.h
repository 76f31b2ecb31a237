#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace pallix {

// Releases an image block obtained from AllocateImageMemory.
struct ImageMemoryDeleter {
    size_t size = 0;
    void operator()(uint8_t* block) const noexcept;
};

using ImageMemory = std::unique_ptr<uint8_t[], ImageMemoryDeleter>;

// A block for a whole data file. Large blocks come straight from the system
// in large pages where it has them: touching a few hundred megabytes page by
// page costs more than reading them. Null when the memory cannot be had.
ImageMemory AllocateImageMemory(size_t size);

}  // namespace pallix
