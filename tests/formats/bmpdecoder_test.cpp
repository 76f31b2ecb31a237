// The stored bitmaps decoded for their PNG pictures.
#include <gtest/gtest.h>

#include "exchange/formats/bmpdecoder.h"
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
