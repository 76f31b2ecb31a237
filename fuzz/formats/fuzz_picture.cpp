// Arbitrary bytes read as a BMP and as a PNG file: a refusal, or a picture
// whose pixels fill its size and whose indices all have a palette entry.
#include <cstdlib>

#include "exchange/formats/bmpdecoder.h"
#include "exchange/formats/pngdecoder.h"

namespace {

void AbortUnlessWhole(const fw::Expected<Picture>& picture) {
    if (!picture) return;
    const bool paletted = !picture->palette.empty();
    if (picture->pixels.size() != size_t(picture->width) * picture->height * (paletted ? 1 : 3)) std::abort();
    for (const uint8_t index : paletted ? picture->pixels : std::vector<uint8_t>())
        if (size_t(index) * 3 + 3 > picture->palette.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    AbortUnlessWhole(DecodeBmp(file));
    AbortUnlessWhole(DecodePng(file));
    return 0;
}
