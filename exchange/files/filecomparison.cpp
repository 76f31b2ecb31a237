#include "exchange/files/filecomparison.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "framework/file.h"

namespace {

constexpr size_t kSliceBytes = size_t(64) << 10;

}  // namespace

bool FileHoldsBytes(const std::filesystem::path& path, std::span<const uint8_t> expected) {
    fw::File file(path, fw::File::Mode::read);
    // The open file's own length: the name may have been given to another
    // file since it was looked at.
    if (file.Length() != expected.size()) return false;
    // On the stack: a heap block for each of thousands of small files costs
    // more than comparing them.
    std::array<uint8_t, kSliceBytes> slice;
    for (size_t done = 0; done < expected.size();) {
        const size_t wanted = std::min(slice.size(), expected.size() - done);
        if (file.Read(slice.data(), wanted) != wanted) return false;
        if (std::memcmp(slice.data(), expected.data() + done, wanted) != 0) return false;
        done += wanted;
    }
    return true;
}
