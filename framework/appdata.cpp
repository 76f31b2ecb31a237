#include "framework/appdata.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "framework/fileexception.h"
#include "framework/pathtext.h"
#include "framework/userfolders.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fw {

namespace {

#ifdef _WIN32
std::filesystem::path BaseFolder() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (local && *local) return std::filesystem::path(local) / "Pallix";
    throw FileException(FileException::Cause::badPath, "%LOCALAPPDATA%");
}
#else
std::filesystem::path BaseFolder() {
    // Only absolute settings count, as the XDG rules say.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/') return std::filesystem::path(data) / "pallix";
    const auto home = HomeFolder();
    if (!home.empty()) return home / ".local" / "share" / "pallix";
    throw FileException(FileException::Cause::badPath, "$HOME/.local/share");
}
#endif

// What lies here can change the user's files, so a folder that others
// could write into is not used (and not repaired: it may hold their files).
void CheckOwnFolder(const std::filesystem::path& folder) {
#ifndef _WIN32
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
        (info.st_mode & 0022) != 0)
        throw FileException(FileException::Cause::accessDenied, Utf8FromPath(folder));
#else
    (void)folder;
#endif
}

}  // namespace

std::optional<std::filesystem::path> ExistingApplicationDataFolder() {
    try {
        const std::filesystem::path folder = BaseFolder();
        std::error_code error;
        if (!std::filesystem::is_directory(folder, error)) return std::nullopt;
        CheckOwnFolder(folder);
        return folder;
    } catch (const FileException&) {
        return std::nullopt;
    }
}

std::filesystem::path ApplicationDataFolder() {
    const std::filesystem::path folder = BaseFolder();
    std::error_code error;
    std::filesystem::create_directories(folder.parent_path(), error);
#ifdef _WIN32
    std::filesystem::create_directory(folder, error);
    if (error) throw FileException::FromErrno(error.default_error_condition().value(), Utf8FromPath(folder));
#else
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw FileException::FromErrno(errno, Utf8FromPath(folder));
#endif
    CheckOwnFolder(folder);
    return folder;
}

}  // namespace fw
