#include "framework/privatetemp.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include "framework/fileexception.h"
#include "framework/pathtext.h"

#ifdef _WIN32
#include <random>
#else
#include <unistd.h>
#endif

namespace fw {

namespace {

#ifdef _WIN32
// %TEMP% lies in the user's own profile; a random name keeps processes apart.
std::filesystem::path CreateFolder() {
    std::error_code error;
    const auto base = std::filesystem::temp_directory_path(error);
    if (error) throw FileException(FileException::Cause::badPath, "%TEMP%");
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto folder = base / ("Pallix-" + std::to_string(random()) + std::to_string(random()));
        if (std::filesystem::create_directory(folder, error)) return folder;
    }
    throw FileException(FileException::Cause::accessDenied, Utf8FromPath(base));
}
#else
std::filesystem::path TemporaryBase() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : base;
}

// mkdtemp makes the folder with mode 0700 under a name that did not exist,
// so nothing in it was put there by anyone else. The session's runtime
// folder comes first; the temporary folder serves where it takes nothing.
std::filesystem::path CreateFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    for (const std::filesystem::path& base : {std::filesystem::path(runtime ? runtime : ""), TemporaryBase()}) {
        if (!base.is_absolute()) continue;
        std::string pattern = (base / "pallix-XXXXXX").string();
        if (::mkdtemp(pattern.data())) return pattern;
    }
    throw FileException::FromErrno(errno, Utf8FromPath(TemporaryBase()));
}
#endif

// Owns the folder and removes it with everything in it when the program ends.
class ProcessFolder {
public:
    ProcessFolder() : path_(CreateFolder()) {}
    ~ProcessFolder() {
        if (keep) return;
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ProcessFolder(const ProcessFolder&) = delete;
    ProcessFolder& operator=(const ProcessFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    inline static bool keep = false;

private:
    std::filesystem::path path_;
};

}  // namespace

void KeepPrivateTemporaryFolder() { ProcessFolder::keep = true; }

std::filesystem::path PrivateTemporaryFolder() {
    static const ProcessFolder folder;
    return folder.path();
}

std::filesystem::path PrivateTemporaryFile(const std::string& name) {
    const auto path = PrivateTemporaryFolder() / PathFromUtf8(name);
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error) throw FileException::FromErrno(error.default_error_condition().value(), Utf8FromPath(path));
    return path;
}

}  // namespace fw
