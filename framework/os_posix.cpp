// The operating-system layer on Linux and other POSIX systems (see os.h).
#include "framework/os.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <system_error>

#include "framework/fileexception.h"

#ifdef __APPLE__
#include <mach-o/dyld.h>
#endif

namespace fw::os {

namespace {

int64_t ModifiedNanoseconds(const struct stat& info) {
#ifdef __APPLE__
    const struct timespec& modified = info.st_mtimespec;
#else
    const struct timespec& modified = info.st_mtim;
#endif
    return int64_t(modified.tv_sec) * 1000000000 + modified.tv_nsec;
}

}  // namespace

std::filesystem::path PathFromUtf8(std::string_view text) { return std::filesystem::path(std::string(text)); }

std::string Utf8FromPath(const std::filesystem::path& path) { return path.string(); }

bool SamePathText(std::string_view a, std::string_view b) { return a == b; }

// ---- files ----------------------------------------------------------------

// Every open is non-blocking, so that a pipe without a writer is refused at
// once instead of holding the program; regular files are then read and
// written as usual.
Handle Open(const std::filesystem::path& path, OpenMode mode) {
    int flags = O_CLOEXEC | O_NONBLOCK;
    mode_t permissions = 0666;
    switch (mode) {
        case OpenMode::read:
        case OpenMode::readDenyWrite: flags |= O_RDONLY; break;
        case OpenMode::readWrite: flags |= O_RDWR; break;
        case OpenMode::createWrite: flags |= O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW; break;
        case OpenMode::createNew: flags |= O_RDWR | O_CREAT | O_EXCL; break;
        case OpenMode::createPrivate:
            flags |= O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
            permissions = 0600;
            break;
    }
    const int handle = ::open(path.c_str(), flags, permissions);
    if (handle < 0) return kNoHandle;
    struct stat info {};
    if (::fstat(handle, &info) == 0 && !S_ISREG(info.st_mode)) {
        ::close(handle);
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return kNoHandle;
    }
    ::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) & ~O_NONBLOCK);
    return handle;
}

long long Read(Handle handle, void* buffer, size_t count) { return ::read(static_cast<int>(handle), buffer, count); }

long long Write(Handle handle, const void* buffer, size_t count) {
    return ::write(static_cast<int>(handle), buffer, count);
}

bool Seek(Handle handle, uint64_t offset) {
    return ::lseek(static_cast<int>(handle), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool FlushFile(Handle handle) { return ::fsync(static_cast<int>(handle)) == 0 || errno == EINVAL; }

bool Close(Handle handle) { return ::close(static_cast<int>(handle)) == 0; }

bool Length(Handle handle, uint64_t& length) {
    struct stat info {};
    if (::fstat(static_cast<int>(handle), &info) != 0) return false;
    length = static_cast<uint64_t>(info.st_size);
    return true;
}

bool Identity(Handle handle, FileIdentity& identity) {
    struct stat info {};
    if (::fstat(static_cast<int>(handle), &info) != 0) return false;
    identity.device = static_cast<uint64_t>(info.st_dev);
    identity.index = static_cast<uint64_t>(info.st_ino);
    identity.size = static_cast<uint64_t>(info.st_size);
    identity.modified = ModifiedNanoseconds(info);
    return true;
}

void CopyPermissions(Handle handle, const std::filesystem::path& from) {
    struct stat info {};
    if (::stat(from.c_str(), &info) == 0) ::fchmod(static_cast<int>(handle), info.st_mode & 07777);
}

bool LockFile(Handle handle, LockKind kind, bool wait) {
    const int operation = (kind == LockKind::exclusive ? LOCK_EX : LOCK_SH) | (wait ? 0 : LOCK_NB);
    for (;;) {
        if (::flock(static_cast<int>(handle), operation) == 0) return true;
        if (errno != EINTR) return false;
    }
}

bool UnlockFile(Handle handle) { return ::flock(static_cast<int>(handle), LOCK_UN) == 0; }

// ---- names in folders -------------------------------------------------------

bool IsSpecialFile(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

namespace {

FileLook LookOf(const struct stat& info) {
    FileLook look;
    look.modified = ModifiedNanoseconds(info);
    look.length = uint64_t(info.st_size);
    look.ordinary = S_ISREG(info.st_mode);
    return look;
}

}  // namespace

bool LookAtFile(const std::filesystem::path& path, FileLook& look) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    look = LookOf(info);
    return true;
}

bool LookInFolder(const std::filesystem::path& folder, std::vector<FolderEntry>& entries) {
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), &::closedir);
    if (!listing) return false;
    entries.clear();
    // Names are looked at relative to the open folder: no walk of its path for each.
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string_view name = entry->d_name;
        struct stat info {};
        if (name == "." || name == ".." || ::fstatat(::dirfd(listing.get()), entry->d_name, &info, 0) != 0) continue;
        entries.push_back({std::string(name), LookOf(info)});
    }
    return true;
}

bool MayWrite(const std::filesystem::path& path) { return ::access(path.c_str(), W_OK) == 0; }

