#include "exchange/formats/bitmapformats.h"

#include <algorithm>

#include "exchange/formats/bmpdecoder.h"
#include "exchange/formats/formatbyextension.h"
#include "exchange/formats/pngdecoder.h"
#include "exchange/formats/pngencoder.h"
#include "exchange/formats/storedbitmap.h"

namespace {

// A bitmap is stored as a BMP file: its BMP is those bytes as they are.
fw::Expected<std::vector<uint8_t>> StoredBytes(const Picture&, std::span<const uint8_t> storedBitmap) {
    return std::vector<uint8_t>(storedBitmap.begin(), storedBitmap.end());
}

fw::Expected<std::vector<uint8_t>> PngOfPicture(const Picture& picture, std::span<const uint8_t>) {
    return EncodePng(picture);
}

constexpr BitmapFormat kFormats[] = {
    {"bmp", ".bmp", "BMP", StoredBytes, DecodeBmp},
    {"png", ".png", "PNG", PngOfPicture, DecodePng},
};

}  // namespace

std::span<const BitmapFormat> BitmapFormats() { return kFormats; }

const BitmapFormat& BmpFormat() { return kFormats[0]; }

const BitmapFormat& PngFormat() { return kFormats[1]; }

bool IsStoredFormat(const BitmapFormat& format) { return std::string_view(format.word) == BmpFormat().word; }

const BitmapFormat* BitmapFormatByWord(std::string_view word) {
    const auto found = std::find_if(std::begin(kFormats), std::end(kFormats),
                                    [&](const BitmapFormat& format) { return word == format.word; });
    return found == std::end(kFormats) ? nullptr : &*found;
}

const BitmapFormat* BitmapFormatOfFile(const std::filesystem::path& path) {
    return FormatByExtension(BitmapFormats(), path);
}

fw::Expected<std::vector<uint8_t>> EncodeStoredBitmap(const BitmapFormat& format, std::span<const uint8_t> stored) {
    if (IsStoredFormat(format)) return format.encode({}, stored);
    const auto picture = DecodeStoredBitmap(stored);
    if (!picture) return picture.refusal();
    return format.encode(*picture, stored);
}
