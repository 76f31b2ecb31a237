// The stored bitmaps decoded for their PNG pictures.
#include <gtest/gtest.h>

#include "exchange/formats/bmpdecoder.h"
#include "tests/support/picturefiles.h"
#include "tools/bfpbuilder.h"

namespace {

TEST(BmpDecoder, PalettedAndTrueColourBitmapsBottomUpOrTopDown) {
    const auto bmp8 = bfp::MakeBmp(5, 3, 8, 7);
    const auto paletted = DecodeBmp(bmp8);
    ASSERT_TRUE(paletted.ok()) << paletted.why();
    ASSERT_EQ(paletted->width, 5u);
    // The top row is stored last; palette entry i is (255 - i, 3 i + seed, i).
    const uint8_t index = bmp8[14 + 40 + 1024 + 2 * 8 + 1];
    EXPECT_EQ(paletted->pixels[1], index);
    ASSERT_EQ(paletted->palette.size(), 256u * 3);
    EXPECT_EQ(paletted->palette[index * 3], 255 - index);
    EXPECT_EQ(paletted->palette[index * 3 + 1], uint8_t(index * 3 + 7));

    auto topDown = bmp8;
    topDown[25] = topDown[24] = topDown[23] = 0xFF, topDown[22] = uint8_t(-3);
    std::swap_ranges(topDown.begin() + 1078, topDown.begin() + 1086, topDown.begin() + 1094);
    const auto flipped = DecodeBmp(topDown);
    ASSERT_TRUE(flipped.ok()) << flipped.why();
    EXPECT_EQ(flipped->pixels, paletted->pixels);

    const auto bmp24 = bfp::MakeBmp(2, 2, 24, 3);
    const auto trueColour = DecodeBmp(bmp24);
    ASSERT_TRUE(trueColour.ok()) << trueColour.why();
    EXPECT_TRUE(trueColour->palette.empty());
    EXPECT_EQ(trueColour->pixels[0], bmp24[54 + 8 + 2]);  // red of the top left, stored BGR in the last row
}

TEST(BmpDecoder, DamagedBitmapsAreRefusedInWords) {
    auto bmp = bfp::MakeBmp(4, 4, 8, 1);
    EXPECT_FALSE(DecodeBmp(std::span(bmp).first(bmp.size() - 1)).ok());
    bmp[28] = 7;  // bits per pixel
    EXPECT_NE(DecodeBmp(bmp).why().find("7 bits"), std::string::npos);
    bmp[14] = 0xFF, bmp[15] = 0xFF, bmp[16] = 0xFF, bmp[17] = 0xFF;  // a header larger than the file
    EXPECT_FALSE(DecodeBmp(bmp).ok());
    EXPECT_FALSE(DecodeBmp({}).ok());
}

}  // namespace

namespace {

const std::vector<uint8_t> kPalette = {10, 20, 30, 200, 100, 50, 0, 255, 0, 255, 255, 255};
const std::vector<std::vector<uint32_t>> kIndices = {{0, 1, 2}, {3, 2, 1}};
const std::vector<uint32_t> kColours = {0x0A141E, 0xC86432, 0x00FF00, 0xFFFFFF, 0x00FF00, 0xC86432};

std::vector<uint32_t> ColoursOf(std::span<const uint8_t> file) {
    const auto picture = DecodeBmp(file);
    EXPECT_TRUE(picture.ok()) << picture.why();
    return picture ? Colours(*picture) : std::vector<uint32_t>();
}

TEST(BmpDecoder, EveryInfoHeaderSizeGivesThePaletteAndIndices) {
    for (const uint32_t headerSize : {12u, 40u, 52u, 56u, 108u, 124u}) {
        const auto file = BuildBmp({.headerSize = headerSize,
                                    .width = 3,
                                    .height = 2,
                                    .bits = 8,
                                    .palette = kPalette,
                                    .pixels = PackRows(kIndices, 8)});
        const auto picture = DecodeBmp(file);
        ASSERT_TRUE(picture.ok()) << headerSize << ": " << picture.why();
        EXPECT_EQ(picture->palette, kPalette) << headerSize;
        EXPECT_EQ(picture->pixels, (std::vector<uint8_t>{0, 1, 2, 3, 2, 1})) << headerSize;
    }
}

TEST(BmpDecoder, EveryDepthAndMaskLayoutGivesTheSameColours) {
    for (const uint16_t bits : {1, 4, 8}) {
        auto indices = kIndices;
        if (bits == 1) indices = {{0, 1, 1}, {1, 0, 1}};
        const auto file =
            BuildBmp({.width = 3, .height = 2, .bits = bits, .palette = kPalette, .pixels = PackRows(indices, bits)});
        const auto picture = DecodeBmp(file);
        ASSERT_TRUE(picture.ok()) << bits << ": " << picture.why();
        std::vector<uint8_t> flat;
        for (const auto& row : indices) flat.insert(flat.end(), row.begin(), row.end());
        EXPECT_EQ(picture->pixels, flat) << bits;
    }
    const std::vector<std::vector<uint32_t>> rgb = {{kColours[0], kColours[1], kColours[2]},
                                                    {kColours[3], kColours[4], kColours[5]}};
    EXPECT_EQ(ColoursOf(BuildBmp({.width = 3, .height = 2, .bits = 24, .pixels = PackRows(rgb, 24)})), kColours);
    EXPECT_EQ(ColoursOf(BuildBmp({.width = 3, .height = 2, .bits = 32, .pixels = PackRows(rgb, 32)})), kColours);
    // 32 bits by masks: blue high, alpha in the low byte; behind a 40-byte
    // header (alpha bit fields, four masks) and inside a V5 header.
    std::vector<std::vector<uint32_t>> swapped = rgb;
    for (auto& row : swapped)
        for (uint32_t& c : row) c = (c & 0xFF) << 24 | (c & 0xFF00) << 8 | (c & 0xFF0000) >> 8 | 0x7F;
    const std::vector<uint32_t> masks = {0xFF00, 0xFF0000, 0xFF000000, 0xFF};
    EXPECT_EQ(
        ColoursOf(BuildBmp(
            {.width = 3, .height = 2, .bits = 32, .compression = 6, .masks = masks, .pixels = PackRows(swapped, 32)})),
        kColours);
    EXPECT_EQ(ColoursOf(BuildBmp({.headerSize = 124,
                                  .width = 3,
                                  .height = 2,
                                  .bits = 32,
                                  .compression = 3,
                                  .masks = masks,
                                  .pixels = PackRows(swapped, 32)})),
              kColours);
    // 16 bits: 5-5-5 by default, 5-6-5 by masks; full channels stay full.
    const std::vector<std::vector<uint32_t>> sixteen = {{0x7C00, 0x03E0, 0x001F}};
    EXPECT_EQ(ColoursOf(BuildBmp({.width = 3, .height = 1, .bits = 16, .pixels = PackRows(sixteen, 16)})),
              (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF}));
    const std::vector<std::vector<uint32_t>> rgb565 = {{0xF800, 0x07E0, 0x0010}};
    EXPECT_EQ(ColoursOf(BuildBmp({.headerSize = 56,
                                  .width = 3,
                                  .height = 1,
                                  .bits = 16,
                                  .compression = 3,
                                  .masks = {0xF800, 0x07E0, 0x001F, 0},
                                  .pixels = PackRows(rgb565, 16)})),
              (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x000084}));
}

