#pragma once
#include <cstdint>
#include <filesystem>

#include "viewer/dxf/dxfparser.h"

namespace dxf {

// Larger files are refused before they are read, so that a wrong file
// (a disk image, a video) cannot exhaust memory.
inline constexpr std::uintmax_t kMaxFileBytes = 256u << 20;

// Reads a DXF file from disk and parses it; every failure, of the file or of
// its content, comes back as the result's error. Never throws.
ParseResult ReadDxfFile(const std::filesystem::path& path, const Limits& limits = {});

}  // namespace dxf
