#include "tests/support/picturefiles.h"

#include <png.h>

namespace {

void Put(std::vector<uint8_t>& bytes, size_t at, uint32_t value, size_t width) {
    for (size_t i = 0; i < width; ++i) bytes[at + i] = uint8_t(value >> (8 * i));
}

void Append(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void NoFlush(png_structp) {}

}  // namespace

std::vector<uint8_t> BuildBmp(const BmpSpec& spec) {
    const bool core = spec.headerSize == 12;
    const size_t colourSize = core ? 3 : 4;
    const size_t masksAfter = spec.headerSize == 40 ? spec.masks.size() * 4 : 0;
    const size_t paletteAt = 14 + spec.headerSize + masksAfter;
    const size_t pixelsAt = paletteAt + spec.palette.size() / 3 * colourSize;
    std::vector<uint8_t> bmp(pixelsAt + spec.pixels.size(), 0);
    bmp[0] = 'B', bmp[1] = 'M';
    Put(bmp, 2, uint32_t(bmp.size()), 4);
    Put(bmp, 10, uint32_t(pixelsAt), 4);
    Put(bmp, 14, spec.headerSize, 4);
    if (core) {
        Put(bmp, 18, uint32_t(spec.width), 2), Put(bmp, 20, uint32_t(spec.height), 2);
        Put(bmp, 22, 1, 2), Put(bmp, 24, spec.bits, 2);
    } else {
        Put(bmp, 18, uint32_t(spec.width), 4), Put(bmp, 22, uint32_t(spec.height), 4);
        Put(bmp, 26, 1, 2), Put(bmp, 28, spec.bits, 2);
        Put(bmp, 30, spec.compression, 4);
        Put(bmp, 34, uint32_t(spec.pixels.size()), 4);
        Put(bmp, 46, spec.coloursUsed, 4);
    }
    // Right after the 40 bytes: behind the header, or its own next fields.
    for (size_t i = 0; i < spec.masks.size(); ++i) Put(bmp, 14 + 40 + 4 * i, spec.masks[i], 4);
    for (size_t i = 0; i < spec.palette.size() / 3; ++i) {
        bmp[paletteAt + i * colourSize] = spec.palette[i * 3 + 2];
        bmp[paletteAt + i * colourSize + 1] = spec.palette[i * 3 + 1];
        bmp[paletteAt + i * colourSize + 2] = spec.palette[i * 3];
    }
    std::copy(spec.pixels.begin(), spec.pixels.end(), bmp.begin() + long(pixelsAt));
    return bmp;
}

std::vector<uint8_t> PackRows(const std::vector<std::vector<uint32_t>>& rows, uint16_t bits, bool topDown) {
    const size_t width = rows.empty() ? 0 : rows[0].size();
    const size_t rowBytes = (width * bits + 31) / 32 * 4;
    std::vector<uint8_t> packed(rowBytes * rows.size(), 0);
    for (size_t y = 0; y < rows.size(); ++y) {
        const size_t at = (topDown ? y : rows.size() - 1 - y) * rowBytes;
        for (size_t x = 0; x < width; ++x) {
            const uint32_t value = rows[y][x];
            if (bits < 8) {
                packed[at + x * bits / 8] |= uint8_t(value << (8 - bits - x * bits % 8));
            } else if (bits == 24) {
                packed[at + x * 3] = uint8_t(value), packed[at + x * 3 + 1] = uint8_t(value >> 8);
                packed[at + x * 3 + 2] = uint8_t(value >> 16);
            } else {
                Put(packed, at + x * bits / 8, value, bits / 8);
            }
        }
    }
    return packed;
}

std::vector<uint8_t> WritePng(uint32_t width, uint32_t height, int colourType, int bitDepth, bool interlaced,
                              const std::vector<std::vector<uint8_t>>& rows, const std::vector<uint8_t>& palette) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, Append, NoFlush);
    png_set_IHDR(png, info, width, height, bitDepth, colourType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> colours;
    for (size_t i = 0; i + 2 < palette.size(); i += 3) colours.push_back({palette[i], palette[i + 1], palette[i + 2]});
    if (!colours.empty()) png_set_PLTE(png, info, colours.data(), int(colours.size()));
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (const auto& row : rows) pointers.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint32_t> Colours(const Picture& picture) {
    std::vector<uint32_t> colours;
    for (size_t i = 0; i < size_t(picture.width) * picture.height; ++i) {
        const uint8_t* rgb = picture.palette.empty() ? &picture.pixels[i * 3] : &picture.palette[picture.pixels[i] * 3];
        colours.push_back(uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2]);
    }
    return colours;
}
