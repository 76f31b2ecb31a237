#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The pixels of a stored BMP file as 8-bit RGB, rows from the top.
struct RgbImage {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> rgb;  // width * height * 3 bytes
};

struct DecodedBmp {
    RgbImage image;
    std::string failure;  // why the bytes are no picture; empty when decoded
};

// Uncompressed BMP files of 1, 4, 8, 16, 24 and 32 bits per pixel, stored
// bottom-up or top-down. Every read is checked against the bytes given.
DecodedBmp DecodeBmp(std::span<const uint8_t> file);
