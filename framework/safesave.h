#pragma once
#include <filesystem>
#include <string>

#include "file.h"

namespace fw {

// Saves a file without ever truncating the only copy: the content goes to a
// new file in the same folder, which replaces the target only once it is
// complete and flushed. Where the folder takes no new files but the target
// itself may be written, the target is written in place after a copy of it
// went to the private temporary folder, and that copy is put back if the
// write fails. A failure leaves the target as it was.
class SafeSave {
public:
    SafeSave() = default;
    ~SafeSave() { Abandon(); }
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;

    // Checks that the target may be written and opens the file to write;
    // raises the FileException a direct create of the target would have raised.
    void Begin(const std::filesystem::path& target);
    File& file() { return file_; }
    // Flushes, closes and puts the new content in the target's place.
    void Commit();
    // Closes the file and leaves the target as it was.
    void Abandon() noexcept;

private:
    bool CreateBeside();
    void BeginInPlace();

    std::filesystem::path target_;
    std::filesystem::path temporary_;  // the new file beside the target
    std::filesystem::path backup_;     // the old content, when writing in place
    File file_;
};

}  // namespace fw
