#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "framework/fileexception.h"

namespace fw {

// Which file an open handle reaches, and the state it was in: the same
// device and index mean the same file under any name or link; size and
// modification time tell whether it was written since.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t index = 0;
    uint64_t size = 0;
    int64_t modified = 0;  // nanoseconds, or the platform's finest unit

    bool SameFile(const FileIdentity& other) const { return device == other.device && index == other.index; }
    bool operator==(const FileIdentity&) const = default;
};

// A binary file of the framework's file layer: every failure raises a
// FileException that carries its cause and the file's path. Only regular
// files are opened: a folder, a pipe or a device is refused, without
// waiting for a pipe's other end.
class File {
public:
    enum class Mode {
        read,           // open an existing file for reading
        readDenyWrite,  // as read, and other programs may not write meanwhile
        readWrite,      // open an existing file for reading and writing in place
        createWrite,    // create or truncate, write only, never through a link
        createNew,      // create a file that must not exist yet, read and write
        createPrivate,  // as createNew, for this user only, and never through a link
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
    void Seek(uint64_t offset);
    void Flush();
    void Close();
    // Closes without raising anything, for clean-up after a failure.
    void Abort() noexcept;

    uint64_t Length() const;
    FileIdentity Identity() const;
    bool IsOpen() const { return handle_ >= 0; }
    // The C library's handle, for the calls this class does not wrap (locks).
    int NativeHandle() const { return handle_; }
    const std::filesystem::path& path() const { return path_; }
    // Gives the file the permission bits of another file where the platform has them.
    void CopyPermissionsFrom(const std::filesystem::path& other);

    // Called before every write and flush of any file, so that tests can stop
    // a program at each step of a save; null in the program itself.
    static void SetBeforeWriteHook(void (*hook)()) { beforeWrite_ = hook; }
    static void BeforeWrite() {
        if (beforeWrite_) beforeWrite_();
    }

private:
    [[noreturn]] void Fail(int errorNumber) const;

    inline static void (*beforeWrite_)() = nullptr;
    int handle_ = -1;
    std::filesystem::path path_;
};

// Flushes a folder's list of names, so that a file created or removed in it
// stays so after a power cut; does nothing where the platform does that itself.
void FlushFolder(const std::filesystem::path& folder) noexcept;

}  // namespace fw
