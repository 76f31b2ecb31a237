#include "framework/userfolders.h"

#include <cstdlib>
#include <fstream>
#include <string>

#include "framework/pathtext.h"

#ifdef _WIN32
#include <shlobj.h>
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace fw {

#ifndef _WIN32
std::filesystem::path HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return home;
    const passwd* user = ::getpwuid(::geteuid());
    if (user && user->pw_dir && *user->pw_dir == '/') return user->pw_dir;
    return {};
}
#endif

namespace {

#ifndef _WIN32

// The line XDG_DOCUMENTS_DIR="$HOME/..." of the user's user-dirs.dirs.
std::filesystem::path FromUserDirs(const std::filesystem::path& home) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const auto file = (config && *config ? std::filesystem::path(config) : home / ".config") / "user-dirs.dirs";
    std::ifstream in(file);
    const std::string key = "XDG_DOCUMENTS_DIR=\"";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(key, 0) != 0 || line.back() != '"') continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.rfind("$HOME", 0) == 0) return home / PathFromUtf8(value.substr(value.size() > 5 ? 6 : 5));
        if (!value.empty() && value.front() == '/') return PathFromUtf8(value);
    }
    return {};
}
#endif

}  // namespace

std::filesystem::path DocumentsFolder() {
#ifdef _WIN32
    PWSTR wide = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &wide))) folder = std::filesystem::path(wide);
    CoTaskMemFree(wide);
    return folder.empty() ? std::filesystem::temp_directory_path() : folder;
#else
    if (const char* documents = std::getenv("XDG_DOCUMENTS_DIR"); documents && *documents) return documents;
    const auto home = HomeFolder();
    const auto configured = FromUserDirs(home);
    return configured.empty() ? home / "Documents" : configured;
#endif
}

}  // namespace fw
