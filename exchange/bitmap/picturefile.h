#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/expected.h"

// A picture file's bytes, read whole: refused in words, unread, when it is
// larger than any picture a bitmap can take. A file that cannot be read
// raises its fw::FileException, as every file of the exchange does.
fw::Expected<std::vector<uint8_t>> ReadPictureFile(const std::filesystem::path& path, const std::string& shownName);
