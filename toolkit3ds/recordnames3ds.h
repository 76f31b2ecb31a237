// Helpers shared by the mesh, material and settings records: allocation of a
// record by its prepare operation, and bounded names. A record's name field is
// never read or written past the longest name the file format holds for it,
// whether or not the text ends within that bound.
#pragma once

#include <cstddef>
#include <cstdlib>

#include "toolkit3ds/error3ds.h"

// The record to prepare: *record when it exists (*reused true), else a new
// zeroed one. Null, with ERR_INVALID_ARG or ERR_NO_MEM recorded, when there
// is none.
template <typename Record>
Record* ObtainRecord3ds(Record** record, bool* reused) {
    if (record == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return nullptr;
    }
    *reused = *record != nullptr;
    if (!*reused) {
        *record = static_cast<Record*>(std::calloc(1, sizeof(Record)));
        if (*record == nullptr) PushError3ds(ERR_NO_MEM);
    }
    return *record;
}

// Copies at most max characters of text into field, which holds max + 1 bytes,
// and terminates it.
void CopyBoundedName3ds(char* field, const char* text, size_t max);

// CopyBoundedName3ds into a record's field; a null field or text records
// ERR_INVALID_ARG.
void SetNameField3ds(char* field, const char* text, size_t max);

// A heap copy (DuplicateString3ds) of at most max characters of field, or null
// with ERR_NO_MEM recorded.
char* DuplicateBoundedName3ds(const char* field, size_t max);
