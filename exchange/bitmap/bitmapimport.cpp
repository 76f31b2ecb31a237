#include "exchange/bitmap/bitmapimport.h"

#include <algorithm>
#include <string_view>

#include "exchange/bitmap/pixelwriter.h"
#include "exchange/formats/bmpdecoder.h"
#include "exchange/formats/bmplayouts.h"
#include "exchange/formats/storedbitmap.h"
#include "framework/littleendian.h"

namespace {

constexpr std::string_view kTimes = " \u00D7 ";

// The header fields a file shares with the bitmap when it can take its
// place byte for byte: the info header's size, then width, height, planes
// and depth (the OS/2 header) and compression (the others).
std::span<const uint8_t> LayoutFields(std::span<const uint8_t> bmp) {
    constexpr size_t at = bmp::FileHeader::kSize;
    const auto headerSize = pallix::ReadU32(bmp, at + bmp::InfoHeader::kHeaderSize);
    if (!headerSize || bmp[0] != 'B' || bmp[1] != 'M') return {};
    const size_t fields =
        *headerSize == bmp::CoreHeader::kSize ? bmp::CoreHeader::kSize : bmp::InfoHeader::kCompression + 4;
    return pallix::FitsIn(bmp, at, fields) ? bmp.subspan(at, fields) : std::span<const uint8_t>();
}

bool ByteCompatible(std::span<const uint8_t> stored, std::span<const uint8_t> file, const BitmapFormat& format) {
    if (!IsStoredFormat(format) || file.size() != stored.size()) return false;
    const auto ours = LayoutFields(stored), theirs = LayoutFields(file);
    return !ours.empty() && std::equal(ours.begin(), ours.end(), theirs.begin(), theirs.end());
}

std::string Dimensions(uint32_t width, uint32_t height) {
    return std::to_string(width) + std::string(kTimes) + std::to_string(height);
}

BitmapImport Taken(std::span<const uint8_t> file, size_t pixels) {
    BitmapImport import;
    import.bytes.assign(file.begin(), file.end());
    import.byteCompatible = true;
    import.pixelCount = pixels;
    return import;
}

// A file of the bitmap's own layout is the bitmap as an indexed editor left
// it, colour table and all; only a file that damages a sound bitmap is not.
fw::Expected<BitmapImport> TakeAsItIs(std::span<const uint8_t> stored, std::span<const uint8_t> file,
                                      const std::string& shownName) {
    const auto ours = DecodeStoredBitmap(stored);
    if (!ours) return Taken(file, 0);
    const auto theirs = DecodeBmp(file);
    if (!theirs) return fw::Refuse(shownName + " cannot be imported: " + theirs.why() + ". Nothing was changed.");
    return Taken(file, size_t(ours->width) * ours->height);
}

fw::Refusal CannotWriteInto(const fw::Expected<StoredBitmapLayout>& layout, const std::string& shownName) {
    const std::string why = layout ? "This bitmap is run-length coded, so only a BMP file of its own length, size, "
                                     "depth and compression can take its place byte for byte."
                                   : layout.why() + " Only a BMP file of its own length and layout can take its place.";
    return fw::Refuse(why + " " + shownName + " is not one; nothing was changed.");
}

}  // namespace

fw::Expected<BitmapImport> ImportIntoBitmap(std::span<const uint8_t> stored, std::span<const uint8_t> file,
                                            const BitmapFormat& format, const std::string& shownName) {
    if (ByteCompatible(stored, file, format)) return TakeAsItIs(stored, file, shownName);
    const auto layout = ReadStoredBitmapLayout(stored);
    if (!layout || !layout->writable) return CannotWriteInto(layout, shownName);
    const auto picture = format.decode(file);
    if (!picture) return fw::Refuse(shownName + " cannot be imported: " + picture.why() + ". Nothing was changed.");
    const BmpHeader& h = layout->header;
    if (picture->width != h.width || picture->height != h.height)
        return fw::Refuse(shownName + " is " + Dimensions(picture->width, picture->height) +
                          " pixels; this bitmap is " + Dimensions(h.width, h.height) + ". Scale it to " +
                          Dimensions(h.width, h.height) + " and import it again.");
    if (h.bits <= 8 && layout->palette.empty())
        return fw::Refuse("This bitmap has no colour table to take colours from; nothing was changed.");
    BitmapImport import;
    import.bytes.assign(stored.begin(), stored.end());
    import.approximated = WritePixels(*layout, *picture, import.bytes);
    import.pixelCount = size_t(h.width) * h.height;
    import.tableSize = layout->palette.size() / 3;
    return import;
}

namespace {

// "1 024": thousands apart, as the status line shows counts.
std::string Grouped(size_t number) {
    std::string digits = std::to_string(number);
    for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, " ");
    return digits;
}

}  // namespace

std::string DescribeImport(const BitmapImport& import, const std::string& shownName) {
    if (import.approximated == 0) return {};
    return shownName + ": " + Grouped(import.approximated) + " of " + Grouped(import.pixelCount) +
           " pixels took the nearest colour of the bitmap's " + std::to_string(import.tableSize) + "-colour table";
}
