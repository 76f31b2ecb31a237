// Writes the data file the picture round trips start from: one bank with
// a bitmap of each kind the editors are tried on, and a second bank that
// holds a copy of each, so that copies can be seen to follow.
// Usage: interop_picturedata OUT.bfp
#include <cstdio>
#include <fstream>

#include "tools/bfpbuilder.h"

namespace {

void Put(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

// 8 bits per pixel with a table of 16 colours, 13 pixels wide: rows padded,
// a table shorter than the depth allows.
std::vector<uint8_t> SixteenColours() {
    constexpr uint32_t width = 13, height = 9, colours = 16, rowBytes = 16;
    constexpr uint32_t offset = 14 + 40 + colours * 4, size = offset + rowBytes * height;
    std::vector<uint8_t> bmp(size, 0);
    bmp[0] = 'B', bmp[1] = 'M';
    Put(bmp, 2, size, 4);
    Put(bmp, 10, offset, 4);
    Put(bmp, 14, 40, 4);
    Put(bmp, 18, width, 4);
    Put(bmp, 22, height, 4);
    Put(bmp, 26, 1, 2);
    Put(bmp, 28, 8, 2);
    Put(bmp, 34, rowBytes * height, 4);
    Put(bmp, 46, colours, 4);
    for (uint32_t i = 0; i < colours; ++i) {
        bmp[54 + 4 * i] = uint8_t(i * 16);              // blue
        bmp[54 + 4 * i + 1] = uint8_t(255 - i * 16);    // green
        bmp[54 + 4 * i + 2] = uint8_t((i * 80) % 256);  // red
    }
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) bmp[offset + y * rowBytes + x] = uint8_t((x + 2 * y) % colours);
    return bmp;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: interop_picturedata OUT.bfp\n", stderr);
        return 2;
    }
    const std::vector<bfp::Bitmap> bitmaps{
        {"full", bfp::MakeBmp(32, 32, 8, 1)}, {"sixteen", SixteenColours()}, {"true", bfp::MakeBmp(13, 9, 24, 3)}};
    bfp::ImageWriter image;
    image.AddBank({{bfp::Cube("box", 50, 3)}, bitmaps});
    image.AddBank({{bfp::Cube("copy", 20, 3)}, bitmaps});
    std::ofstream(argv[1], std::ios::binary)
        .write(reinterpret_cast<const char*>(image.bytes().data()), std::streamsize(image.bytes().size()));
    return 0;
}
