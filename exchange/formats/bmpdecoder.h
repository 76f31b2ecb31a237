#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The pixels of a stored BMP file, rows from the top: palette indices with
// their palette, as a bitmap of up to 8 bits per pixel stores them, or RGB.
struct Picture {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> palette;  // RGB, 3 bytes per entry; empty for RGB pixels
    std::vector<uint8_t> pixels;   // an index or 3 RGB bytes per pixel
};

struct DecodedBmp {
    Picture image;
    std::string failure;  // why the bytes are no picture; empty when decoded
};

// Uncompressed BMP files of 1, 4, 8, 16, 24 and 32 bits per pixel, stored
// bottom-up or top-down. Every read is checked against the bytes given.
DecodedBmp DecodeBmp(std::span<const uint8_t> file);
