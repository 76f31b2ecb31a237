#include "exchange/formats/storedbitmap.h"

#include "exchange/formats/bmpdecoder.h"

fw::Expected<StoredBitmapLayout> ReadStoredBitmapLayout(std::span<const uint8_t>) {
    return fw::Refuse("This bitmap is damaged: its layout cannot be read yet.");
}

fw::Expected<Picture> DecodeStoredBitmap(std::span<const uint8_t> bitmap) {
    auto picture = DecodeBmp(bitmap);
    if (!picture) return fw::Refuse("This bitmap is damaged: " + picture.why() + ".");
    return picture;
}
