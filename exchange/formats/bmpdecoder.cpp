#include "exchange/formats/bmpdecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;  // the OS/2 header: 16-bit sizes, 3-byte palette entries
constexpr uint64_t kMaxPixels = uint64_t(4096) * 4096;
constexpr uint32_t kRgb = 0, kBitFields = 3;

uint32_t Le(std::span<const uint8_t> bytes, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i) value |= uint32_t(bytes[at + i]) << (8 * i);
    return value;
}

struct Header {
    uint32_t pixelOffset = 0, width = 0, height = 0;
    bool topDown = false;
    uint32_t bits = 0, compression = kRgb;
    uint32_t paletteAt = 0, paletteEntries = 0, paletteStride = 4;
    std::array<uint32_t, 3> masks{0xFF0000, 0xFF00, 0xFF};  // red, green, blue
};

bool ReadInfoHeader(std::span<const uint8_t> file, uint32_t headerSize, Header& h) {
    if (headerSize < 40 || file.size() < uint64_t(kFileHeaderSize) + headerSize) return false;
    const int32_t height = int32_t(Le(file, 22, 4));
    const int32_t width = int32_t(Le(file, 18, 4));
    if (width <= 0 || height == 0 || height == INT32_MIN) return false;
    h.width = uint32_t(width);
    h.topDown = height < 0;
    h.height = uint32_t(std::abs(height));
    h.bits = Le(file, 28, 2);
    h.compression = Le(file, 30, 4);
    h.paletteAt = kFileHeaderSize + headerSize;
    h.paletteEntries = Le(file, 46, 4);
    if (h.compression == kBitFields) {
        const size_t at = headerSize >= 52 ? kFileHeaderSize + 40 : h.paletteAt;
        if (file.size() < at + 12) return false;
        for (size_t i = 0; i < 3; ++i) h.masks[i] = Le(file, at + 4 * i, 4);
        if (headerSize < 52) h.paletteAt += 12;
    } else if (h.bits == 16) {
        h.masks = {0x7C00, 0x3E0, 0x1F};
    }
    return true;
}

bool ReadHeader(std::span<const uint8_t> file, Header& h) {
    if (file.size() < kFileHeaderSize + kCoreHeaderSize || file[0] != 'B' || file[1] != 'M') return false;
    h.pixelOffset = Le(file, 10, 4);
    const uint32_t headerSize = Le(file, 14, 4);
    if (headerSize != kCoreHeaderSize) return ReadInfoHeader(file, headerSize, h);
    h.width = Le(file, 18, 2);
    h.height = Le(file, 20, 2);
    h.bits = Le(file, 24, 2);
    h.paletteAt = kFileHeaderSize + kCoreHeaderSize;
    h.paletteStride = 3;
    return h.width > 0 && h.height > 0;
}

std::string CheckHeader(const Header& h, size_t fileSize) {
    const bool palettised = h.bits == 1 || h.bits == 4 || h.bits == 8;
    if (!palettised && h.bits != 16 && h.bits != 24 && h.bits != 32)
        return "it has " + std::to_string(h.bits) + " bits per pixel, which no bitmap file has";
    if (h.compression != kRgb && !(h.compression == kBitFields && (h.bits == 16 || h.bits == 32)))
        return "it is compressed, and only uncompressed bitmaps can be converted";
    if (uint64_t(h.width) * h.height > kMaxPixels) return "it is larger than any bitmap of a data file";
    const uint64_t rowBytes = (uint64_t(h.width) * h.bits + 31) / 32 * 4;
    if (uint64_t(h.pixelOffset) + rowBytes * h.height > fileSize) return "its pixels end before the file does";
    return {};
}

// The palette as RGB, all 2^bits entries of it: those the file leaves out are black.
std::vector<uint8_t> ReadPalette(std::span<const uint8_t> file, const Header& h) {
    const uint32_t most = 1u << h.bits;
    uint32_t entries = h.paletteEntries == 0 || h.paletteEntries > most ? most : h.paletteEntries;
    std::vector<uint8_t> palette(size_t(most) * 3, 0);
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t at = h.paletteAt + size_t(i) * h.paletteStride;
        if (at + 3 > file.size() || at + 3 > h.pixelOffset) break;
        palette[i * 3] = file[at + 2];
        palette[i * 3 + 1] = file[at + 1];
        palette[i * 3 + 2] = file[at];
    }
    return palette;
}

uint8_t Channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const uint64_t top = mask >> shift;
    return uint8_t(((pixel & mask) >> shift) * uint64_t(255) / top);
}

void DecodeRow(std::span<const uint8_t> row, const Header& h, uint8_t* out) {
    if (h.bits == 8) {
        std::copy_n(row.begin(), h.width, out);
        return;
    }
    if (h.bits < 8) {
        for (uint32_t x = 0; x < h.width; ++x) {
            const uint64_t bit = uint64_t(x) * h.bits;
            out[x] = (row[bit / 8] >> (8 - h.bits - bit % 8)) & ((1u << h.bits) - 1);
        }
        return;
    }
    for (uint32_t x = 0; x < h.width; ++x, out += 3) {
        if (h.bits == 24) {
            out[0] = row[x * 3 + 2], out[1] = row[x * 3 + 1], out[2] = row[x * 3];
        } else {
            const uint32_t pixel = Le(row, size_t(x) * (h.bits / 8), h.bits / 8);
            for (size_t c = 0; c < 3; ++c) out[c] = Channel(pixel, h.masks[c]);
        }
    }
}

}  // namespace

fw::Expected<Picture> DecodeBmp(std::span<const uint8_t> file) {
    Header h;
    if (!ReadHeader(file, h)) return fw::Refuse("it is not a bitmap file, or its header is damaged");
    const std::string failure = CheckHeader(h, file.size());
    if (!failure.empty()) return fw::Refuse(failure);
    Picture image;
    if (h.bits <= 8) image.palette = ReadPalette(file, h);
    const size_t rowBytes = (size_t(h.width) * h.bits + 31) / 32 * 4;
    const size_t pixelBytes = h.bits <= 8 ? 1 : 3;
    image.width = h.width;
    image.height = h.height;
    image.pixels.resize(size_t(h.width) * h.height * pixelBytes);
    for (uint32_t y = 0; y < h.height; ++y) {
        const uint32_t stored = h.topDown ? y : h.height - 1 - y;
        DecodeRow(file.subspan(h.pixelOffset + stored * rowBytes, rowBytes), h,
                  &image.pixels[size_t(y) * h.width * pixelBytes]);
    }
    return image;
}
