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

// The largest picture a decoder reads, in pixels: 4096 × 4096, far beyond
// any bitmap a data file holds (300 000 bytes at most), and small enough
// that its RGB (48 MB) fits in memory anywhere. Decoders check it before
// they allocate, so a small file claiming a huge picture takes nothing.
inline constexpr uint64_t kMaxPicturePixels = uint64_t(4096) * 4096;
// The largest picture file read: such a picture at 32 bits a pixel, with
// room for headers and tables.
inline constexpr uint64_t kMaxPictureFileBytes = kMaxPicturePixels * 4 + (uint64_t(1) << 20);

// Gives a paletted picture's palette an entry for every index its pixels
// use: black for those the file's table leaves out, as viewers show them.
void CoverIndices(Picture& picture);
