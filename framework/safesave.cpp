#include "safesave.h"

#include <cerrno>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#define access _waccess
#define W_OK 2
#else
#include <unistd.h>
#endif

namespace fw {

namespace {

// A link is saved through, so the file it names gets the content.
std::filesystem::path ResolveTarget(const std::filesystem::path& target) {
    std::error_code error;
    if (std::filesystem::is_symlink(target, error)) {
        auto resolved = std::filesystem::weakly_canonical(target, error);
        if (!error) return resolved;
    }
    return target;
}

std::filesystem::path TemporaryBeside(const std::filesystem::path& target, unsigned attempt) {
    static std::mt19937 generator{std::random_device{}()};
    const std::string name = "." + target.filename().string() + "." + std::to_string(generator() ^ attempt) + ".tmp";
    return target.parent_path() / name;
}

void CheckTargetWritable(const std::filesystem::path& target) {
    std::error_code error;
    const auto status = std::filesystem::status(target, error);
    if (error || !std::filesystem::exists(status)) return;
    if (std::filesystem::is_directory(status)) throw FileException(FileException::Cause::accessDenied, target.string());
    if (access(target.c_str(), W_OK) != 0) throw FileException::FromErrno(errno, target.string());
    // A file nobody may write is read-only, for an administrator too.
    using std::filesystem::perms;
    if ((status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none)
        throw FileException(FileException::Cause::accessDenied, target.string());
}

}  // namespace

void SafeSave::Begin(const std::filesystem::path& target) {
    target_ = ResolveTarget(target);
    CheckTargetWritable(target_);
    for (unsigned attempt = 0;; ++attempt) {
        temporary_ = TemporaryBeside(std::filesystem::absolute(target_), attempt);
        try {
            file_.Open(temporary_, File::Mode::createNew);
            break;
        } catch (const FileException& error) {
            if (errno == EEXIST && attempt < 100) continue;
            temporary_.clear();
            // Report the folder's problem against the file the user named.
            throw FileException(error.cause(), target.string());
        }
    }
}

void SafeSave::Commit() {
    try {
        file_.Flush();
        file_.CopyPermissionsFrom(target_);
        file_.Close();
        std::error_code error;
        std::filesystem::rename(temporary_, target_, error);
        if (error) throw FileException::FromErrno(error.default_error_condition().value(), target_.string());
        temporary_.clear();
    } catch (const FileException& error) {
        throw FileException(error.cause(), target_.string());
    }
}

void SafeSave::Abandon() noexcept {
    file_.Abort();
    if (temporary_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
    temporary_.clear();
}

}  // namespace fw
