#include "exchange/formats/picture.h"

#include <algorithm>

void CoverIndices(Picture& picture) {
    const auto highest = std::max_element(picture.pixels.begin(), picture.pixels.end());
    const size_t needed = (highest == picture.pixels.end() ? 1 : size_t(*highest) + 1) * 3;
    if (picture.palette.size() < needed) picture.palette.resize(needed, 0);
}
