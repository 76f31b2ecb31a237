#include "exchange/formats/pngdecoder.h"

#include <algorithm>

#include <png.h>

namespace {

// The file as libpng reads it: a cursor over the bytes, and what went wrong.
struct Source {
    std::span<const uint8_t> file;
    size_t at = 0;
    const char* failure = nullptr;  // the refusal, when it is ours rather than libpng's
};

void ReadBytes(png_structp png, png_bytep out, png_size_t size) {
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (size > source->file.size() - source->at) {
        source->failure = "it ends before its picture does";
        png_error(png, "truncated");
    }
    std::copy_n(source->file.data() + source->at, size, out);
    source->at += size;
}

// libpng allocates a chunk's declared length before it reads the chunk, so
// a file of a few bytes could claim a gigabyte of text: every chunk up to
// the last must lie inside the file before libpng sees any.
bool ChunksLieInside(std::span<const uint8_t> file) {
    constexpr size_t kFraming = 12;  // length, type and checksum
    for (size_t at = 8; file.size() - at >= kFraming;) {
        const uint32_t length = uint32_t(file[at]) << 24 | uint32_t(file[at + 1]) << 16 |
                                uint32_t(file[at + 2]) << 8 | uint32_t(file[at + 3]);
        if (length > file.size() - at - kFraming) return false;
        if (std::equal(file.begin() + long(at) + 4, file.begin() + long(at) + 8, "IEND")) return true;
        at += kFraming + length;
    }
    return true;  // cut short between chunks: libpng finds the end missing
}

// libpng's own words go nowhere: the refusal says what went wrong.
[[noreturn]] void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// libpng's warnings are about ancillary details a picture can do without.
void IgnoreWarning(png_structp, png_const_charp) {}

// Every colour type and depth to 8 bits a channel: indices with their
// palette, or RGB; alpha dropped, since bitmaps have none.
void AskForIndicesOrRgb(png_structp png, png_infop info) {
    const int type = png_get_color_type(png, info);
    if (png_get_bit_depth(png, info) == 16) png_set_scale_16(png);
    if (type == PNG_COLOR_TYPE_PALETTE) {
        png_set_packing(png);
    } else {
        if (!(type & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
        if (type & PNG_COLOR_MASK_ALPHA) png_set_strip_alpha(png);
        png_set_expand_gray_1_2_4_to_8(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

void ReadPalette(png_structp png, png_infop info, Picture& picture) {
    png_colorp colours = nullptr;
    int count = 0;
    png_get_PLTE(png, info, &colours, &count);
    for (int i = 0; i < count; ++i)
        picture.palette.insert(picture.palette.end(), {colours[i].red, colours[i].green, colours[i].blue});
}

// Runs libpng's steps, which report errors by longjmp: nothing here owns
// anything that would need destroying on the way out.
bool ReadPicture(png_structp png, png_infop info, Source& source, Picture& picture, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, &source, ReadBytes);
    png_read_info(png, info);
    const uint32_t width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    // Checked before a row is allocated: a small file may claim a huge picture.
    if (uint64_t(width) * height > kMaxPicturePixels) {
        source.failure = "it is larger than the 4096 \u00D7 4096 pixels a picture may have";
        return false;
    }
    AskForIndicesOrRgb(png, info);
    const bool paletted = png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE;
    const size_t rowBytes = size_t(width) * (paletted ? 1 : 3);
    if (png_get_rowbytes(png, info) != rowBytes) {
        source.failure = "it is a PNG of a kind that cannot be read";
        return false;
    }
    if (paletted) ReadPalette(png, info, picture);
    picture.width = width, picture.height = height;
    picture.pixels.resize(rowBytes * height);
    rows.resize(height);
    for (uint32_t y = 0; y < height; ++y) rows[y] = picture.pixels.data() + y * rowBytes;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

fw::Expected<Picture> DecodePng(std::span<const uint8_t> file) {
    if (file.size() < 8 || png_sig_cmp(file.data(), 0, 8) != 0) return fw::Refuse("it is not a PNG file");
    if (!ChunksLieInside(file)) return fw::Refuse("it ends before its picture does");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, IgnoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return fw::Refuse("it could not be read: the PNG decoder did not start");
    }
    // Ancillary chunks (text, colour profiles) cannot claim more than this.
    png_set_chunk_malloc_max(png, 8u << 20);
    Source source{file};
    Picture picture;
    std::vector<png_bytep> rows;
    const bool read = ReadPicture(png, info, source, picture, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!read) return fw::Refuse(source.failure ? source.failure : "it is a damaged PNG file");
    if (!picture.palette.empty()) CoverIndices(picture);
    return picture;
}
