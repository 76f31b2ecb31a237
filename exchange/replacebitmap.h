#pragma once
#include "file.h"
#include "itemrecord.h"

class CPallixView;

// Puts the bytes of a BMP file, open for reading at its start, in the place
// of a bitmap of the image, then gives every copy of that bitmap the same
// bytes and marks the document modified. The bitmap keeps its length: a
// shorter file replaces only its first bytes, a longer one gives only its
// first nSize bytes. A read error raises the file's FileException, and then
// nothing has changed.
void ReplaceBitmap(CPallixView& view, const ItemRecord& record, fw::File& source);
