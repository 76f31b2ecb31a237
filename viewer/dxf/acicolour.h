#pragma once
#include <cstdint>

namespace dxf {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour that a DXF colour index stands for, for drawing a face.
// 1 to 255 are the standard index colours. 0 (by block) and 256 (by layer)
// have no colour of their own here and show as the default white of index 7.
// A negative index marks a layer that is switched off; its colour is that of
// the positive index. Indexes above 256 are no standard colours; they wrap
// round 1 to 255 so that files numbering their faces as colours still show
// neighbouring faces apart.
Rgb ColourOfIndex(int index);

}  // namespace dxf
