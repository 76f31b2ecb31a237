#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "datafile/itemrecord.h"
#include "datafile/pallixdoc.h"
#include "framework/expected.h"

// Puts a bitmap's new bytes (ImportIntoBitmap's, of the bitmap's own
// length) in its place in the image, restamps its bfSize with that length so
// the bank's record chain stays intact, gives every copy of it (the bitmaps
// at `copies`) the same bytes and marks the document modified. Refused,
// with nothing changed, when the bitmap does not lie inside the image or
// the bytes are not of its length.
fw::Expected<void> ReplaceBitmap(CPallixDoc& document, const ItemRecord& record, const std::vector<uint32_t>& copies,
                                 std::span<const uint8_t> bytes);
