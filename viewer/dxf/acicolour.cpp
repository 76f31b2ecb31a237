#include "viewer/dxf/acicolour.h"

#include <array>
#include <cstdlib>

namespace dxf {
namespace {

constexpr int kDefaultIndex = 7;

// Indexes 1 to 9: the primaries, white and two greys.
constexpr std::array<Rgb, 9> kBasic = {{
    {255, 0, 0},
    {255, 255, 0},
    {0, 255, 0},
    {0, 255, 255},
    {0, 0, 255},
    {255, 0, 255},
    {255, 255, 255},
    {128, 128, 128},
    {192, 192, 192},
}};

// Indexes 250 to 255: a ramp of greys from dark to white.
constexpr std::array<std::uint8_t, 6> kGreys = {51, 91, 132, 173, 214, 255};

// Indexes 10 to 249 run through 24 hues 15 degrees apart, ten shades per hue:
// five brightness steps, each first full and then half saturated.
Rgb HueShade(int index) {
    constexpr std::array<int, 5> kBrightness = {255, 165, 127, 76, 38};
    const int hue = (index - 10) / 10;  // 0 to 23, in steps of 15 degrees
    const int shade = index % 10;
    const int high = kBrightness[shade / 2];
    const int low = shade % 2 ? high / 2 : 0;
    const int sector = hue / 4;  // which sixth of the colour wheel
    const int step = hue % 4;    // quarters within it
    const int rising = low + (high - low) * step / 4;
    const int falling = low + (high - low) * (4 - step) / 4;
    int red = 0, green = 0, blue = 0;
    switch (sector) {
        case 0: red = high, green = rising, blue = low; break;
        case 1: red = falling, green = high, blue = low; break;
        case 2: red = low, green = high, blue = rising; break;
        case 3: red = low, green = falling, blue = high; break;
        case 4: red = rising, green = low, blue = high; break;
        default: red = high, green = low, blue = falling; break;
    }
    return {static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(blue)};
}

int StandardIndex(int index) {
    // Negating INT_MIN would overflow; any value that far out is no colour.
    const long long magnitude = std::llabs(static_cast<long long>(index));
    if (magnitude == 0 || magnitude == 256) return kDefaultIndex;
    if (magnitude < 256) return static_cast<int>(magnitude);
    return static_cast<int>((magnitude - 1) % 255 + 1);
}

}  // namespace

Rgb ColourOfIndex(int index) {
    const int standard = StandardIndex(index);
    if (standard < 10) return kBasic[standard - 1];
    if (standard >= 250) {
        const std::uint8_t grey = kGreys[standard - 250];
        return {grey, grey, grey};
    }
    return HueShade(standard);
}

}  // namespace dxf
