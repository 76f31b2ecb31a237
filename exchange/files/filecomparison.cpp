#include "exchange/files/filecomparison.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/file.h"

namespace {

constexpr size_t kSliceBytes = size_t(256) << 10;

}  // namespace

bool FileHoldsBytes(const std::filesystem::path& path, std::span<const uint8_t> expected) {
    fw::File file(path, fw::File::Mode::read);
    // The open file's own length: the name may have been given to another
    // file since it was looked at.
    if (file.Length() != expected.size()) return false;
    std::vector<uint8_t> slice(std::min(kSliceBytes, expected.size()));
    for (size_t done = 0; done < expected.size();) {
        const size_t wanted = std::min(slice.size(), expected.size() - done);
        if (file.Read(slice.data(), wanted) != wanted) return false;
        if (std::memcmp(slice.data(), expected.data() + done, wanted) != 0) return false;
        done += wanted;
    }
    return true;
}
