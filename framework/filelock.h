#pragma once
#include <chrono>

#include "framework/file.h"

namespace fw {

// Takes an advisory lock on the file (shared for a load, exclusive for a
// save or its recovery), trying again while another program holds one for
// no longer than the patience given; false when it still does. A file
// system without locks cannot have two of our saves collide through them
// either, so there the lock counts as taken.
bool LockFileWithin(File& file, os::LockKind kind, std::chrono::milliseconds patience);

// How long a load or a save waits for another one on the same file: longer
// than a save of the largest file takes.
inline constexpr std::chrono::milliseconds kLockPatience{60000};

}  // namespace fw
