#include "framework/appdata.h"

#include <cerrno>
#include <system_error>

#include "framework/fileexception.h"
#include "framework/os.h"
#include "framework/pathtext.h"

namespace fw {

namespace {

// What lies here can change the user's files, so a folder that others
// could write into is not used (and not repaired: it may hold their files).
void CheckOwnFolder(const std::filesystem::path& folder) {
    if (!os::IsOwnPrivateFolder(folder)) throw FileException(FileException::Cause::accessDenied, Utf8FromPath(folder));
}

}  // namespace

std::optional<std::filesystem::path> ExistingApplicationDataFolder() {
    try {
        const std::filesystem::path folder = os::ApplicationDataFolderPath();
        std::error_code error;
        if (!std::filesystem::is_directory(folder, error)) return std::nullopt;
        CheckOwnFolder(folder);
        return folder;
    } catch (const FileException&) {
        return std::nullopt;
    }
}

std::filesystem::path ApplicationDataFolder() {
    const std::filesystem::path folder = os::ApplicationDataFolderPath();
    std::error_code error;
    std::filesystem::create_directories(folder.parent_path(), error);
    if (!os::MakePrivateFolder(folder)) throw FileException::FromErrno(errno, Utf8FromPath(folder));
    CheckOwnFolder(folder);
    return folder;
}

}  // namespace fw
