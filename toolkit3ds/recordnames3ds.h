// Bounded name handling shared by the mesh and material records: a record's
// name field is never read or written past the longest name the file format
// holds for it, whether or not the text ends within that bound.
#pragma once

#include <cstddef>

// Copies at most max characters of text into field, which holds max + 1 bytes,
// and terminates it.
void CopyBoundedName3ds(char* field, const char* text, size_t max);

// A heap copy (DuplicateString3ds) of at most max characters of field, or null
// with ERR_NO_MEM recorded.
char* DuplicateBoundedName3ds(const char* field, size_t max);
