// PNG files of every colour type, depth and interlacing, written by libpng,
// read back as pictures; and our own paletted PNG read back index for index.
#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

#include "exchange/formats/pngdecoder.h"
#include "exchange/formats/pngencoder.h"
#include "tests/support/picturefiles.h"

namespace {

// A 3 × 2 picture in grey levels 0, 85, 170, 255 and 255, 0.
const std::vector<uint8_t> kGreys = {0, 85, 170, 255, 255, 0};

std::vector<uint8_t> GreysAsRgb() {
    std::vector<uint8_t> rgb;
    for (const uint8_t g : kGreys) rgb.insert(rgb.end(), {g, g, g});
    return rgb;
}

// The grey picture's rows in a grey type of the depth, with alpha if asked.
std::vector<std::vector<uint8_t>> GreyRows(int depth, bool alpha) {
    std::vector<std::vector<uint8_t>> rows(2);
    for (size_t y = 0; y < 2; ++y) {
        uint32_t bits = 0, used = 0;
        for (size_t x = 0; x < 3; ++x) {
            const uint8_t grey = kGreys[y * 3 + x];
            if (depth < 8) {
                bits = bits << depth | uint32_t(grey >> (8 - depth));
                used += depth;
                continue;
            }
            rows[y].push_back(grey);
            if (depth == 16) rows[y].push_back(grey);
            if (alpha) rows[y].insert(rows[y].end(), size_t(depth / 8), uint8_t(0x40));
        }
        if (depth < 8) rows[y] = {uint8_t(bits << (16 - used) >> 8), uint8_t(bits << (16 - used))};
    }
    return rows;
}

TEST(PngDecoder, EveryGreyAndTrueColourTypeAndDepthGivesRgb) {
    for (const int depth : {1, 2, 4, 8, 16}) {
        const auto png = WritePng(3, 2, PNG_COLOR_TYPE_GRAY, depth, depth == 4, GreyRows(depth, false));
        const auto picture = DecodePng(png);
        ASSERT_TRUE(picture.ok()) << depth << ": " << picture.why();
        EXPECT_TRUE(picture->palette.empty());
        // Levels a depth cannot hold come back as the nearest it can.
        if (depth >= 2) {
            EXPECT_EQ(picture->pixels, GreysAsRgb()) << depth;
        }
    }
    for (const int depth : {8, 16}) {
        const auto picture = DecodePng(WritePng(3, 2, PNG_COLOR_TYPE_GRAY_ALPHA, depth, false, GreyRows(depth, true)));
        ASSERT_TRUE(picture.ok()) << picture.why();
        EXPECT_EQ(picture->pixels, GreysAsRgb());
        std::vector<std::vector<uint8_t>> rgb(2), rgba(2);
        for (size_t i = 0; i < kGreys.size(); ++i)
            for (int c = 0; c < 4 * depth / 8; ++c) {
                if (c < 3 * depth / 8) rgb[i / 3].push_back(kGreys[i]);
                rgba[i / 3].push_back(c < 3 * depth / 8 ? kGreys[i] : 0);
            }
        for (const bool interlaced : {false, true}) {
            EXPECT_EQ(DecodePng(WritePng(3, 2, PNG_COLOR_TYPE_RGB, depth, interlaced, rgb))->pixels, GreysAsRgb());
            EXPECT_EQ(DecodePng(WritePng(3, 2, PNG_COLOR_TYPE_RGBA, depth, interlaced, rgba))->pixels, GreysAsRgb());
        }
    }
}

TEST(PngDecoder, PalettedPicturesKeepTheirPaletteAndIndices) {
    const std::vector<uint8_t> palette = {10, 20, 30, 200, 100, 50, 0, 255, 0};
    const std::vector<uint8_t> indices = {0, 1, 2, 2, 1, 0};
    for (const int depth : {2, 4, 8}) {
        std::vector<std::vector<uint8_t>> rows(2);
        for (size_t y = 0; y < 2; ++y) {
            uint32_t bits = 0;
            for (size_t x = 0; x < 3; ++x) bits = bits << depth | indices[y * 3 + x];
            rows[y] =
                depth == 8
                    ? std::vector<uint8_t>(indices.begin() + long(y * 3), indices.begin() + long(y * 3 + 3))
                    : std::vector<uint8_t>{uint8_t(bits << (16 - 3 * depth) >> 8), uint8_t(bits << (16 - 3 * depth))};
        }
        const auto picture = DecodePng(WritePng(3, 2, PNG_COLOR_TYPE_PALETTE, depth, depth == 8, rows, palette));
        ASSERT_TRUE(picture.ok()) << depth << ": " << picture.why();
        EXPECT_EQ(picture->palette, palette);
        EXPECT_EQ(picture->pixels, indices);
    }
    // Our own paletted PNG comes back as the picture it was made from.
    const Picture ours{3, 2, palette, indices};
    const auto encoded = EncodePng(ours);
    ASSERT_TRUE(encoded.ok());
    const auto back = DecodePng(*encoded);
    ASSERT_TRUE(back.ok()) << back.why();
    EXPECT_EQ(back->palette, palette);
    EXPECT_EQ(back->pixels, indices);
}

TEST(PngDecoder, HugeTruncatedOrForeignFilesAreRefusedInWords) {
    auto png = WritePng(3, 2, PNG_COLOR_TYPE_GRAY, 8, false, GreyRows(8, false));
    // The header claims 60 000 × 60 000 pixels (its checksum follows suit).
    auto huge = png;
    for (const size_t at : {16u, 20u}) huge[at] = 0, huge[at + 1] = 0, huge[at + 2] = 0xEA, huge[at + 3] = 0x60;
    const uint32_t crc = uint32_t(crc32(crc32(0, nullptr, 0), &huge[12], 17));
    for (size_t i = 0; i < 4; ++i) huge[29 + i] = uint8_t(crc >> (24 - 8 * i));
    EXPECT_NE(DecodePng(huge).why().find("4096"), std::string::npos);
    EXPECT_EQ(DecodePng(std::span(png).first(png.size() - 20)).why(), "it ends before its picture does");
    // A text chunk claiming 1.3 GB in a file of 64 bytes is refused before
    // libpng allocates it (found by the picture fuzzer).
    auto text = std::vector<uint8_t>(png.begin(), png.begin() + 33);
    const std::vector<uint8_t> chunk = {0x4D, 0x4D, 0x4D, 0x4D, 't', 'E', 'X', 't', 0, 0, 0, 0};
    text.insert(text.end(), chunk.begin(), chunk.end());
    EXPECT_EQ(DecodePng(text).why(), "it ends before its picture does");
    const std::vector<uint8_t> bmp = {'B', 'M', 0, 0};
    EXPECT_EQ(DecodePng(bmp).why(), "it is not a PNG file");
}

}  // namespace