TEST(BmpDecoder, RunLengthCodedRowsTopDownRowsAndShortTablesDecode) {
    // RLE8, bottom row first: a run of 3, an end of row; an absolute run of
    // 3 (padded to 2 bytes), the end of the picture.
    const std::vector<uint8_t> rle8 = {3, 1, 0, 0, 0, 3, 2, 0, 3, 0, 0, 1};
    const auto eight = DecodeBmp(
        BuildBmp({.width = 3, .height = 2, .bits = 8, .compression = 1, .palette = kPalette, .pixels = rle8}));
    ASSERT_TRUE(eight.ok()) << eight.why();
    EXPECT_EQ(eight->pixels, (std::vector<uint8_t>{2, 0, 3, 1, 1, 1}));
    // RLE4: a run of 5 nibbles alternating 1 and 2 (clipped to the row), a
    // jump over the rest of the first row to the second, 3 nibbles as they are.
    const std::vector<uint8_t> rle4 = {5, 0x12, 0, 0, 0, 3, 0x32, 0x10, 0, 1};
    const auto four = DecodeBmp(
        BuildBmp({.width = 3, .height = 2, .bits = 4, .compression = 2, .palette = kPalette, .pixels = rle4}));
    ASSERT_TRUE(four.ok()) << four.why();
    EXPECT_EQ(four->pixels, (std::vector<uint8_t>{3, 2, 1, 1, 2, 1}));
    EXPECT_FALSE(DecodeBmp(BuildBmp({.width = 3,
                                     .height = 2,
                                     .bits = 8,
                                     .compression = 1,
                                     .palette = kPalette,
                                     .pixels = {3, 1, 0, 0, 0, 3}}))
                     .ok());

    const auto topDown =
        BuildBmp({.width = 3, .height = -2, .bits = 8, .palette = kPalette, .pixels = PackRows(kIndices, 8, true)});
    EXPECT_EQ(ColoursOf(topDown), kColours);
    // Two colours in the table of an 8-bit file: index 3 shows black.
    const auto shortTable = DecodeBmp(BuildBmp({.width = 3,
                                                .height = 2,
                                                .bits = 8,
                                                .coloursUsed = 2,
                                                .palette = {kPalette.begin(), kPalette.begin() + 6},
                                                .pixels = PackRows(kIndices, 8)}));
    ASSERT_TRUE(shortTable.ok()) << shortTable.why();
    EXPECT_EQ(Colours(*shortTable)[3], 0u);
}

TEST(BmpDecoder, HugeOrStrangeFilesAreRefusedBeforeAnythingIsAllocated) {
    // 60 000 × 60 000 pixels claimed by a file of a few bytes.
    auto huge =
        BuildBmp({.width = 60000, .height = 60000, .bits = 8, .compression = 1, .palette = kPalette, .pixels = {0, 1}});
    EXPECT_NE(DecodeBmp(huge).why().find("4096"), std::string::npos);
    auto jpeg = BuildBmp({.width = 3, .height = 2, .bits = 0, .compression = 4, .pixels = {0xFF, 0xD8}});
    EXPECT_FALSE(DecodeBmp(jpeg).ok());
    auto rle8at24 = BuildBmp({.width = 3, .height = 2, .bits = 24, .compression = 1, .pixels = {0, 1}});
    EXPECT_NE(DecodeBmp(rle8at24).why().find("run-length"), std::string::npos);
    auto nothing = BuildBmp({.width = 3, .height = 2, .bits = 8, .palette = kPalette, .pixels = PackRows(kIndices, 8)});
    nothing[10] = 0xFF;  // pixels past the end
    EXPECT_FALSE(DecodeBmp(nothing).ok());
    const std::vector<uint8_t> notBmp = {'B', 'M', 'x', 'y', 'z'};
    EXPECT_EQ(DecodeBmp(notBmp).why(), "it is not a BMP file");
}

}  // namespace
