// The operating-system layer on Windows (see os.h). Every name goes to the
// system as UTF-16 through the wide ("W") calls, so any letter of any
// language reaches the disk as it was typed; long paths get the \\?\ prefix.
#ifndef NOMINMAX
#define NOMINMAX  // keeps std::min usable
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// After windows.h, which they need.
#include <shellapi.h>
#include <shlobj.h>

#include <cerrno>
#include <cstdlib>
#include <cwctype>
#include <memory>
#include <random>
#include <system_error>

#include "framework/fileexception.h"
#include "framework/os.h"

namespace fw::os {

namespace {

HANDLE Native(Handle handle) { return reinterpret_cast<HANDLE>(handle); }

// The POSIX error number nearest to a Windows error, so that FileException
// tells the cause as it does on POSIX systems.
int ErrnoFromWindowsError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME: return ENOENT;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY: return ENOTDIR;
        case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_CURRENT_DIRECTORY:
        case ERROR_PRIVILEGE_NOT_HELD:
        case ERROR_CANT_RESOLVE_FILENAME:
        case ERROR_NETWORK_ACCESS_DENIED: return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return EEXIST;
        case ERROR_SHARING_VIOLATION: return EBUSY;
        case ERROR_LOCK_VIOLATION: return ENOLCK;
        case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        case ERROR_FILE_TOO_LARGE: return EFBIG;
        case ERROR_INVALID_HANDLE: return EBADF;
        case ERROR_NEGATIVE_SEEK:
        case ERROR_SEEK_ON_DEVICE: return ESPIPE;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return ENOMEM;
        case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
        case ERROR_CRC:
        case ERROR_SECTOR_NOT_FOUND:
        case ERROR_NOT_READY:
        case ERROR_GEN_FAILURE:
        case ERROR_IO_DEVICE: return EIO;
        default: return EINVAL;
    }
}

// Sets errno from the thread's last Windows error and returns false.
bool Failed() {
    errno = ErrnoFromWindowsError(GetLastError());
    return false;
}

}  // namespace

std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool SamePathText(std::string_view a, std::string_view b) {
    std::wstring wideA, wideB;
    try {
        wideA = PathFromUtf8(a).wstring();
        wideB = PathFromUtf8(b).wstring();
    } catch (...) {
        return a == b;
    }
    // The system's own comparison of names, blind to case in every alphabet.
    return CompareStringOrdinal(wideA.c_str(), static_cast<int>(wideA.size()), wideB.c_str(),
                                static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

namespace {

// The name as the system takes it: absolute and, beyond MAX_PATH, with the
// \\?\ prefix that lifts the limit of 260 characters.
std::wstring SystemName(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path full = path.is_absolute() ? path : std::filesystem::absolute(path, error);
    if (error) full = path;
    std::wstring name = full.lexically_normal().make_preferred().wstring();
    if (name.size() < MAX_PATH - 12 || name.rfind(L"\\\\", 0) == 0) return name;
    return L"\\\\?\\" + name;
}

}  // namespace

// ---- files ----------------------------------------------------------------

Handle Open(const std::filesystem::path& path, OpenMode mode) {
    DWORD access = GENERIC_READ;
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    DWORD disposition = OPEN_EXISTING;
    DWORD flags = FILE_ATTRIBUTE_NORMAL;
    switch (mode) {
        case OpenMode::read: break;
        case OpenMode::readDenyWrite: share = FILE_SHARE_READ; break;
        case OpenMode::readWrite:
            access = GENERIC_READ | GENERIC_WRITE;
            share = FILE_SHARE_READ;
            break;
        case OpenMode::createWrite: {
            // Never through a link or a junction, as O_NOFOLLOW refuses them.
            const DWORD attributes = GetFileAttributesW(SystemName(path).c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
                errno = ELOOP;
                return kNoHandle;
            }
            access = GENERIC_WRITE;
            share = FILE_SHARE_READ;
            disposition = CREATE_ALWAYS;
            flags |= FILE_FLAG_OPEN_REPARSE_POINT;
            break;
        }
        case OpenMode::createNew:
            access = GENERIC_READ | GENERIC_WRITE;
            share = 0;
            disposition = CREATE_NEW;
            break;
        case OpenMode::createPrivate:
            // CREATE_NEW fails on any name that exists, a link or a junction too.
            access = GENERIC_READ | GENERIC_WRITE;
            share = 0;
            disposition = CREATE_NEW;
            flags |= FILE_FLAG_OPEN_REPARSE_POINT;
            break;
    }
    // Without SECURITY_ATTRIBUTES the handle is not inherited.
    const HANDLE handle = CreateFileW(SystemName(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Failed();
        return kNoHandle;
    }
    // A console, a printer port, a pipe: CON, NUL, COM1 and aux.3ds open devices.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        errno = EINVAL;
        return kNoHandle;
    }
    return reinterpret_cast<Handle>(handle);
}

long long Read(Handle handle, void* buffer, size_t count) {
    DWORD got = 0;
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(count, 1u << 30));
    if (!ReadFile(Native(handle), buffer, ask, &got, nullptr)) {
        if (GetLastError() == ERROR_HANDLE_EOF) return 0;
        Failed();
        return -1;
    }
    return got;
}

long long Write(Handle handle, const void* buffer, size_t count) {
    DWORD put = 0;
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(count, 1u << 30));
    if (!WriteFile(Native(handle), buffer, ask, &put, nullptr)) {
        Failed();
        return -1;
    }
    return put;
}

