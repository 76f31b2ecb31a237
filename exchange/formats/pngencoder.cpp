#include "pngencoder.h"

#include <stb_image_write.h>

namespace {

void Append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::vector<uint8_t> EncodePng(const RgbImage& image) {
    std::vector<uint8_t> png;
    const int stride = int(image.width * 3);
    if (!stbi_write_png_to_func(Append, &png, int(image.width), int(image.height), 3, image.rgb.data(), stride))
        png.clear();
    return png;
}
