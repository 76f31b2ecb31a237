#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "exchange/formats/bitmapformats.h"
#include "framework/expected.h"

// What a file makes of a stored bitmap.
struct BitmapImport {
    std::vector<uint8_t> bytes;   // the stored bitmap's new bytes, its own length
    bool byteCompatible = false;  // the file was taken byte for byte
    size_t approximated = 0;      // pixels that took the nearest colour of the table
    size_t pixelCount = 0;
    size_t tableSize = 0;  // colours of the stored table; 0 for true colour
};

// The one rule every bitmap import follows (Import Bitmap, Import All,
// textures with models). A BMP file of the stored bitmap's length and
// header layout is taken byte for byte. Any other picture of the same
// dimensions is written into the stored bitmap's own layout: its file
// header, info header and colour table stay as they are, the pixel array is
// rewritten in its bit depth, row order and padding, a colour of a
// paletted bitmap becoming the index of the same colour or else of the
// nearest. A refusal names the file by `shownName` and says what to do.
fw::Expected<BitmapImport> ImportIntoBitmap(std::span<const uint8_t> stored, std::span<const uint8_t> file,
                                            const BitmapFormat& format, const std::string& shownName);

// What the status line adds when pixels took the nearest colour ("crate.bmp:
// 37 of 1 024 pixels took the nearest colour of the bitmap's 256-colour
// table"); empty when every pixel kept its own.
std::string DescribeImport(const BitmapImport& import, const std::string& shownName);
