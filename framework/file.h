#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "fileexception.h"

namespace fw {

// A binary file of the framework's file layer: every failure raises a
// FileException that carries its cause and the file's path.
class File {
public:
    enum class Mode {
        read,            // open an existing file for reading
        readDenyWrite,   // as read, and other programs may not write meanwhile
        createWrite,     // create or truncate, write only
        createNew,       // create a file that must not exist yet, read and write
    };

    File() = default;
    File(const std::filesystem::path& path, Mode mode) { Open(path, mode); }
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    void Open(const std::filesystem::path& path, Mode mode);
    // Reads up to count bytes; fewer only at the end of the file.
    size_t Read(void* buffer, size_t count);
    void Write(const void* buffer, size_t count);
    void Flush();
    void Close();
    // Closes without raising anything, for clean-up after a failure.
    void Abort() noexcept;

    uint64_t Length() const;
    bool IsOpen() const { return handle_ >= 0; }
    const std::filesystem::path& path() const { return path_; }
    // Gives the file the permission bits of another file where the platform has them.
    void CopyPermissionsFrom(const std::filesystem::path& other);

private:
    [[noreturn]] void Fail(int errorNumber) const;

    int handle_ = -1;
    std::filesystem::path path_;
};

}  // namespace fw
