#pragma once
#include <filesystem>
#include <span>
#include <string>

#include "framework/asciicase.h"
#include "framework/pathtext.h"

// The row of a format table (bitmap or model formats) whose extension the
// file's name ends in, without regard to ASCII case: a locale's case rules
// must not decide what a file is. Null for none of the table's.
template <typename Format>
const Format* FormatByExtension(std::span<const Format> formats, const std::filesystem::path& path) {
    const std::string extension = fw::AsciiLowered(fw::Utf8FromPath(path.extension()));
    for (const Format& format : formats)
        if (extension == format.extension) return &format;
    return nullptr;
}
