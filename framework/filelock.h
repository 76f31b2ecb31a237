#pragma once
#include <chrono>

#include "framework/file.h"

namespace fw {

enum class LockKind {
    shared,     // a load: saves of this program wait until it has read the file
    exclusive,  // a save or its recovery: nobody else of this program reads or writes meanwhile
};

// Takes an advisory lock on an open file, which only this program's loads
// and saves honour, without waiting; false when another process holds a
// lock that conflicts. The lock ends when the file is closed.
bool TryLockFile(const File& file, LockKind kind) noexcept;

// Takes the lock, trying again while another process holds it for no longer
// than the patience given; false when it still does.
bool LockFileWithin(const File& file, LockKind kind, std::chrono::milliseconds patience);

// How long a load or a save waits for another one on the same file: longer
// than a save of the largest file takes.
inline constexpr std::chrono::milliseconds kLockPatience{60000};

}  // namespace fw
