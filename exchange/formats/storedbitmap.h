#pragma once
#include <cstdint>
#include <span>

#include "exchange/formats/bmpheader.h"
#include "exchange/formats/picture.h"
#include "framework/expected.h"

// Where a stored bitmap keeps its pixels, read from its headers and checked
// to lie inside its record (offset, rows, row padding, bit depth,
// compression) before a byte of them is read.
struct StoredBitmapLayout {
    BmpHeader header;
    std::vector<uint8_t> palette;  // RGB, the entries its table holds; empty above 8 bits
    // Uncompressed: a picture can be written into the pixel array in place.
    // A run-length coded one has no room of its own for other pixels.
    bool writable = false;
};

// The layout, or "This bitmap is damaged: ..." saying what does not fit.
fw::Expected<StoredBitmapLayout> ReadStoredBitmapLayout(std::span<const uint8_t> bitmap);

// The stored bitmap's picture, for the preview and the exports; the refusal
// reads "This bitmap is damaged: ...".
fw::Expected<Picture> DecodeStoredBitmap(std::span<const uint8_t> bitmap);
