#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "framework/expected.h"

// What a BMP file's headers say of its pixels, read and checked against the
// file's length before any pixel is.
struct BmpHeader {
    uint32_t headerSize = 0;  // the info header's: 12, 40, 52, 56, 108 or 124
    uint32_t width = 0, height = 0;
    bool topDown = false;
    uint32_t bits = 0;
    uint32_t compression = 0;
    uint32_t pixelOffset = 0;     // from the start of the file
    uint32_t paletteAt = 0;       // the colour table's first byte
    uint32_t paletteEntries = 0;  // the entries that lie before the pixels
    uint32_t paletteStride = 4;
    std::array<uint32_t, 3> masks{};  // red, green, blue of 16- and 32-bit pixels

    bool Compressed() const;    // run-length coded: rows of no fixed length
    uint32_t RowBytes() const;  // an uncompressed row with its padding to 4 bytes
};

// The headers, or a refusal in words that follow "it" ("it is not a
// bitmap file"). Uncompressed pixels are checked to lie inside the file.
fw::Expected<BmpHeader> ReadBmpHeader(std::span<const uint8_t> file);

// The colour table as RGB, as far as the file holds it.
std::vector<uint8_t> ReadBmpPalette(std::span<const uint8_t> file, const BmpHeader& header);
