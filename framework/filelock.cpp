#include "framework/filelock.h"

#include <algorithm>
#include <cerrno>
#include <thread>

namespace fw {

bool LockFileWithin(File& file, os::LockKind kind, std::chrono::milliseconds patience) {
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    for (auto pause = std::chrono::milliseconds(1);; pause = std::min(pause * 2, std::chrono::milliseconds(50))) {
        try {
            if (file.Lock(kind, false)) return true;
        } catch (const FileException&) {
            if (errno == ENOLCK || errno == EOPNOTSUPP) return true;
            throw;
        }
        if (std::chrono::steady_clock::now() >= giveUp) return false;
        std::this_thread::sleep_for(pause);
    }
}

}  // namespace fw
