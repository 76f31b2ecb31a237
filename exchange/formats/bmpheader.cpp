#include "exchange/formats/bmpheader.h"

#include <string>

#include "exchange/formats/bmplayouts.h"
#include "exchange/formats/picture.h"
#include "framework/littleendian.h"

using namespace bmp;

bool BmpHeader::Compressed() const { return compression == Compression::kRle8 || compression == Compression::kRle4; }

uint32_t BmpHeader::RowBytes() const { return uint32_t((uint64_t(width) * bits + 31) / 32 * 4); }

namespace {

constexpr uint32_t kInfoAt = FileHeader::kSize;

uint32_t U32(std::span<const uint8_t> file, uint32_t infoOffset) {
    return pallix::ReadU32(file, kInfoAt + infoOffset).value_or(0);
}

uint32_t U16(std::span<const uint8_t> file, uint32_t infoOffset) {
    return pallix::ReadU16(file, kInfoAt + infoOffset).value_or(0);
}

fw::Expected<BmpHeader> ReadCoreHeader(std::span<const uint8_t> file, BmpHeader h) {
    h.width = U16(file, CoreHeader::kWidth);
    h.height = U16(file, CoreHeader::kHeight);
    h.bits = U16(file, CoreHeader::kBitCount);
    h.paletteStride = CoreHeader::kColourSize;
    return h;
}

// Where the masks of 16- and 32-bit pixels lie: inside the longer headers,
// after the 40-byte one (three, or four with alpha) when it names them.
fw::Expected<BmpHeader> ReadMasks(std::span<const uint8_t> file, BmpHeader h) {
    const bool masked = h.compression == Compression::kBitFields || h.compression == Compression::kAlphaBitFields;
    if (!masked) {
        if (h.bits == 16) h.masks = {0x7C00, 0x3E0, 0x1F};
        if (h.bits == 32) h.masks = {0xFF0000, 0xFF00, 0xFF};
        return h;
    }
    uint32_t at = kInfoAt + InfoHeader::kRedMask;
    if (h.headerSize < InfoHeader::kWithMasksSize) {
        at = h.paletteAt;
        h.paletteAt += h.compression == Compression::kAlphaBitFields ? 16 : 12;
    }
    if (!pallix::FitsIn(file, at, 12)) return fw::Refuse("ends inside its colour masks");
    for (uint32_t i = 0; i < 3; ++i) h.masks[i] = *pallix::ReadU32(file, at + 4 * i);
    return h;
}

fw::Expected<BmpHeader> ReadInfoHeader(std::span<const uint8_t> file, BmpHeader h) {
    const auto width = int32_t(U32(file, InfoHeader::kWidth));
    const auto height = int32_t(U32(file, InfoHeader::kHeight));
    if (width <= 0 || height == 0 || height == INT32_MIN) return fw::Refuse("has no width or no height");
    h.width = uint32_t(width);
    h.topDown = height < 0;
    h.height = h.topDown ? uint32_t(-int64_t(height)) : uint32_t(height);
    h.bits = U16(file, InfoHeader::kBitCount);
    h.compression = U32(file, InfoHeader::kCompression);
    h.paletteEntries = U32(file, InfoHeader::kColoursUsed);
    return ReadMasks(file, h);
}

std::string Named(uint32_t bits) { return std::to_string(bits) + " bits per pixel"; }

// The depth and the compression, each alone and together.
std::string CheckCoding(const BmpHeader& h) {
    const bool paletted = h.bits == 1 || h.bits == 4 || h.bits == 8;
    if (!paletted && h.bits != 16 && h.bits != 24 && h.bits != 32)
        return "has " + Named(h.bits) + ", which no bitmap file has";
    switch (h.compression) {
        case Compression::kNone: return {};
        case Compression::kRle8:
            return h.bits == 8 ? "" : "is run-length coded for 8 bits per pixel but has " + Named(h.bits);
        case Compression::kRle4:
            return h.bits == 4 ? "" : "is run-length coded for 4 bits per pixel but has " + Named(h.bits);
        case Compression::kBitFields:
        case Compression::kAlphaBitFields:
            return h.bits == 16 || h.bits == 32 ? "" : "has colour masks, which " + Named(h.bits) + " cannot have";
        case Compression::kJpeg:
        case Compression::kPng:
            return "holds a JPEG or PNG picture inside, which no bitmap does; save it as a plain BMP";
        default: return "is compressed in a way no bitmap file is (" + std::to_string(h.compression) + ")";
    }
}

// The colour table lies between the headers and the pixels; a table shorter
// than the depth allows is read as far as it goes.
std::string PlaceTable(BmpHeader& h, size_t fileSize) {
    if (h.pixelOffset < h.paletteAt || h.pixelOffset > fileSize) return "points to its pixels outside the file";
    if (h.bits > 8) {
        h.paletteEntries = 0;
        return {};
    }
    const uint32_t most = 1u << h.bits;
    const uint32_t room = (h.pixelOffset - h.paletteAt) / h.paletteStride;
    if (h.paletteEntries == 0 || h.paletteEntries > most) h.paletteEntries = most;
    if (h.paletteEntries > room) h.paletteEntries = room;
    return {};
}

std::string CheckSize(const BmpHeader& h, size_t fileSize) {
    if (uint64_t(h.width) * h.height > kMaxPicturePixels)
        return "is " + std::to_string(h.width) + " \u00D7 " + std::to_string(h.height) +
               " pixels, more than the 4096 \u00D7 4096 a picture may have";
    if (!h.Compressed() && uint64_t(h.RowBytes()) * h.height > fileSize - h.pixelOffset)
        return "ends before its last row of pixels";
    return {};
}

fw::Expected<BmpHeader> ReadHeaders(std::span<const uint8_t> file) {
    if (file.size() < kInfoAt + CoreHeader::kSize || file[FileHeader::kTag] != 'B' || file[FileHeader::kTag + 1] != 'M')
        return fw::Refuse("is not a BMP file");
    BmpHeader h;
    h.pixelOffset = *pallix::ReadU32(file, FileHeader::kPixelOffset);
    h.headerSize = U32(file, InfoHeader::kHeaderSize);
    if (h.headerSize != CoreHeader::kSize && h.headerSize < InfoHeader::kSize)
        return fw::Refuse("has a header of " + std::to_string(h.headerSize) + " bytes, which no BMP file has");
    if (!pallix::FitsIn(file, kInfoAt, h.headerSize)) return fw::Refuse("ends inside its header");
    h.paletteAt = kInfoAt + h.headerSize;
    auto read = h.headerSize == CoreHeader::kSize ? ReadCoreHeader(file, h) : ReadInfoHeader(file, h);
    if (!read) return read;
    if (read->width == 0 || read->height == 0) return fw::Refuse("has no width or no height");
    std::string failure = CheckCoding(*read);
    if (failure.empty()) failure = PlaceTable(*read, file.size());
    if (failure.empty()) failure = CheckSize(*read, file.size());
    if (!failure.empty()) return fw::Refuse(failure);
    return read;
}

}  // namespace

fw::Expected<BmpHeader> ReadBmpHeader(std::span<const uint8_t> file) {
    auto header = ReadHeaders(file);
    if (!header) return fw::Refuse("it " + header.why());
    return header;
}

std::vector<uint8_t> ReadBmpPalette(std::span<const uint8_t> file, const BmpHeader& h) {
    std::vector<uint8_t> palette(size_t(h.paletteEntries) * 3);
    for (uint32_t i = 0; i < h.paletteEntries; ++i) {
        const size_t at = h.paletteAt + size_t(i) * h.paletteStride;
        palette[i * 3] = file[at + 2];
        palette[i * 3 + 1] = file[at + 1];
        palette[i * 3 + 2] = file[at];
    }
    return palette;
}
