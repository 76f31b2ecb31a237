#include "viewer/dxf/acicolour.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using dxf::ColourOfIndex;
using dxf::Rgb;

TEST(AciColour, GivesTheStandardIndexColours) {
    EXPECT_EQ(ColourOfIndex(1), (Rgb{255, 0, 0}));
    EXPECT_EQ(ColourOfIndex(2), (Rgb{255, 255, 0}));
    EXPECT_EQ(ColourOfIndex(3), (Rgb{0, 255, 0}));
    EXPECT_EQ(ColourOfIndex(5), (Rgb{0, 0, 255}));
    EXPECT_EQ(ColourOfIndex(7), (Rgb{255, 255, 255}));
    EXPECT_EQ(ColourOfIndex(8), (Rgb{128, 128, 128}));
    // The hue wheel: full and half saturated, five brightness steps.
    EXPECT_EQ(ColourOfIndex(10), (Rgb{255, 0, 0}));
    EXPECT_EQ(ColourOfIndex(11), (Rgb{255, 127, 127}));
    EXPECT_EQ(ColourOfIndex(13), (Rgb{165, 82, 82}));
    EXPECT_EQ(ColourOfIndex(19), (Rgb{38, 19, 19}));
    EXPECT_EQ(ColourOfIndex(20), (Rgb{255, 63, 0}));
    EXPECT_EQ(ColourOfIndex(21), (Rgb{255, 159, 127}));
    EXPECT_EQ(ColourOfIndex(40), (Rgb{255, 191, 0}));
    EXPECT_EQ(ColourOfIndex(50), (Rgb{255, 255, 0}));
    EXPECT_EQ(ColourOfIndex(90), (Rgb{0, 255, 0}));
    EXPECT_EQ(ColourOfIndex(140), (Rgb{0, 191, 255}));
    EXPECT_EQ(ColourOfIndex(170), (Rgb{0, 0, 255}));
    EXPECT_EQ(ColourOfIndex(220), (Rgb{255, 0, 191}));
    EXPECT_EQ(ColourOfIndex(250), (Rgb{51, 51, 51}));
    EXPECT_EQ(ColourOfIndex(255), (Rgb{255, 255, 255}));
}

TEST(AciColour, HandlesIndexesWithoutAColourOfTheirOwn) {
    EXPECT_EQ(ColourOfIndex(0), ColourOfIndex(7));    // by block
    EXPECT_EQ(ColourOfIndex(256), ColourOfIndex(7));  // by layer
    EXPECT_EQ(ColourOfIndex(-5), ColourOfIndex(5));   // layer switched off
    // Face numbers used as colours keep going round the wheel.
    EXPECT_EQ(ColourOfIndex(257), ColourOfIndex(2));
    EXPECT_EQ(ColourOfIndex(300), ColourOfIndex(45));
    EXPECT_EQ(ColourOfIndex(1000), ColourOfIndex(235));
    EXPECT_EQ(ColourOfIndex(INT_MIN), ColourOfIndex(static_cast<int>((2147483648LL - 1) % 255 + 1)));
    EXPECT_EQ(ColourOfIndex(INT_MAX), ColourOfIndex(static_cast<int>((2147483647LL - 1) % 255 + 1)));
}

}  // namespace
