#include "framework/filelock.h"

#include <algorithm>
#include <cerrno>
#include <thread>

#ifdef _WIN32
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX  // keeps std::min usable
#endif
#include <windows.h>
#else
#include <sys/file.h>
#endif

namespace fw {

bool TryLockFile(const File& file, LockKind kind) noexcept {
#ifdef _WIN32
    // Windows' locks bar reads and writes of the range they cover, so the one
    // byte locked lies far beyond any content: it only stands for the file.
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.NativeHandle()));
    OVERLAPPED at{};
    at.Offset = 0xFFFFFFFE;
    at.OffsetHigh = 0x7FFFFFFF;
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (kind == LockKind::exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    return LockFileEx(handle, flags, 0, 1, 0, &at) != 0;
#else
    const int operation = (kind == LockKind::exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int result = 0;
    do result = ::flock(file.NativeHandle(), operation);
    while (result != 0 && errno == EINTR);
    // A file system without locks cannot have two of our saves collide on it through them either.
    return result == 0 || errno == ENOLCK || errno == EOPNOTSUPP;
#endif
}

bool LockFileWithin(const File& file, LockKind kind, std::chrono::milliseconds patience) {
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    for (auto pause = std::chrono::milliseconds(1);; pause = std::min(pause * 2, std::chrono::milliseconds(50))) {
        if (TryLockFile(file, kind)) return true;
        if (std::chrono::steady_clock::now() >= giveUp) return false;
        std::this_thread::sleep_for(pause);
    }
}

}  // namespace fw
