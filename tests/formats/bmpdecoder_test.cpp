// The stored bitmaps decoded for their PNG pictures.
#include <gtest/gtest.h>

#include "exchange/formats/bmpdecoder.h"
#include "tools/bfpbuilder.h"

namespace {

TEST(BmpDecoder, PalettedAndTrueColourBitmapsBottomUpOrTopDown) {
    const auto bmp8 = bfp::MakeBmp(5, 3, 8, 7);
    const DecodedBmp paletted = DecodeBmp(bmp8);
    ASSERT_EQ(paletted.failure, "");
    ASSERT_EQ(paletted.image.width, 5u);
    // The top row is stored last; palette entry i is (255 - i, 3 i + seed, i).
    const uint8_t index = bmp8[14 + 40 + 1024 + 2 * 8 + 1];
    EXPECT_EQ(paletted.image.pixels[1], index);
    ASSERT_EQ(paletted.image.palette.size(), 256u * 3);
    EXPECT_EQ(paletted.image.palette[index * 3], 255 - index);
    EXPECT_EQ(paletted.image.palette[index * 3 + 1], uint8_t(index * 3 + 7));

    auto topDown = bmp8;
    topDown[25] = topDown[24] = topDown[23] = 0xFF, topDown[22] = uint8_t(-3);
    std::swap_ranges(topDown.begin() + 1078, topDown.begin() + 1086, topDown.begin() + 1094);
    const DecodedBmp flipped = DecodeBmp(topDown);
    ASSERT_EQ(flipped.failure, "");
    EXPECT_EQ(flipped.image.pixels, paletted.image.pixels);

    const auto bmp24 = bfp::MakeBmp(2, 2, 24, 3);
    const DecodedBmp trueColour = DecodeBmp(bmp24);
    ASSERT_EQ(trueColour.failure, "");
    EXPECT_TRUE(trueColour.image.palette.empty());
    EXPECT_EQ(trueColour.image.pixels[0], bmp24[54 + 8 + 2]);  // red of the top left, stored BGR in the last row
}

TEST(BmpDecoder, DamagedBitmapsAreRefusedInWords) {
    auto bmp = bfp::MakeBmp(4, 4, 8, 1);
    EXPECT_NE(DecodeBmp(std::span(bmp).first(bmp.size() - 1)).failure, "");
    bmp[28] = 7;  // bits per pixel
    EXPECT_NE(DecodeBmp(bmp).failure.find("7 bits"), std::string::npos);
    bmp[14] = 0xFF, bmp[15] = 0xFF, bmp[16] = 0xFF, bmp[17] = 0xFF;  // a header larger than the file
    EXPECT_NE(DecodeBmp(bmp).failure, "");
    EXPECT_NE(DecodeBmp({}).failure, "");
}

}  // namespace