bool Seek(Handle handle, uint64_t offset) {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(Native(handle), to, nullptr, FILE_BEGIN) || Failed();
}

bool FlushFile(Handle handle) { return FlushFileBuffers(Native(handle)) || Failed(); }

bool Close(Handle handle) { return CloseHandle(Native(handle)) || Failed(); }

bool Length(Handle handle, uint64_t& length) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(Native(handle), &size)) return Failed();
    length = static_cast<uint64_t>(size.QuadPart);
    return true;
}

bool Identity(Handle handle, FileIdentity& identity) {
    // The C library's file numbers are all zero here; the system's are not.
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(Native(handle), &info)) return Failed();
    identity.device = info.dwVolumeSerialNumber;
    identity.index = (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    identity.size = (uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    identity.modified = static_cast<int64_t>((uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                             info.ftLastWriteTime.dwLowDateTime);
    return true;
}

void CopyPermissions(Handle, const std::filesystem::path&) {}

namespace {

// The byte the lock covers: far beyond any file's data, so that nobody's
// reads and writes meet it (Windows' byte locks are mandatory).
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;
constexpr DWORD kLockOffsetLow = 0xFFFFFFF0;

}  // namespace

bool LockFile(Handle handle, LockKind kind, bool wait) {
    OVERLAPPED at{};
    at.Offset = kLockOffsetLow;
    at.OffsetHigh = kLockOffsetHigh;
    DWORD flags = kind == LockKind::exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0;
    if (!wait) flags |= LOCKFILE_FAIL_IMMEDIATELY;
    if (LockFileEx(Native(handle), flags, 0, 1, 0, &at)) return true;
    const DWORD error = GetLastError();
    errno = error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? EWOULDBLOCK : ErrnoFromWindowsError(error);
    return false;
}

bool UnlockFile(Handle handle) {
    OVERLAPPED at{};
    at.Offset = kLockOffsetLow;
    at.OffsetHigh = kLockOffsetHigh;
    return UnlockFileEx(Native(handle), 0, 1, 0, &at) || Failed();
}

// ---- names in folders -------------------------------------------------------

bool IsSpecialFile(const std::filesystem::path& path) {
    const HANDLE handle =
        CreateFileW(SystemName(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const bool special = GetFileType(handle) != FILE_TYPE_DISK;
    CloseHandle(handle);
    return special;
}

namespace {

// What a name's attribute data tells (the attribute query's and a
// listing's have the same fields under two types).
template <typename Data>
FileLook LookOf(const std::filesystem::path& path, const Data& data) {
    FileLook look;
    look.modified = static_cast<int64_t>((uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                         data.ftLastWriteTime.dwLowDateTime);
    look.length = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    look.ordinary = !(data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
    // A link's own length is not its file's: that one is asked for.
    if (look.ordinary && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        std::error_code error;
        look.length = std::filesystem::file_size(path, error);
        look.ordinary = !error;
    }
    return look;
}

}  // namespace

bool LookAtFile(const std::filesystem::path& path, FileLook& look) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(SystemName(path).c_str(), GetFileExInfoStandard, &data)) return Failed();
    look = LookOf(path, data);
    return true;
}

bool LookInFolder(const std::filesystem::path& folder, std::vector<FolderEntry>& entries) {
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileExW(SystemName(folder / L"*").c_str(), FindExInfoBasic, &data,
                                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) return Failed();
    const std::unique_ptr<void, decltype(&FindClose)> closing(search, &FindClose);
    entries.clear();
    do {
        const std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        entries.push_back({Utf8FromPath(name), LookOf(folder / name, data)});
    } while (FindNextFileW(search, &data));
    return true;
}

bool MayWrite(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(SystemName(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Failed();
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        errno = EACCES;
        return false;
    }
    return true;
}

bool RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    const std::wstring source = SystemName(from), target = SystemName(to);
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        const bool busy =
            error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
        // A read-only target stays refused; a busy one is tried again for a while.
        const DWORD attributes = GetFileAttributesW(target.c_str());
        const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
        if (!busy || readOnly || attempt == 20) {
            SetLastError(error);
            return Failed();
        }
        Sleep(50);
    }
}

void FlushFolder(const std::filesystem::path& folder) noexcept {
    try {
        const HANDLE handle = CreateFileW(SystemName(folder).c_str(), GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return;
        FlushFileBuffers(handle);
        CloseHandle(handle);
    } catch (...) {}
}

void SyncFileSystemOf(const std::filesystem::path&) noexcept {}

bool MakePrivateFolder(const std::filesystem::path& folder) {
    return CreateDirectoryW(SystemName(folder).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS || Failed();
}

bool IsOwnPrivateFolder(const std::filesystem::path& folder) {
    const DWORD attributes = GetFileAttributesW(SystemName(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// ---- processes ------------------------------------------------------------

unsigned long CurrentProcessId() { return GetCurrentProcessId(); }

bool ProcessIsRunning(unsigned long process) {
    HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process));
    if (!handle) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(handle, &code) && code == STILL_ACTIVE;
    CloseHandle(handle);
    return running;
}

std::filesystem::path ModulePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) return std::filesystem::path(buffer.substr(0, length));
        buffer.resize(buffer.size() * 2);
    }
}

std::string ProgramFileName(std::string_view stem) { return std::string(stem) + ".exe"; }

namespace {

// One argument as CommandLineToArgvW and the C runtime read it back:
// quotes around it, a quote inside escaped, and the backslashes before a
// quote (or before the closing one) doubled.
std::wstring QuoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

}  // namespace

bool StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& workingDirectory) {
    std::wstring line = QuoteArgument(program.wstring());
    for (const auto& argument : arguments) line += L" " + QuoteArgument(PathFromUtf8(argument).wstring());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const std::wstring folder = workingDirectory.wstring();
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_PROCESS_GROUP | CREATE_UNICODE_ENVIRONMENT, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return Failed();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool OpenWithAssociatedProgram(const std::filesystem::path& file) {
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

const char* PictureViewerExamples() { return "Paint or Photos"; }

void AttachParentConsole() {
    if (GetConsoleWindow() == nullptr && AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::FILE* reopened = nullptr;
        _wfreopen_s(&reopened, L"CONOUT$", L"w", stdout);
    }
}

std::vector<std::string> ProgramArguments(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> words;
    for (int i = 1; wide && i < count; ++i) words.push_back(Utf8FromPath(std::filesystem::path(wide[i])));
    LocalFree(wide);
    return words;
}

void UseUtf8Console() { SetConsoleOutputCP(CP_UTF8); }

// ---- memory -----------------------------------------------------------------

// Large pages need a privilege users do not hold; committed pages straight
// from the system still keep a quarter gigabyte out of the heap.
void* MapLargeBlock(size_t size) { return VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE); }

void UnmapLargeBlock(void* block, size_t) { VirtualFree(block, 0, MEM_RELEASE); }

// ---- the user's folders -----------------------------------------------------

namespace {

std::filesystem::path KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR wide = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &wide)) && wide) folder = wide;
    CoTaskMemFree(wide);
    return folder;
}

