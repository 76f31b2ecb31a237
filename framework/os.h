#pragma once
// The operating-system layer: every call the program makes to the system,
// behind one set of declarations, in the way SQLite keeps os_unix.c and
// os_win.c apart. os_posix.cpp implements it for Linux (and other POSIX
// systems), os_windows.cpp for Windows; CMake builds one of the two. No
// other file below the front ends (app/, cli/) asks which system it runs on.
//
// A call that fails leaves the reason in errno, as a POSIX error number:
// Windows' own error codes are translated (a sharing violation is EBUSY, a
// lock violation ENOLCK), so callers report every failure one way.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Which file an open handle reaches, and the state it was in: the same
// device and index mean the same file under any name or link; size and
// modification time tell whether it was written since.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t index = 0;
    uint64_t size = 0;
    int64_t modified = 0;  // nanoseconds, or the platform's finest unit

    bool SameFile(const FileIdentity& other) const { return device == other.device && index == other.index; }
    bool operator==(const FileIdentity&) const = default;
};

namespace os {

// Paths travel between the program's parts as UTF-8 text (see pathtext.h).
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);
// Whether two path texts name the same file as far as their letters go:
// Windows' names are blind to case, POSIX names are not.
bool SamePathText(std::string_view a, std::string_view b);

// ---- files ----------------------------------------------------------------

// A file opened by Open: a descriptor on POSIX, a HANDLE on Windows.
using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;

enum class OpenMode {
    read,           // an existing file, for reading; others may read and write meanwhile
    readDenyWrite,  // as read, and other programs may not write meanwhile
    readWrite,      // an existing file, read and written in place; others may only read
    createWrite,    // create or truncate, write only, never through a link
    createNew,      // create a file that must not exist yet, read and write, nobody else's meanwhile
    createPrivate,  // as createNew, for this user only, and never through a link
};

// Opens a regular file. A folder is refused with EISDIR (or EACCES), a pipe,
// a device or a reserved device name (CON, NUL, COM1 ...) with EINVAL,
// without waiting for a pipe's other end. Handles are not inherited by
// programs this one starts.
Handle Open(const std::filesystem::path& path, OpenMode mode);
// Read and Write move at most count bytes and return how many, or -1.
long long Read(Handle handle, void* buffer, size_t count);
long long Write(Handle handle, const void* buffer, size_t count);
bool Seek(Handle handle, uint64_t offset);
// Asks the system to put the file's bytes on the disk (fsync, FlushFileBuffers).
bool FlushFile(Handle handle);
bool Close(Handle handle);
bool Length(Handle handle, uint64_t& length);
bool Identity(Handle handle, FileIdentity& identity);
// Gives the file the permission bits of another file where the platform has
// them (POSIX modes); Windows' new files take the folder's access rules.
void CopyPermissions(Handle handle, const std::filesystem::path& from);

// An advisory lock on the whole file, between programs that ask for it:
// flock on POSIX; on Windows LockFileEx on one byte far beyond any data, so
// that reads and writes of the file are not blocked by it. Shared locks
// exist together, an exclusive one alone. Without `wait`, a lock another
// program holds fails at once with EWOULDBLOCK. Closing the handle ends it.
enum class LockKind { shared, exclusive };
bool LockFile(Handle handle, LockKind kind, bool wait);
bool UnlockFile(Handle handle);

// ---- names in folders -------------------------------------------------------

