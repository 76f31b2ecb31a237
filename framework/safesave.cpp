#include "safesave.h"

#include <cerrno>
#include <random>
#include <system_error>

#include "privatetemp.h"
#include "pathtext.h"

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
    // A hidden name beside the target; built by appending, which also keeps
    // g++ 12's optimiser from a false -Wrestrict alarm on string concatenation.
    std::string name(1, '.');
    name.append(Utf8FromPath(target.filename())).append(1, '.');
    name.append(std::to_string(generator() ^ attempt)).append(".tmp");
    return target.parent_path() / PathFromUtf8(name);
}

void CheckTargetWritable(const std::filesystem::path& target) {
    std::error_code error;
    const auto status = std::filesystem::status(target, error);
    if (error || !std::filesystem::exists(status)) return;
    if (std::filesystem::is_directory(status)) throw FileException(FileException::Cause::accessDenied, Utf8FromPath(target));
    if (access(target.c_str(), W_OK) != 0) throw FileException::FromErrno(errno, Utf8FromPath(target));
    // A file nobody may write is read-only, for an administrator too.
    using std::filesystem::perms;
    if ((status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none)
        throw FileException(FileException::Cause::accessDenied, Utf8FromPath(target));
}

}  // namespace

void SafeSave::Begin(const std::filesystem::path& target) {
    target_ = ResolveTarget(target);
    CheckTargetWritable(target_);
    try {
        if (CreateBeside()) return;
    } catch (const FileException& error) {
        temporary_.clear();
        std::error_code ignored;
        const bool folderRefuses = error.cause() == FileException::Cause::accessDenied;
        if (!folderRefuses || !std::filesystem::exists(target_, ignored)) throw FileException(error.cause(), Utf8FromPath(target));
    }
    BeginInPlace();
}

bool SafeSave::CreateBeside() {
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary_ = TemporaryBeside(std::filesystem::absolute(target_), attempt);
        try {
            file_.Open(temporary_, File::Mode::createNew);
            return true;
        } catch (const FileException&) {
            if (errno != EEXIST) throw;
        }
    }
    temporary_.clear();
    throw FileException(FileException::Cause::directoryFull, Utf8FromPath(target_));
}

void SafeSave::BeginInPlace() {
    std::error_code error;
    const auto backup = PrivateTemporaryFolder() / ("save-" + Utf8FromPath(TemporaryBeside(target_, 0).filename()));
    std::filesystem::copy_file(target_, backup, std::filesystem::copy_options::overwrite_existing, error);
    if (error) throw FileException::FromErrno(error.default_error_condition().value(), Utf8FromPath(target_));
    backup_ = backup;
    file_.Open(target_, File::Mode::createWrite);
}

void SafeSave::Commit() {
    try {
        file_.Flush();
        if (!temporary_.empty()) file_.CopyPermissionsFrom(target_);
        file_.Close();
        std::error_code error;
        if (!temporary_.empty()) std::filesystem::rename(temporary_, target_, error);
        if (error) throw FileException::FromErrno(error.default_error_condition().value(), Utf8FromPath(target_));
        temporary_.clear();
        if (!backup_.empty()) std::filesystem::remove(backup_, error);
        backup_.clear();
    } catch (const FileException& error) {
        throw FileException(error.cause(), Utf8FromPath(target_));
    }
}

void SafeSave::Abandon() noexcept {
    file_.Abort();
    std::error_code ignored;
    if (!temporary_.empty()) std::filesystem::remove(temporary_, ignored);
    temporary_.clear();
    if (backup_.empty()) return;
    // Should even the way back fail, the copy stays in the private folder.
    std::error_code error;
    std::filesystem::copy_file(backup_, target_, std::filesystem::copy_options::overwrite_existing, error);
    if (!error) std::filesystem::remove(backup_, ignored);
    backup_.clear();
}

}  // namespace fw
