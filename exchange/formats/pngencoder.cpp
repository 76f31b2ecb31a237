#include "exchange/formats/pngencoder.h"

#include <algorithm>
#include <array>

#include <png.h>
#include <zlib.h>

namespace {

void Append(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void NoFlush(png_structp) {}

// Runs libpng's steps; false when libpng reported an error (through
// longjmp, so nothing here owns anything that needs destroying).
bool WriteRows(png_structp png, png_infop info, const Picture& image, std::vector<uint8_t>& out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &out, Append, NoFlush);
    const bool paletted = !image.palette.empty();
    png_set_IHDR(png, info, image.width, image.height, 8, paletted ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // The bitmap's own palette, so that the picture maps back to it index for index.
    std::array<png_color, 256> colours{};
    const size_t entries = std::min<size_t>(image.palette.size() / 3, colours.size());
    for (size_t i = 0; i < entries; ++i)
        colours[i] = {image.palette[i * 3], image.palette[i * 3 + 1], image.palette[i * 3 + 2]};
    if (paletted) png_set_PLTE(png, info, colours.data(), int(entries));
    // Stored, not compressed: Export All writes thousands of pictures and
    // must keep pace with the 3DS export's BMP copies; a picture is then as
    // large as its BMP file, and an editor compresses it when it saves.
    png_set_compression_level(png, 0);
    // Stored data needs no window to search: small buffers, set up in no time.
    png_set_compression_mem_level(png, 1);
    png_set_compression_window_bits(png, 9);
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_write_info(png, info);
    const size_t rowBytes = size_t(image.width) * (paletted ? 1 : 3);
    for (uint32_t y = 0; y < image.height; ++y) png_write_row(png, const_cast<png_bytep>(&image.pixels[y * rowBytes]));
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

fw::Expected<std::vector<uint8_t>> EncodePng(const Picture& image) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool written = info && WriteRows(png, info, image, out);
    png_destroy_write_struct(&png, info ? &info : nullptr);
    if (!written) return fw::Refuse("the PNG encoder could not write it");
    return out;
}