// Whether the path names something that exists but is neither a regular
// file nor a folder: a pipe, a socket, a device.
bool IsSpecialFile(const std::filesystem::path& path);
// What one look at a name tells: when the file was last written, in the
// platform's finest unit (nanoseconds on POSIX, 100 ns on Windows; the C++
// library's last_write_time has whole seconds on MinGW), its length, and
// whether it is an ordinary file (no folder, pipe or device).
struct FileLook {
    int64_t modified = 0;
    uint64_t length = 0;
    bool ordinary = false;
};
// False when there is no such file.
bool LookAtFile(const std::filesystem::path& path, FileLook& look);
// A folder's entries with what LookAtFile tells of each, in one listing:
// cheaper than looking at every name a file might have, most of which are
// not there. An entry that vanished meanwhile is left out; false when the
// folder cannot be listed.
struct FolderEntry {
    std::string name;  // UTF-8
    FileLook look;
};
bool LookInFolder(const std::filesystem::path& folder, std::vector<FolderEntry>& entries);
// Whether this user may write the file (access(W_OK); on Windows the
// read-only attribute); errno tells why not.
bool MayWrite(const std::filesystem::path& path);
// Renames `from` to `to`, replacing a file that has that name, in one step
// that a power cut leaves done or undone (rename; MoveFileExW with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). On Windows a
// target that another program holds open for a moment (a virus scanner,
// an indexer) is tried again for up to a second.
bool RenameOver(const std::filesystem::path& from, const std::filesystem::path& to);
// Flushes a folder's list of names, so that a file created or removed in it
// stays so after a power cut: fsync of the folder on POSIX, FlushFileBuffers
// of the folder's handle on Windows (NTFS journals the names; this asks that
// the journal be on the disk). Does nothing when the folder cannot be opened.
void FlushFolder(const std::filesystem::path& folder) noexcept;
// Puts what was written on the folder's file system on the disk in one call
// (syncfs on Linux, sync on other POSIX systems). Windows has no such call
// short of flushing the whole volume, which takes administrator rights: there
// it does nothing, and the files follow the system's own lazy writing.
void SyncFileSystemOf(const std::filesystem::path& folder) noexcept;
// Makes a folder that only this user reaches (mode 0700 on POSIX; on
// Windows it inherits the access rules of the user's own profile folder it
// is made in). True when it was made or was there already.
bool MakePrivateFolder(const std::filesystem::path& folder);
// Whether the folder is a real folder (no link, no junction) that this user
// owns and nobody else may write into.
bool IsOwnPrivateFolder(const std::filesystem::path& folder);

// ---- processes ------------------------------------------------------------

unsigned long CurrentProcessId();
// Whether a process of that number runs (one we may not look at counts as running).
bool ProcessIsRunning(unsigned long process);
// The full path of the running program file.
std::filesystem::path ModulePath();
// The name of a program file of ours: "vistel" here, "vistel.exe" on Windows.
std::string ProgramFileName(std::string_view stem);
// Starts a program with its arguments in a working directory and returns at
// once; no shell sees the arguments. False when it could not be started.
bool StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& workingDirectory);
// The platform's "open" action on a file: the program associated with its type.
bool OpenWithAssociatedProgram(const std::filesystem::path& file);
// Examples of programs that show BMP files, for a message that asks the user
// to install one.
const char* PictureViewerExamples();
// A program without a console of its own (a desktop program on Windows)
// writes to the console it was started from, if any. Does nothing elsewhere.
void AttachParentConsole();

// The words after the program's name, as UTF-8 whatever the platform's code
// page: on Windows from the wide command line (CommandLineToArgvW).
std::vector<std::string> ProgramArguments(int argc, char** argv);
// Text the program writes to a console is UTF-8, as its names are
// (SetConsoleOutputCP on Windows; a POSIX terminal takes the bytes as they are).
void UseUtf8Console();

// ---- memory -----------------------------------------------------------------

// A block of `size` bytes straight from the system, zeroed, in large pages
// where the system has them: touching a few hundred megabytes page by page
// costs more than reading them. Null when the memory cannot be had.
void* MapLargeBlock(size_t size);
// Gives back a block MapLargeBlock gave, of the size it was asked for.
void UnmapLargeBlock(void* block, size_t size);

// ---- the user's folders -----------------------------------------------------

// The program's folder in the user's application data, whether it exists
// or not: $XDG_DATA_HOME/pallix, else ~/.local/share/pallix;
// %LOCALAPPDATA%\Pallix on Windows. Raises a FileException (badPath) naming
// what is missing when the system names no such folder.
std::filesystem::path ApplicationDataFolderPath();
// The user's documents folder: XDG_DOCUMENTS_DIR (the environment, then
// user-dirs.dirs), else Documents in the home folder; on Windows the known
// folder SHGetKnownFolderPath names, else the temporary folder.
std::filesystem::path DocumentsFolder();
// Makes a fresh folder for this process's temporary files, that only this
// user reaches, under a name nobody could have taken first: in
// $XDG_RUNTIME_DIR or the temporary folder (POSIX), in %TEMP% (Windows).
// Raises a FileException naming the place when none can be made.
std::filesystem::path CreatePrivateTemporaryFolder();

// ---- the desktop session ----------------------------------------------------

// Who runs the program, as a text that tells users apart on this machine:
// the user id (POSIX), the user name (Windows).
std::string UserIdentity();
// The desktop session the program shows on: the display on POSIX (empty
// when none is named), the login session's number on Windows. Programs of
// one user in one session hand files over to each other.
std::string SessionIdentity();
// The user's runtime folder, private to them, when the system has one
// ($XDG_RUNTIME_DIR); empty otherwise and on Windows.
std::filesystem::path RuntimeFolder();

}  // namespace os
}  // namespace fw
