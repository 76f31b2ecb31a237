// Arbitrary bytes decoded as a BMP file: a refusal, or a picture whose
// pixels and palette are as large as its size says.
#include <cstdlib>

#include "exchange/formats/bmpdecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const DecodedBmp decoded = DecodeBmp({data, size});
    if (!decoded.failure.empty()) return 0;
    const Picture& picture = decoded.image;
    const size_t perPixel = picture.palette.empty() ? 3 : 1;
    if (picture.pixels.size() != size_t(picture.width) * picture.height * perPixel) std::abort();
    for (size_t i = 0; perPixel == 1 && i < picture.pixels.size(); ++i)
        if (size_t(picture.pixels[i]) * 3 >= picture.palette.size()) std::abort();
    return 0;
}
