#include "privatetemp.h"

#include <cerrno>
#include <string>
#include <system_error>

#include "fileexception.h"
#include "pathtext.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fw {

namespace {

#ifdef _WIN32
// %TEMP% already lies in the user's own profile.
std::filesystem::path CandidateFolder() { return std::filesystem::temp_directory_path() / "Pallix"; }

void CheckPrivate(const std::filesystem::path&) {}

void CreateFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw FileException(FileException::Cause::accessDenied, Utf8FromPath(folder));
}
#else
std::filesystem::path CandidateFolder() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
    return base / ("pallix-" + std::to_string(getuid()));
}

void CheckPrivate(const std::filesystem::path& folder) {
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0) throw FileException::FromErrno(errno, Utf8FromPath(folder));
    if (!S_ISDIR(info.st_mode) || info.st_uid != getuid())
        throw FileException(FileException::Cause::accessDenied, Utf8FromPath(folder));
    if ((info.st_mode & 0077) != 0 && chmod(folder.c_str(), 0700) != 0)
        throw FileException::FromErrno(errno, Utf8FromPath(folder));
}

void CreateFolder(const std::filesystem::path& folder) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) throw FileException::FromErrno(errno, Utf8FromPath(folder));
}
#endif

}  // namespace

std::filesystem::path PrivateTemporaryFolder() {
    const std::filesystem::path folder = CandidateFolder();
    CreateFolder(folder);
    CheckPrivate(folder);
    return folder;
}

}  // namespace fw
