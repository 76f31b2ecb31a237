// Whether a file still holds what an export would write. The length comes
// first and the bytes are read in slices, so that a file of any size costs
// no more memory than a slice and a file of another length is never read.
#pragma once
#include <cstdint>
#include <filesystem>
#include <span>

// True when the file holds exactly `expected`. A file that cannot be read
// raises the framework's FileException.
bool FileHoldsBytes(const std::filesystem::path& path, std::span<const uint8_t> expected);
