#pragma once
#include <cstdint>
#include <vector>

#include "exchange/formats/picture.h"

// Picture files built in the tests, byte by byte, so that each header,
// depth and compression a program may write can be tried without the
// program.

struct BmpSpec {
    uint32_t headerSize = 40;       // 12, 40, 52, 56, 108 or 124
    int32_t width = 1, height = 1;  // a negative height: rows top-down
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;           // 0: as many as the palette has
    std::vector<uint8_t> palette = {};  // RGB, written as the header size wants it
    std::vector<uint32_t> masks = {};   // after a 40-byte header, else inside the header
    std::vector<uint8_t> pixels = {};   // the pixel array as stored
};
std::vector<uint8_t> BuildBmp(const BmpSpec& spec);

// A picture's rows, given from the top, as an uncompressed BMP stores them:
// bottom-up unless topDown, padded to 4 bytes. A pixel is an index (up to 8
// bits), a 16- or 32-bit value as it is, or 0xRRGGBB for 24 bits.
std::vector<uint8_t> PackRows(const std::vector<std::vector<uint32_t>>& rows, uint16_t bits, bool topDown = false);

// A PNG written by libpng: rows given from the top, packed as libpng wants
// them for the colour type and depth.
std::vector<uint8_t> WritePng(uint32_t width, uint32_t height, int colourType, int bitDepth, bool interlaced,
                              const std::vector<std::vector<uint8_t>>& rows, const std::vector<uint8_t>& palette = {});

// The picture's pixels as 0xRRGGBB, through the palette where it has one.
std::vector<uint32_t> Colours(const Picture& picture);
