#pragma once
#include <filesystem>
#include <string>

#include "file.h"

namespace fw {

// Saves a file without ever truncating the only copy: the content goes to a
// new file in the same folder, which replaces the target only once it is
// complete and flushed. A failure leaves the target as it was.
class SafeSave {
public:
    SafeSave() = default;
    ~SafeSave() { Abandon(); }
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;

    // Checks that the target may be written and creates the new file; raises
    // the FileException a direct create of the target would have raised.
    void Begin(const std::filesystem::path& target);
    File& file() { return file_; }
    // Flushes, closes and puts the new file in the target's place.
    void Commit();
    // Closes and removes the new file; the target stays untouched.
    void Abandon() noexcept;

private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    File file_;
};

}  // namespace fw
