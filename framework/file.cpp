#include "framework/file.h"

#include <algorithm>
#include <cerrno>

#include "framework/pathtext.h"

namespace fw {

namespace {

// Large transfers go in pieces: some platforms cap one call near 2 GiB.
constexpr size_t kMaxChunk = size_t(1) << 30;

}  // namespace

File::~File() { Abort(); }

void File::Open(const std::filesystem::path& path, Mode mode) {
    Abort();
    path_ = path;
    handle_ = os::Open(path, mode);
    if (handle_ != os::kNoHandle) return;
    const int error = errno;
    if (os::IsSpecialFile(path)) throw FileException(FileException::Cause::notRegularFile, Utf8FromPath(path_));
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
        const long long got = os::Read(handle_, bytes + done, std::min(count - done, kMaxChunk));
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
        const long long put = os::Write(handle_, bytes + done, std::min(count - done, kMaxChunk));
        if (put < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        if (put == 0) Fail(ENOSPC);
        done += static_cast<size_t>(put);
    }
}

void File::Seek(uint64_t offset) {
    if (!os::Seek(handle_, offset)) Fail(errno);
}

void File::Flush() {
    BeforeWrite();
    if (!os::FlushFile(handle_)) Fail(errno);
}

void File::Close() {
    const os::Handle handle = handle_;
    handle_ = os::kNoHandle;
    if (handle != os::kNoHandle && !os::Close(handle)) Fail(errno);
}

void File::Abort() noexcept {
    if (handle_ != os::kNoHandle) os::Close(handle_);
    handle_ = os::kNoHandle;
}

uint64_t File::Length() const {
    uint64_t length = 0;
    if (!os::Length(handle_, length)) Fail(errno);
    return length;
}

FileIdentity File::Identity() const {
    FileIdentity identity;
    if (!os::Identity(handle_, identity)) Fail(errno);
    return identity;
}

void File::CopyPermissionsFrom(const std::filesystem::path& other) { os::CopyPermissions(handle_, other); }

bool File::Lock(os::LockKind kind, bool wait) {
    if (os::LockFile(handle_, kind, wait)) return true;
    if (errno == EWOULDBLOCK || errno == EAGAIN) return false;
    Fail(errno);
}

void File::Unlock() {
    if (!os::UnlockFile(handle_)) Fail(errno);
}

void File::Fail(int errorNumber) const { throw FileException::FromErrno(errorNumber, Utf8FromPath(path_)); }

}  // namespace fw
