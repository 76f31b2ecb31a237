#include "file.h"
#include "pathtext.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <share.h>
#else
#include <unistd.h>
#endif

namespace fw {

namespace {

// Large transfers go in pieces: some platforms cap one call near 2 GiB.
constexpr size_t kMaxChunk = size_t(1) << 30;

#ifdef _WIN32
int OpenHandle(const std::filesystem::path& path, File::Mode mode) {
    int flags = _O_BINARY | _O_NOINHERIT;
    int share = _SH_DENYNO;
    switch (mode) {
        case File::Mode::read: flags |= _O_RDONLY; break;
        case File::Mode::readDenyWrite: flags |= _O_RDONLY; share = _SH_DENYWR; break;
        case File::Mode::createWrite: flags |= _O_WRONLY | _O_CREAT | _O_TRUNC; break;
        case File::Mode::createNew: flags |= _O_RDWR | _O_CREAT | _O_EXCL; share = _SH_DENYRW; break;
    }
    int handle = -1;
    _wsopen_s(&handle, path.c_str(), flags, share, _S_IREAD | _S_IWRITE);
    return handle;
}
long long ReadSome(int h, void* b, size_t n) { return _read(h, b, static_cast<unsigned>(n)); }
long long WriteSome(int h, const void* b, size_t n) { return _write(h, b, static_cast<unsigned>(n)); }
int SyncHandle(int h) { return _commit(h); }
int CloseHandle(int h) { return _close(h); }
#else
int OpenHandle(const std::filesystem::path& path, File::Mode mode) {
    int flags = O_CLOEXEC;
    switch (mode) {
        case File::Mode::read:
        case File::Mode::readDenyWrite: flags |= O_RDONLY; break;
        case File::Mode::createWrite: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
        case File::Mode::createNew: flags |= O_RDWR | O_CREAT | O_EXCL; break;
    }
    const int handle = ::open(path.c_str(), flags, 0666);
    if (handle >= 0 && (mode == File::Mode::read || mode == File::Mode::readDenyWrite)) {
        struct stat info {};
        if (::fstat(handle, &info) == 0 && S_ISDIR(info.st_mode)) {
            ::close(handle);
            errno = EISDIR;
            return -1;
        }
    }
    return handle;
}
long long ReadSome(int h, void* b, size_t n) { return ::read(h, b, n); }
long long WriteSome(int h, const void* b, size_t n) { return ::write(h, b, n); }
int SyncHandle(int h) { return ::fsync(h); }
int CloseHandle(int h) { return ::close(h); }
#endif

}  // namespace

File::~File() { Abort(); }

void File::Open(const std::filesystem::path& path, Mode mode) {
    Abort();
    path_ = path;
    handle_ = OpenHandle(path, mode);
    if (handle_ >= 0) return;
    // A file cannot be created in a folder that is not there: the path is wrong.
    const bool creating = mode == Mode::createWrite || mode == Mode::createNew;
    if (creating && errno == ENOENT) throw FileException(FileException::Cause::badPath, Utf8FromPath(path_));
    Fail(errno);
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
        const long long put = WriteSome(handle_, bytes + done, std::min(count - done, kMaxChunk));
        if (put < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        if (put == 0) Fail(ENOSPC);
        done += static_cast<size_t>(put);
    }
}

void File::Flush() {
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
#ifdef _WIN32
    struct _stat64 info {};
    if (_fstat64(handle_, &info) != 0) Fail(errno);
#else
    struct stat info {};
    if (::fstat(handle_, &info) != 0) Fail(errno);
#endif
    return static_cast<uint64_t>(info.st_size);
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

}  // namespace fw
