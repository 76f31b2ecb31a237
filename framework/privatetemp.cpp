#include "framework/privatetemp.h"

#include <string>
#include <system_error>

#include "framework/fileexception.h"
#include "framework/os.h"
#include "framework/pathtext.h"

namespace fw {

namespace {

// Owns the folder and removes it with everything in it when the program ends.
class ProcessFolder {
public:
    ProcessFolder() : path_(os::CreatePrivateTemporaryFolder()) {}
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
