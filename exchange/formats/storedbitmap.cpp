#include "exchange/formats/storedbitmap.h"

#include "exchange/formats/bmpdecoder.h"

namespace {

fw::Refusal Damaged(const std::string& why) { return fw::Refuse("This bitmap is damaged: " + why + "."); }

}  // namespace

fw::Expected<StoredBitmapLayout> ReadStoredBitmapLayout(std::span<const uint8_t> bitmap) {
    const auto header = ReadBmpHeader(bitmap);
    if (!header) return Damaged(header.why());
    return StoredBitmapLayout{*header, ReadBmpPalette(bitmap, *header), !header->Compressed()};
}

fw::Expected<Picture> DecodeStoredBitmap(std::span<const uint8_t> bitmap) {
    auto picture = DecodeBmp(bitmap);
    if (!picture) return Damaged(picture.why());
    return picture;
}
