#pragma once
#include <cstdint>
#include <filesystem>
#include <span>

#include "framework/file.h"

namespace fw {

// Makes a file of the image's length hold the image by writing, in place,
// only the pages that differ from what the file holds, behind a rollback
// journal in the given folder: the file keeps its owner, group, mode, links
// and attributes, and a save cut short at any point is put back by
// ReplayJournal. The file is open for reading and writing; it is compared
// in blocks, so memory stays bounded whatever its size. A write that fails
// puts the old bytes back before the FileException goes on. Returns the
// number of bytes written to the file.
uint64_t SaveInPlace(File& file, std::span<const uint8_t> image, const std::filesystem::path& journalFolder);

}  // namespace fw
