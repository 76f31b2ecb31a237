// Reading a chunk's bytes by its tag's fields, where bytes that do not fit
// the fields are no error but a reason to keep the chunk whole.
#pragma once

#include "toolkit3ds/error3ds.h"

// Runs `read`, then asks `fits`. False when the read recorded an error or
// `fits` says no: whatever the read recorded is taken back. Memory running
// out is a real failure: it stays recorded, and the answer is true.
template <class Read, class Fits>
bool ReadFitting3ds(Read read, Fits fits) {
    const detail3ds::ErrorListMark mark = detail3ds::MarkErrorList();
    read();
    if (ErrorPending3ds() && detail3ds::MemoryRanOutSince(mark)) {
        return true;
    }
    if (!ErrorPending3ds() && fits()) {
        return true;
    }
    detail3ds::RestoreErrorList(mark);
    return false;
}
