#pragma once
#include <filesystem>
#include <string>

#include "framework/file.h"

namespace fw {

// Writes a whole new file without ever truncating the only copy of an old
// one: the content goes to a hidden file in the target's folder, which
// replaces the target only once it is complete and flushed. A failure
// leaves the target as it was, and every exception names the target, never
// the hidden file. What a save that was killed left behind of our own
// naming is removed by the next save into the same target.
class SafeSave {
public:
    SafeSave() = default;
    ~SafeSave() { Abandon(); }
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;

    // Checks that the target may be written and opens the file to write;
    // raises the FileException a direct create of the target would have raised.
    void Begin(const std::filesystem::path& target);
    void Write(const void* buffer, size_t count);
    // Flushes, closes and puts the new content in the target's place; returns
    // the identity of the file that now has the target's name.
    FileIdentity Commit();
    // Closes the file and leaves the target as it was.
    void Abandon() noexcept;

private:
    template <typename Step>
    auto AsTarget(Step step);
    void CreateBeside();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    File file_;
};

// Raises the FileException a write of the target would meet, when it exists
// and is a folder, a pipe or a device, or a file that may not be written.
void CheckTargetWritable(const std::filesystem::path& target);

// As CheckTargetWritable for a file an export writes, which also refuses a
// link: whoever made it, it was not the program, which writes its exports
// as plain files.
void CheckExportTarget(const std::filesystem::path& target);

// Removes the hidden files that saves into this target left when they were
// killed: older ones of any process, and those of processes no longer running.
void RemoveSaveLeftovers(const std::filesystem::path& target) noexcept;

}  // namespace fw
