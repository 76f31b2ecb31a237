#include "framework/file.h"
#include "framework/pathtext.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <cerrno>

#ifdef _WIN32
#include <io.h>
#include <share.h>
#ifndef NOMINMAX
#define NOMINMAX  // keeps std::min usable
#endif
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fw {

namespace {

// Large transfers go in pieces: some platforms cap one call near 2 GiB.
constexpr size_t kMaxChunk = size_t(1) << 30;

#ifdef _WIN32
using Stat = struct _stat64;
int StatHandle(int h, Stat* info) { return _fstat64(h, info); }
int StatPath(const std::filesystem::path& p, Stat* info) { return _wstat64(p.c_str(), info); }
bool IsRegular(const Stat& info) { return (info.st_mode & _S_IFMT) == _S_IFREG; }
bool IsFolder(const Stat& info) { return (info.st_mode & _S_IFMT) == _S_IFDIR; }

int OpenRaw(const std::filesystem::path& path, File::Mode mode) {
    int flags = _O_BINARY | _O_NOINHERIT;
    int share = _SH_DENYNO;
    int permissions = _S_IREAD | _S_IWRITE;
    switch (mode) {
        case File::Mode::read: flags |= _O_RDONLY; break;
        case File::Mode::readDenyWrite:
            flags |= _O_RDONLY;
            share = _SH_DENYWR;
            break;
        case File::Mode::readWrite:
            flags |= _O_RDWR;
            share = _SH_DENYWR;
            break;
        case File::Mode::createWrite: flags |= _O_WRONLY | _O_CREAT | _O_TRUNC; break;
        case File::Mode::createNew:
        case File::Mode::createPrivate:
            flags |= _O_RDWR | _O_CREAT | _O_EXCL;
            share = _SH_DENYRW;
            break;
    }
    int handle = -1;
    _wsopen_s(&handle, path.c_str(), flags, share, permissions);
    return handle;
}
void EndNonBlocking(int) {}
long long ReadSome(int h, void* b, size_t n) { return _read(h, b, static_cast<unsigned>(n)); }
long long WriteSome(int h, const void* b, size_t n) { return _write(h, b, static_cast<unsigned>(n)); }
long long SeekTo(int h, uint64_t offset) { return _lseeki64(h, static_cast<long long>(offset), SEEK_SET); }
int SyncHandle(int h) { return _commit(h); }
int CloseHandle(int h) { return _close(h); }
#else
using Stat = struct stat;
int StatHandle(int h, Stat* info) { return ::fstat(h, info); }
int StatPath(const std::filesystem::path& p, Stat* info) { return ::stat(p.c_str(), info); }
bool IsRegular(const Stat& info) { return S_ISREG(info.st_mode); }
bool IsFolder(const Stat& info) { return S_ISDIR(info.st_mode); }

// Every open is non-blocking, so that a pipe without a writer is refused
// at once instead of holding the program; regular files are then read and
// written as usual.
int OpenRaw(const std::filesystem::path& path, File::Mode mode) {
    int flags = O_CLOEXEC | O_NONBLOCK;
    mode_t permissions = 0666;
    switch (mode) {
        case File::Mode::read:
        case File::Mode::readDenyWrite: flags |= O_RDONLY; break;
        case File::Mode::readWrite: flags |= O_RDWR; break;
        case File::Mode::createWrite: flags |= O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW; break;
        case File::Mode::createNew: flags |= O_RDWR | O_CREAT | O_EXCL; break;
        case File::Mode::createPrivate:
            flags |= O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
            permissions = 0600;
            break;
    }
    return ::open(path.c_str(), flags, permissions);
}
void EndNonBlocking(int h) { ::fcntl(h, F_SETFL, ::fcntl(h, F_GETFL) & ~O_NONBLOCK); }
long long ReadSome(int h, void* b, size_t n) { return ::read(h, b, n); }
long long WriteSome(int h, const void* b, size_t n) { return ::write(h, b, n); }
long long SeekTo(int h, uint64_t offset) { return ::lseek(h, static_cast<off_t>(offset), SEEK_SET); }
int SyncHandle(int h) { return ::fsync(h); }
int CloseHandle(int h) { return ::close(h); }
#endif

// Opens the file and refuses anything but a regular file; -1 with errno
// set, or EINVAL for a pipe or a device.
int OpenHandle(const std::filesystem::path& path, File::Mode mode) {
    const int handle = OpenRaw(path, mode);
    if (handle < 0) return -1;
    Stat info{};
    if (StatHandle(handle, &info) == 0 && !IsRegular(info)) {
        CloseHandle(handle);
        errno = IsFolder(info) ? EISDIR : EINVAL;
        return -1;
    }
    EndNonBlocking(handle);
    return handle;
}

// Whether the path names something that exists but is neither a file nor a folder.
bool IsSpecialFile(const std::filesystem::path& path) {
    Stat info{};
    return StatPath(path, &info) == 0 && !IsRegular(info) && !IsFolder(info);
}

}  // namespace

File::~File() { Abort(); }

void File::Open(const std::filesystem::path& path, Mode mode) {
    Abort();
    path_ = path;
    handle_ = OpenHandle(path, mode);
    if (handle_ >= 0) return;
    const int error = errno;
    if (IsSpecialFile(path)) throw FileException(FileException::Cause::notRegularFile, Utf8FromPath(path_));
    std::error_code linkError;
    if (mode == Mode::createWrite && std::filesystem::is_symlink(path, linkError))
        throw FileException(FileException::Cause::linkRefused, Utf8FromPath(path_));
    // A file cannot be created in a folder that is not there: the path is wrong.
    const bool creating = mode == Mode::createWrite || mode == Mode::createNew || mode == Mode::createPrivate;
    if (creating && error == ENOENT) throw FileException(FileException::Cause::badPath, Utf8FromPath(path_));
    errno = error;
    Fail(error);
}

size_t File::Read(void* buffer, size_t count) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < count) {
        const long long got = ReadSome(handle_, bytes + done, std::min(count - done, kMaxChunk));
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        if (got == 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}

void File::Write(const void* buffer, size_t count) {
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    size_t done = 0;
    while (done < count) {
        BeforeWrite();
        const long long put = WriteSome(handle_, bytes + done, std::min(count - done, kMaxChunk));
        if (put < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        if (put == 0) Fail(ENOSPC);
        done += static_cast<size_t>(put);
    }
}

void File::Seek(uint64_t offset) {
    if (SeekTo(handle_, offset) < 0) Fail(errno);
}

void File::Flush() {
    BeforeWrite();
    if (SyncHandle(handle_) != 0 && errno != EINVAL) Fail(errno);
}

void File::Close() {
    const int handle = handle_;
    handle_ = -1;
    if (handle >= 0 && CloseHandle(handle) != 0) Fail(errno);
}

void File::Abort() noexcept {
    if (handle_ >= 0) CloseHandle(handle_);
    handle_ = -1;
}

uint64_t File::Length() const {
    Stat info{};
    if (StatHandle(handle_, &info) != 0) Fail(errno);
    return static_cast<uint64_t>(info.st_size);
}

FileIdentity File::Identity() const {
    FileIdentity identity;
#ifdef _WIN32
    // The C library's file numbers are all zero here; the system's are not.
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(reinterpret_cast<HANDLE>(_get_osfhandle(handle_)), &info)) Fail(EBADF);
    identity.device = info.dwVolumeSerialNumber;
    identity.index = (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    identity.size = (uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    identity.modified = static_cast<int64_t>((uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                             info.ftLastWriteTime.dwLowDateTime);
#else
    struct stat info {};
    if (::fstat(handle_, &info) != 0) Fail(errno);
    identity.device = static_cast<uint64_t>(info.st_dev);
    identity.index = static_cast<uint64_t>(info.st_ino);
    identity.size = static_cast<uint64_t>(info.st_size);
#ifdef __APPLE__
    const struct timespec& modified = info.st_mtimespec;
#else
    const struct timespec& modified = info.st_mtim;
#endif
    identity.modified = int64_t(modified.tv_sec) * 1000000000 + modified.tv_nsec;
#endif
    return identity;
}

void File::CopyPermissionsFrom(const std::filesystem::path& other) {
#ifndef _WIN32
    struct stat info {};
    if (::stat(other.c_str(), &info) == 0) ::fchmod(handle_, info.st_mode & 07777);
#else
    (void)other;
#endif
}

void File::Fail(int errorNumber) const { throw FileException::FromErrno(errorNumber, Utf8FromPath(path_)); }

void FlushFolder(const std::filesystem::path& folder) noexcept {
#ifndef _WIN32
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) return;
    ::fsync(handle);
    ::close(handle);
#else
    (void)folder;
#endif
}

}  // namespace fw
