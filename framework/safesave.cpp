#include "framework/safesave.h"

#include <cerrno>
#include <charconv>
#include <random>
#include <string_view>
#include <system_error>

#include "framework/os.h"
#include "framework/pathtext.h"

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

// The hidden file beside the target: ".NAME.pPROCESS-RANDOM.tmp". Older
// versions named it ".NAME.RANDOM.tmp".
std::string HiddenPrefix(const std::filesystem::path& target) {
    // Built by appending, which also keeps g++ 12's optimiser from a false
    // -Wrestrict alarm on string concatenation.
    std::string prefix(1, '.');
    prefix.append(Utf8FromPath(target.filename())).append(1, '.');
    return prefix;
}

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
    static std::mt19937 generator{std::random_device{}()};
    std::string name = HiddenPrefix(target);
    name.append(1, 'p').append(std::to_string(os::CurrentProcessId())).append(1, '-');
    name.append(std::to_string(generator())).append(".tmp");
    return target.parent_path() / PathFromUtf8(name);
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Whether the middle of a hidden name is ours and no running save uses it.
bool IsLeftover(std::string_view middle) {
    if (AllDigits(middle)) return true;
    const size_t dash = middle.find('-');
    if (middle.empty() || middle[0] != 'p' || dash == std::string_view::npos) return false;
    const std::string_view process = middle.substr(1, dash - 1);
    unsigned long number = 0;
    const bool parsed = std::from_chars(process.data(), process.data() + process.size(), number).ec == std::errc();
    if (!AllDigits(process) || !parsed || !AllDigits(middle.substr(dash + 1))) return false;
    return !os::ProcessIsRunning(number);
}

}  // namespace

void CheckTargetWritable(const std::filesystem::path& target) {
    std::error_code error;
    const auto status = std::filesystem::status(target, error);
    if (error || !std::filesystem::exists(status)) return;
    if (std::filesystem::is_directory(status))
        throw FileException(FileException::Cause::accessDenied, Utf8FromPath(target));
    // A pipe or a device is not replaced by a file.
    if (!std::filesystem::is_regular_file(status))
        throw FileException(FileException::Cause::notRegularFile, Utf8FromPath(target));
    if (!os::MayWrite(target)) throw FileException::FromErrno(errno, Utf8FromPath(target));
    // A file nobody may write is read-only, for an administrator too.
    using std::filesystem::perms;
    if ((status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none)
        throw FileException(FileException::Cause::accessDenied, Utf8FromPath(target));
}

void CheckExportTarget(const std::filesystem::path& target) {
    std::error_code error;
    if (std::filesystem::is_symlink(target, error))
        throw FileException(FileException::Cause::linkRefused, Utf8FromPath(target));
    CheckTargetWritable(target);
}

void RemoveSaveLeftovers(const std::filesystem::path& target) noexcept {
    const std::string prefix = HiddenPrefix(target);
    const std::string_view suffix = ".tmp";
    std::error_code error;
    const auto folder = std::filesystem::absolute(target, error).parent_path();
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = Utf8FromPath(it->path().filename());
        if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            !std::string_view(name).ends_with(suffix))
            continue;
        const std::string_view middle =
            std::string_view(name).substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        std::error_code ignored;
        if (IsLeftover(middle) && it->is_regular_file(ignored)) std::filesystem::remove(it->path(), ignored);
    }
}

// Runs a step and names the target, not the hidden file, in what it raises.
template <typename Step>
auto SafeSave::AsTarget(Step step) {
    try {
        return step();
    } catch (const FileException& error) {
        throw FileException(error.cause(), Utf8FromPath(target_));
    }
}

void SafeSave::Begin(const std::filesystem::path& target) {
    target_ = ResolveTarget(target);
    CheckTargetWritable(target_);
    RemoveSaveLeftovers(target_);
    AsTarget([&] { CreateBeside(); });
}

void SafeSave::CreateBeside() {
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary_ = TemporaryBeside(std::filesystem::absolute(target_));
        try {
            file_.Open(temporary_, File::Mode::createNew);
            return;
        } catch (const FileException& error) {
            temporary_.clear();
            if (error.cause() != FileException::Cause::alreadyExists) throw;
        }
    }
    throw FileException(FileException::Cause::directoryFull, Utf8FromPath(target_));
}

void SafeSave::Write(const void* buffer, size_t count) {
    AsTarget([&] { file_.Write(buffer, count); });
}

FileIdentity SafeSave::Commit() {
    return AsTarget([&] {
        file_.Flush();
        file_.CopyPermissionsFrom(target_);
        const FileIdentity identity = file_.Identity();
        file_.Close();
        File::BeforeWrite();
        if (!os::RenameOver(temporary_, target_)) throw FileException::FromErrno(errno, Utf8FromPath(target_));
        temporary_.clear();
        FlushFolder(std::filesystem::absolute(target_).parent_path());
        return identity;
    });
}

void SafeSave::Abandon() noexcept {
    file_.Abort();
    std::error_code ignored;
    if (!temporary_.empty()) std::filesystem::remove(temporary_, ignored);
    temporary_.clear();
}

}  // namespace fw
