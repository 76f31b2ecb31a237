// The toolkit's open files: a process-wide table of up to 252 files and one
// current file that every primitive read and write works on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

inline constexpr std::uint32_t FILE_MODE_READ3ds = 1;
inline constexpr std::uint32_t FILE_MODE_WRITE3ds = 2;
inline constexpr int kFileTableSize3ds = 252;
inline constexpr std::uint8_t kNoFile3ds = 255;

struct File3ds {
    std::FILE* stream = nullptr;
    std::vector<unsigned char>* memory = nullptr;  // a file on a buffer: its bytes, in place of a stream
    char* name = nullptr;  // after a move-aside, the temporary path
    std::uint32_t mode = 0;
    std::uint8_t index = kNoFile3ds;
    unsigned char* buffer = nullptr;
    std::int32_t bufferSize = 0;
    std::uint8_t temporary = 0;  // the file is deleted when closed
    std::int64_t size = -1;      // bytes in a file opened for reading

    // The buffer mirrors the file from offset `window` on. Reading: bytes
    // [0, readEnd) are valid. Writing: bytes [0, max(pending, cursor)) wait
    // to be written and writeEnd is the capacity. `cursor` is the position
    // in the buffer (while the file is current, see detail3ds::window).
    std::int64_t window = 0;
    std::size_t cursor = 0;
    std::size_t readEnd = 0;
    std::size_t writeEnd = 0;
    std::size_t pending = 0;
    std::size_t readAhead = 0;
    std::int64_t streamOffset = 0;  // where the C stream stands, -1 unknown
    bool writeFailed = false;       // sticky: some buffered bytes never reached the file

    // A file opened for writing is written under this fresh name in the same
    // folder and takes the place of `name` only when it is closed complete:
    // no write failed and no error was recorded while it was open.
    char* stagingName = nullptr;
    // What the staging file takes the place of: `name`, or the file a link
    // of that name leads to, so that the link stays a link.
    char* replaces = nullptr;
    std::uint32_t errorsAtOpen = 0;
};

// `mode` is searched for its first 'r' or 'w'. Opening a name that is open
// already returns that file (same mode), moves the reader aside (writing a
// name being read) or closes the writer (reading a name being written).
// Writing goes to a fresh file beside the target (see stagingName), so that
// a failed write leaves the file that was there before.
File3ds* OpenFile3ds(const char* name, const char* mode);
// A file on a buffer instead of the disk: reading takes `bytes` as the
// file's content, writing replaces them with what is written. `bytes` must
// outlive the file. It has no name, so no open by name ever finds it, and
// nothing on the disk is made, synced or renamed: what a writer would write
// can be had, and compared, for the cost of building it.
File3ds* OpenMemoryFile3ds(std::vector<unsigned char>& bytes, const char* mode);
// Closing a file opened for writing puts it in place of its target when it
// is complete; otherwise it is removed and the target stays as it was.
void CloseFile3ds(File3ds* file);
void CloseAllFiles3ds();
// Renames a file open for reading to a fresh name in its folder, so that the
// original name can be written while reading goes on where it was.
void MoveAsideForReading3ds(File3ds* file);
// A new empty file beside `target` (beside the file it leads to, when it is
// a link), under a fresh name claimed exclusively, with the permissions of
// `target` when it exists; its name goes to file->stagingName and the name
// it is to replace to file->replaces (both std::malloc). Null, with both
// null and the reason recorded, when `target` may not be replaced or the
// file cannot be made.
std::FILE* OpenStagingFile3ds(const char* target, File3ds* file);

File3ds* NewFileRecord3ds();
void RegisterFile3ds(File3ds* file);
void UnregisterFile3ds(File3ds* file);

File3ds* FileByIndex3ds(std::uint8_t index);
bool FileIsOpen3ds(std::uint8_t index);
File3ds* FileByName3ds(const char* name);
// Slots ever used since the table was made (never looked at beyond).
std::uint8_t FileTableHighWaterMark3ds();

void SetCurrentFile3ds(File3ds* file);
// An index that names no open file leaves the current file as it is.
void SelectFileByIndex3ds(std::uint8_t index);
File3ds* CurrentFile3ds();
std::uint8_t CurrentFileIndex3ds();
std::FILE* CurrentStream3ds();

std::int64_t FilePosition3ds();
void SeekFile3ds(std::int64_t offset);
// Writes what the current file still holds back; pushes ERR_WRITING_FILE
// when that fails.
void FlushFile3ds();
// Size in bytes of a file open for reading (as it was opened), or -1.
std::int64_t FileSize3ds(const File3ds* file);

namespace detail3ds {

// The current file's place in its buffer, kept apart from the File3ds so
// that the inline primitives touch as little as possible. Whatever reads or
// changes the current file's position parks it first and resumes after.
struct Window3ds {
    unsigned char* next = nullptr;
    unsigned char* readLimit = nullptr;   // reading: end of the valid bytes
    unsigned char* writeLimit = nullptr;  // writing: end of the buffer
};
extern Window3ds window;
extern File3ds* currentFile;

// Writes the window back into the current File3ds.
void ParkCurrent();
// Takes the window from the current File3ds.
void ResumeCurrent();

}  // namespace detail3ds

// Buffer size for files opened from now on; below 1 they use no buffer of
// the toolkit's own.
void SetFileBufferSize3ds(std::int32_t size);
std::int32_t FileBufferSize3ds();

// Whether closing a file written to the disk first asks the system to put
// its bytes on the disk (the default). A program writing many files may
// turn it off and sync them together once the last is written.
void SetSyncOnClose3ds(bool sync);