bool RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

void FlushFolder(const std::filesystem::path& folder) noexcept {
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) return;
    ::fsync(handle);
    ::close(handle);
}

void SyncFileSystemOf(const std::filesystem::path& folder) noexcept {
#if defined(__linux__)
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) return;
    ::syncfs(handle);
    ::close(handle);
#else
    (void)folder;
    ::sync();
#endif
}

bool MakePrivateFolder(const std::filesystem::path& folder) {
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

// What lies here can change the user's files, so a folder that others
// could write into is not used (and not repaired: it may hold their files).
bool IsOwnPrivateFolder(const std::filesystem::path& folder) {
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & 0022) == 0;
}

// ---- processes ------------------------------------------------------------

unsigned long CurrentProcessId() { return static_cast<unsigned long>(::getpid()); }

bool ProcessIsRunning(unsigned long process) { return ::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM; }

std::filesystem::path ModulePath() {
#ifdef __APPLE__
    uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::string buffer(size + 1, '\0');
    _NSGetExecutablePath(buffer.data(), &size);
    return std::filesystem::weakly_canonical(buffer.c_str());
#else
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
#endif
}

std::string ProgramFileName(std::string_view stem) { return std::string(stem); }

bool StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& workingDirectory) {
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    // A pipe closed on exec tells whether the program really started.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        // The grandchild runs the program, so nobody has to wait for it.
        if (::fork() != 0) _exit(0);
        ::setsid();
        if ((workingDirectory.empty() || ::chdir(workingDirectory.c_str()) == 0)) ::execv(argv[0], argv.data());
        const char failed = 1;
        (void)!::write(report[1], &failed, 1);
        _exit(127);
    }
    ::close(report[1]);
    ::waitpid(child, nullptr, 0);
    char failed = 0;
    const bool started = ::read(report[0], &failed, 1) == 0;
    ::close(report[0]);
    return started;
}

bool OpenWithAssociatedProgram(const std::filesystem::path& file) {
#ifdef __APPLE__
    const std::filesystem::path opener = "/usr/bin/open";
#else
    const std::filesystem::path opener = "/usr/bin/xdg-open";
#endif
    return StartDetached(opener, {file.string()}, {});
}

const char* PictureViewerExamples() {
#ifdef __APPLE__
    return "Preview";
#else
    return "Eye of GNOME, Gwenview or GIMP";
#endif
}

void AttachParentConsole() {}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void UseUtf8Console() {}

// ---- memory -----------------------------------------------------------------

void* MapLargeBlock(size_t size) {
    void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return nullptr;
#if defined(MADV_HUGEPAGE)
    madvise(block, size, MADV_HUGEPAGE);
#endif
    return block;
}

void UnmapLargeBlock(void* block, size_t size) { munmap(block, size); }

// ---- the user's folders -----------------------------------------------------

namespace {

// $HOME when it is an absolute path, else the home the password database
// lists for the user: never a shared folder such as the temporary one,
// where another user could have made the folders first. Empty when the
// user has none.
std::filesystem::path HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return home;
    const passwd* user = ::getpwuid(::geteuid());
    if (user && user->pw_dir && *user->pw_dir == '/') return user->pw_dir;
    return {};
}

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

std::filesystem::path TemporaryBase() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : base;
}

}  // namespace

std::filesystem::path ApplicationDataFolderPath() {
    // Only absolute settings count, as the XDG rules say.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/') return std::filesystem::path(data) / "pallix";
    const auto home = HomeFolder();
    if (!home.empty()) return home / ".local" / "share" / "pallix";
    throw FileException(FileException::Cause::badPath, "$HOME/.local/share");
}

// A user without any home folder gets Documents in the working folder,
// which the user chose.
std::filesystem::path DocumentsFolder() {
    if (const char* documents = std::getenv("XDG_DOCUMENTS_DIR"); documents && *documents) return documents;
    const auto home = HomeFolder();
    const auto configured = FromUserDirs(home);
    return configured.empty() ? home / "Documents" : configured;
}

// mkdtemp makes the folder with mode 0700 under a name that did not exist,
// so nothing in it was put there by anyone else. The session's runtime
// folder comes first; the temporary folder serves where it takes nothing.
std::filesystem::path CreatePrivateTemporaryFolder() {
    for (const std::filesystem::path& base : {RuntimeFolder(), TemporaryBase()}) {
        if (!base.is_absolute()) continue;
        std::string pattern = (base / "pallix-XXXXXX").string();
        if (::mkdtemp(pattern.data())) return pattern;
    }
    throw FileException::FromErrno(errno, Utf8FromPath(TemporaryBase()));
}

// ---- the desktop session ----------------------------------------------------

std::string UserIdentity() { return std::to_string(::getuid()); }

std::string SessionIdentity() {
    for (const char* variable : {"WAYLAND_DISPLAY", "DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return std::string(variable) + '=' + value;
    }
    return {};
}

std::filesystem::path RuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime ? std::filesystem::path(runtime) : std::filesystem::path();
}

}  // namespace fw::os
