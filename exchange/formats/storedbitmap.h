#pragma once
#include <cstdint>
#include <span>

#include "exchange/formats/picture.h"
#include "framework/expected.h"

// Where a stored bitmap keeps its pixels, read from its headers and checked
// to lie inside its record (offset, rows, row padding, bit depth,
// compression) before a byte of them is read.
struct StoredBitmapLayout {
    uint32_t headerSize = 0;   // the info header's
    uint32_t width = 0, height = 0;
    bool topDown = false;
    uint32_t bits = 0;
    uint32_t compression = 0;
    uint32_t pixelOffset = 0;  // from the start of the record's BMP
    uint32_t rowBytes = 0;     // with the padding to 4 bytes
    std::vector<uint8_t> palette;  // RGB, the entries the table holds; empty above 8 bits
    bool writable = false;     // uncompressed: the pixel array can be rewritten in place
};

// The layout, or "This bitmap is damaged: ..." saying what does not fit.
fw::Expected<StoredBitmapLayout> ReadStoredBitmapLayout(std::span<const uint8_t> bitmap);

// The stored bitmap's picture, for the preview and the exports; the refusal
// reads "This bitmap is damaged: ...".
fw::Expected<Picture> DecodeStoredBitmap(std::span<const uint8_t> bitmap);
