#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "datafile/itemrecord.h"
#include "datafile/pallixdoc.h"
#include "framework/file.h"

// Puts the bytes of a BMP file, open for reading at its start, in the place
// of a bitmap of the image, then gives every copy of that bitmap (the
// bitmaps at `copies`) the same bytes and marks the document modified. The
// bitmap keeps its length: a shorter file replaces only its first bytes, a
// longer one gives only its first nSize bytes. A read error raises the
// file's FileException, and then nothing has changed.
void ReplaceBitmap(CPallixDoc& document, const ItemRecord& record, const std::vector<uint32_t>& copies,
                   fw::File& source);

// The bitmap's new bytes, of its own length, in its place and its copies';
// the document is marked modified.
void WriteBitmapBytes(CPallixDoc& document, const ItemRecord& record, const std::vector<uint32_t>& copies,
                      std::span<const uint8_t> bytes);
