// The toolkit's seam to the operating system: the only file of the toolkit
// that asks which one it runs on, so that the toolkit needs nothing of the
// rest of the program.
#include "toolkit3ds/platformfile3ds.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#ifdef _WIN32
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <filesystem>
#include <string>

namespace {

std::wstring Wide(const char* utf8) {
    const std::string text(utf8);
    return std::filesystem::path(std::u8string(text.begin(), text.end())).wstring();
}

}  // namespace

std::FILE* OpenStream3ds(const char* utf8Name, const char* mode) {
    try {
        return _wfopen(Wide(utf8Name).c_str(), Wide(mode).c_str());
    } catch (...) {  // a name that is not UTF-8 names no file
        errno = EINVAL;
        return nullptr;
    }
}

int RemoveFile3ds(const char* utf8Name) {
    try {
        return _wremove(Wide(utf8Name).c_str());
    } catch (...) {
        errno = EINVAL;
        return -1;
    }
}

int RenameFile3ds(const char* utf8From, const char* utf8To) {
    try {
        return _wrename(Wide(utf8From).c_str(), Wide(utf8To).c_str());
    } catch (...) {
        errno = EINVAL;
        return -1;
    }
}

int ReplaceFile3ds(const char* utf8From, const char* utf8To) {
    try {
        const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
        return MoveFileExW(Wide(utf8From).c_str(), Wide(utf8To).c_str(), flags) ? 0 : -1;
    } catch (...) {
        return -1;
    }
}

bool SyncStream3ds(std::FILE* stream) { return std::fflush(stream) == 0 && _commit(_fileno(stream)) == 0; }

std::FILE* OpenRegularForReading3ds(const char* utf8Name) {
    std::FILE* stream = OpenStream3ds(utf8Name, "rb");
    struct _stat64 info {};
    if (stream != nullptr && (_fstat64(_fileno(stream), &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG)) {
        std::fclose(stream);
        PushError3ds(ERR_NOT_REGULAR_FILE);
        return nullptr;
    }
    return stream;
}

bool SeekStream3ds(std::FILE* stream, std::int64_t offset) { return _fseeki64(stream, offset, SEEK_SET) == 0; }

std::int64_t TellStream3ds(std::FILE* stream) { return _ftelli64(stream); }

// Windows' new files take the folder's access rules; "x" creates exclusively.
std::FILE* CreateExclusiveStream3ds(const char* utf8Name, const char*) { return OpenStream3ds(utf8Name, "wbx"); }

// Windows' rename refuses an existing target, so the rename itself claims the name.
int RenameNoReplace3ds(const char* utf8From, const char* utf8To) {
    try {
        if (MoveFileExW(Wide(utf8From).c_str(), Wide(utf8To).c_str(), MOVEFILE_WRITE_THROUGH)) return 0;
        const DWORD error = GetLastError();
        errno = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? EEXIST
                : error == ERROR_ACCESS_DENIED                              ? EACCES
                                                                            : EIO;
        return -1;
    } catch (...) {
        errno = EINVAL;
        return -1;
    }
}
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::FILE* OpenStream3ds(const char* utf8Name, const char* mode) { return std::fopen(utf8Name, mode); }
int RemoveFile3ds(const char* utf8Name) { return std::remove(utf8Name); }
int RenameFile3ds(const char* utf8From, const char* utf8To) { return std::rename(utf8From, utf8To); }
int ReplaceFile3ds(const char* utf8From, const char* utf8To) { return std::rename(utf8From, utf8To); }
bool SyncStream3ds(std::FILE* stream) { return std::fflush(stream) == 0 && fsync(fileno(stream)) == 0; }

// Opened without blocking, so that a pipe without a writer is refused at once.
std::FILE* OpenRegularForReading3ds(const char* utf8Name) {
    const int descriptor = open(utf8Name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return nullptr;
    }
    struct stat info {};
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(descriptor);
        PushError3ds(ERR_NOT_REGULAR_FILE);
        return nullptr;
    }
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    std::FILE* stream = fdopen(descriptor, "rb");
    if (stream == nullptr) {
        close(descriptor);
    }
    return stream;
}

bool SeekStream3ds(std::FILE* stream, std::int64_t offset) {
    return fseeko(stream, static_cast<off_t>(offset), SEEK_SET) == 0;
}

std::int64_t TellStream3ds(std::FILE* stream) { return ftello(stream); }

// Created with the target's permissions, or the usual ones for a new file.
std::FILE* CreateExclusiveStream3ds(const char* utf8Name, const char* utf8PermissionsOf) {
    const int descriptor = open(utf8Name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        return nullptr;
    }
    struct stat target {};
    if (utf8PermissionsOf != nullptr && stat(utf8PermissionsOf, &target) == 0) {
        fchmod(descriptor, target.st_mode & 07777);
    }
    std::FILE* stream = fdopen(descriptor, "wb");
    if (stream == nullptr) {
        const int error = errno;
        close(descriptor);
        RemoveFile3ds(utf8Name);
        errno = error;
    }
    return stream;
}

// The name is claimed by creating it exclusively; renaming over our own
// empty file then replaces it in one step.
int RenameNoReplace3ds(const char* utf8From, const char* utf8To) {
    const int descriptor = open(utf8To, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        return -1;
    }
    close(descriptor);
    if (std::rename(utf8From, utf8To) != 0) {
        const int error = errno;
        std::remove(utf8To);
        errno = error;
        return -1;
    }
    return 0;
}
#endif

namespace {

std::filesystem::path PathOfUtf8(const char* utf8) {
    const std::string text(utf8);
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8OfPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Whether this user may write the file; a file nobody may write is
// read-only for an administrator too.
bool MayWrite([[maybe_unused]] const std::filesystem::path& path, std::filesystem::perms permissions) {
    using std::filesystem::perms;
    if ((permissions & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none) {
        return false;
    }
#ifdef _WIN32
    return true;
#else
    return access(path.c_str(), W_OK) == 0;
#endif
}

}  // namespace

std::string ReplaceableTarget3ds(const char* utf8Name, ErrorCode3ds* refusal) {
    try {
        const std::filesystem::path name = PathOfUtf8(utf8Name);
        std::error_code error;
        const auto link = std::filesystem::symlink_status(name, error);
        if (error || !std::filesystem::exists(link)) {
            return utf8Name;  // a new file
        }
        const auto status = std::filesystem::status(name, error);
        if (error || !std::filesystem::is_regular_file(status)) {
            *refusal = ERR_NOT_REGULAR_FILE;
            return {};
        }
        const std::filesystem::path target =
            std::filesystem::is_symlink(link) ? std::filesystem::canonical(name) : name;
        if (!MayWrite(target, status.permissions())) {
            *refusal = ERR_READ_ONLY_FILE;
            return {};
        }
        return Utf8OfPath(target);
    } catch (...) {  // a name that is not UTF-8, or a link that went away meanwhile
        *refusal = ERR_OPENING_FILE;
        return {};
    }
}
