#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

#include "exchange/formats/picture.h"
#include "exchange/formats/storedbitmap.h"

// Writes a picture of the stored bitmap's dimensions into its pixel array,
// in its bit depth, row order and padding; headers, colour table, padding
// bytes and bits no colour mask covers keep their old values. A colour of
// a paletted bitmap becomes the index of that colour in its table, or of
// the nearest (NearestColour); a paletted picture whose entries agree with
// the table keeps its indices, so duplicate entries stay apart. Gives the
// number of pixels that took a colour other than their own.
size_t WritePixels(const StoredBitmapLayout& layout, const Picture& picture, std::span<uint8_t> bitmap);
