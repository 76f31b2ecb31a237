#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "exchange/formats/picture.h"
#include "framework/expected.h"

// A file format a bitmap leaves and enters by. Adding a format is a row of
// the table and its encoder and decoder.
struct BitmapFormat {
    const char* word;       // "bmp", "png": pallix-cli's FORMAT
    const char* extension;  // ".bmp", lower case
    const char* label;      // "BMP", as the popups show it
    // The file for a stored bitmap, given its picture and its stored bytes.
    fw::Expected<std::vector<uint8_t>> (*encode)(const Picture& picture, std::span<const uint8_t> storedBitmap);
    fw::Expected<Picture> (*decode)(std::span<const uint8_t> file);
};

// BMP first: it is the format a bitmap is stored in, and the default.
std::span<const BitmapFormat> BitmapFormats();
const BitmapFormat& BmpFormat();
const BitmapFormat& PngFormat();
// Whether files of the format are what a bitmap stores: BMP.
bool IsStoredFormat(const BitmapFormat& format);
const BitmapFormat* BitmapFormatByWord(std::string_view word);
// By the file's extension, without regard to case; nullptr for none of ours.
const BitmapFormat* BitmapFormatOfFile(const std::filesystem::path& path);

// The file of a stored bitmap in a format: BMP hands the stored bytes out as
// they are, damaged or not, as it always has; the others need its picture,
// and refuse a damaged bitmap ("This bitmap is damaged: ...").
fw::Expected<std::vector<uint8_t>> EncodeStoredBitmap(const BitmapFormat& format, std::span<const uint8_t> stored);