std::filesystem::path TemporaryBase() {
    wchar_t buffer[MAX_PATH + 2] = {};
    DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH + 1) return {};
    // Without its closing backslash, which some of the C library's calls refuse.
    if (length > 3 && buffer[length - 1] == L'\\') buffer[--length] = L'\0';
    return std::filesystem::path(buffer);
}

}  // namespace

// The environment first, as every program of the user's session sees it
// (and as tests point it elsewhere); the known folder where it is not set.
std::filesystem::path ApplicationDataFolderPath() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (local && *local) return std::filesystem::path(local) / "Pallix";
    const auto known = KnownFolder(FOLDERID_LocalAppData);
    if (!known.empty()) return known / "Pallix";
    throw FileException(FileException::Cause::badPath, "%LOCALAPPDATA%");
}

std::filesystem::path DocumentsFolder() {
    const auto folder = KnownFolder(FOLDERID_Documents);
    if (!folder.empty()) return folder;
    std::error_code error;
    return std::filesystem::temp_directory_path(error);
}

// %TEMP% lies in the user's own profile, which only they reach; a random
// name that CreateDirectoryW claims keeps processes apart.
std::filesystem::path CreatePrivateTemporaryFolder() {
    const auto base = TemporaryBase();
    if (base.empty()) throw FileException(FileException::Cause::badPath, "%TEMP%");
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto folder = base / ("Pallix-" + std::to_string(random()) + std::to_string(random()));
        if (CreateDirectoryW(SystemName(folder).c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    Failed();
    throw FileException::FromErrno(errno, Utf8FromPath(base));
}

// ---- the desktop session ----------------------------------------------------

std::string UserIdentity() {
    wchar_t name[256 + 1];
    DWORD length = sizeof name / sizeof name[0];
    if (!GetUserNameW(name, &length) || length == 0) return "unknown user";
    return Utf8FromPath(std::filesystem::path(std::wstring(name, length - 1)));
}

std::string SessionIdentity() {
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return std::to_string(session);
}

std::filesystem::path RuntimeFolder() { return {}; }

}  // namespace fw::os
