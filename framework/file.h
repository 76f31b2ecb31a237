#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "framework/fileexception.h"
#include "framework/os.h"

namespace fw {

// A binary file of the framework's file layer: every failure raises a
// FileException that carries its cause and the file's path. Only regular
// files are opened: a folder, a pipe or a device is refused, without
// waiting for a pipe's other end.
class File {
public:
    // read, readDenyWrite, readWrite, createWrite, createNew, createPrivate:
    // see os::OpenMode for what each lets other programs do meanwhile.
    using Mode = os::OpenMode;

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
    bool IsOpen() const { return handle_ != os::kNoHandle; }
    const std::filesystem::path& path() const { return path_; }
    // Gives the file the permission bits of another file where the platform has them.
    void CopyPermissionsFrom(const std::filesystem::path& other);
    // An advisory lock on the whole file between programs that ask for one
    // (see os::LockFile); false when another program holds one that this
    // one cannot share and `wait` is not set. Closing the file ends it.
    bool Lock(os::LockKind kind, bool wait);
    void Unlock();

    // Called before every write and flush of any file, so that tests can stop
    // a program at each step of a save; null in the program itself.
    static void SetBeforeWriteHook(void (*hook)()) { beforeWrite_ = hook; }
    static void BeforeWrite() {
        if (beforeWrite_) beforeWrite_();
    }

private:
    [[noreturn]] void Fail(int errorNumber) const;

    inline static void (*beforeWrite_)() = nullptr;
    os::Handle handle_ = os::kNoHandle;
    std::filesystem::path path_;
};

// Flushes a folder's list of names, so that a file created or removed in it
// stays so after a power cut (see os::FlushFolder).
inline void FlushFolder(const std::filesystem::path& folder) noexcept { os::FlushFolder(folder); }

// Puts what was written on the folder's file system on the disk, in one
// call: after many files, one wait instead of one per file.
inline void SyncFileSystemOf(const std::filesystem::path& folder) noexcept { os::SyncFileSystemOf(folder); }

}  // namespace fw
