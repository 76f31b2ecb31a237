#pragma once
#include <filesystem>
#include <string>
#include <string_view>

#include "framework/os.h"

namespace fw {

// Paths travel between the program's parts, and into messages, as UTF-8
// text. Windows keeps its names in UTF-16 and its narrow strings in a code
// page, so every conversion goes through these two; elsewhere a path's
// bytes are its text.
inline std::filesystem::path PathFromUtf8(std::string_view text) { return os::PathFromUtf8(text); }
inline std::string Utf8FromPath(const std::filesystem::path& path) { return os::Utf8FromPath(path); }

}  // namespace fw
