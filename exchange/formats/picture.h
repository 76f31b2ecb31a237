#pragma once
#include <cstdint>
#include <vector>

// A picture as the bitmap formats exchange it, rows from the top: palette
// indices with their palette, as a bitmap of up to 8 bits per pixel stores
// them, or RGB. Alpha has no place here: bitmaps have none.
struct Picture {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> palette;  // RGB, 3 bytes per entry; empty for RGB pixels
    std::vector<uint8_t> pixels;   // an index or 3 RGB bytes per pixel
};
