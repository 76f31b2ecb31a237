#include "toolkit3ds/file3ds.h"
#include "toolkit3ds/platformfile3ds.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/stream3ds.h"
#include "toolkit3ds/strings3ds.h"

namespace detail3ds {

File3ds* currentFile = nullptr;
Window3ds window;

void ParkCurrent() {
    File3ds* file = currentFile;
    if (file == nullptr || file->buffer == nullptr) {
        return;
    }
    file->cursor = static_cast<std::size_t>(window.next - file->buffer);
    if (file->writeEnd > 0 && file->cursor > file->pending) {
        file->pending = file->cursor;
    }
}

void ResumeCurrent() {
    File3ds* file = currentFile;
    if (file == nullptr || file->buffer == nullptr) {
        window = {};
        return;
    }
    window.next = file->buffer + file->cursor;
    window.readLimit = file->buffer + file->readEnd;
    window.writeLimit = file->buffer + file->writeEnd;
}

}  // namespace detail3ds

using detail3ds::ParkCurrent;
using detail3ds::ResumeCurrent;

namespace {

constexpr std::int32_t kDefaultBufferSize = 1 << 20;
constexpr int kModeStringBound = 30;

File3ds** table = nullptr;
std::uint8_t highWater = 0;
std::uint8_t currentIndex = 0;
std::int32_t bufferSizeSetting = kDefaultBufferSize;
bool syncOnClose = true;

std::uint32_t ModeFromString(const char* mode, int length) {
    for (int i = 0; i < length; ++i) {
        if (mode[i] == 'r') {
            return FILE_MODE_READ3ds;
        }
        if (mode[i] == 'w') {
            return FILE_MODE_WRITE3ds;
        }
    }
    return 0;
}

void GiveBuffer(File3ds* file) {
    if (bufferSizeSetting < 1) {
        return;
    }
    file->buffer = static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(bufferSizeSetting)));
    if (file->buffer != nullptr) {
        file->bufferSize = bufferSizeSetting;
    }
}

// Settles a second open of a name that is open already. Returns the file
// to hand out instead of the new one, or null to go on opening.
File3ds* SettleExistingFile(File3ds* existing, File3ds* fresh) {
    if (existing->mode == fresh->mode) {
        return existing;
    }
    if ((existing->mode & FILE_MODE_READ3ds) != 0) {
        MoveAsideForReading3ds(existing);
    } else {
        CloseFile3ds(existing);
    }
    return nullptr;
}

// Puts a closed writer's file in place of its target when it is complete,
// else removes it; false when the replacing failed.
bool SettleStagingFile(const File3ds& file, bool failed) {
    if (file.stagingName == nullptr) {
        return true;
    }
    const bool complete = !failed && detail3ds::errorsRecorded == file.errorsAtOpen;
    if (complete && ReplaceFile3ds(file.stagingName, file.replaces) == 0) {
        return true;
    }
    RemoveFile3ds(file.stagingName);
    return !complete;
}

}  // namespace

File3ds* NewFileRecord3ds() {
    auto* file = new (std::nothrow) File3ds{};
    if (file == nullptr) {
        PushError3ds(ERR_NO_MEM);
    }
    return file;
}

void RegisterFile3ds(File3ds* file) {
    if (table == nullptr) {
        table = static_cast<File3ds**>(std::calloc(kFileTableSize3ds, sizeof(File3ds*)));
        if (table == nullptr) {
            PushError3ds(ERR_NO_MEM);
            return;
        }
    }
    int slot = 0;
    while (slot < highWater && table[slot] != nullptr) {
        ++slot;
    }
    if (slot >= kFileTableSize3ds) {
        PushError3ds(ERR_TOO_MANY_FILES);
        return;
    }
    table[slot] = file;
    file->index = static_cast<std::uint8_t>(slot);
    if (slot == highWater) {
        ++highWater;
    }
}

void UnregisterFile3ds(File3ds* file) {
    if (table != nullptr && file->index < highWater && table[file->index] == file) {
        table[file->index] = nullptr;
    }
    file->index = kNoFile3ds;
}

// Every failure after the new record exists releases it again, so that a
// failed open leaves no half-made file behind to be found by name later.
File3ds* OpenFile3ds(const char* name, const char* mode) {
    if (name == nullptr || mode == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return nullptr;
    }
    File3ds* existing = FileByName3ds(name);
    File3ds* file = NewFileRecord3ds();
    if (ErrorPending3ds()) {
        CloseFile3ds(file);
        PushError3ds(ERR_INIT_FAILED);
        return nullptr;
    }
    RegisterFile3ds(file);
    if (!ErrorPending3ds()) {
        file->name = DuplicateString3ds(name);
        if (file->name == nullptr) {
            PushError3ds(ERR_NO_MEM);
        }
    }
    if (!ErrorPending3ds()) {
        const int length = BoundedStringLength3ds(mode, kModeStringBound);
        file->mode = ModeFromString(mode, length);
        if (!ErrorPending3ds() && file->mode == 0) {
            PushError3ds(ERR_INIT_FAILED);
        }
    }
    if (!ErrorPending3ds() && existing != nullptr) {
        if (File3ds* same = SettleExistingFile(existing, file)) {
            CloseFile3ds(file);
            return same;
        }
    }
    if (!ErrorPending3ds()) {
        file->stream =
            file->mode == FILE_MODE_READ3ds ? OpenRegularForReading3ds(name) : OpenStagingFile3ds(name, file);
        file->errorsAtOpen = detail3ds::errorsRecorded;
        if (file->stream == nullptr) {
            PushError3ds(ERR_OPENING_FILE);
        }
    }
    if (ErrorPending3ds()) {
        CloseFile3ds(file);
        return nullptr;
    }
    GiveBuffer(file);
    StreamAttach3ds(*file);
    if (file->mode == FILE_MODE_READ3ds) {
        file->size = StreamSize3ds(*file);
    }
    return file;
}

File3ds* OpenMemoryFile3ds(std::vector<unsigned char>& bytes, const char* mode) {
    if (mode == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return nullptr;
    }
    File3ds* file = NewFileRecord3ds();
    if (ErrorPending3ds()) {
        CloseFile3ds(file);
        PushError3ds(ERR_INIT_FAILED);
        return nullptr;
    }
    RegisterFile3ds(file);
    if (!ErrorPending3ds()) {
        file->mode = ModeFromString(mode, BoundedStringLength3ds(mode, kModeStringBound));
        if (!ErrorPending3ds() && file->mode == 0) {
            PushError3ds(ERR_INIT_FAILED);
        }
    }
    if (ErrorPending3ds()) {
        CloseFile3ds(file);
        return nullptr;
    }
    if (file->mode == FILE_MODE_WRITE3ds) {
        bytes.clear();
    }
    file->memory = &bytes;
    GiveBuffer(file);
    StreamAttach3ds(*file);
    if (file->mode == FILE_MODE_READ3ds) {
        file->size = StreamSize3ds(*file);
    }
    return file;
}

void CloseFile3ds(File3ds* file) {
    if (file == nullptr) {
        return;
    }
    const bool current = detail3ds::currentFile == file;
    if (current) {
        ParkCurrent();
    }
    bool failed = false;
    if (file->stream != nullptr) {
        const bool writing = (file->mode & FILE_MODE_WRITE3ds) != 0;
        failed = writing && !(StreamFlush3ds(*file) && (!syncOnClose || SyncStream3ds(file->stream)));
        failed = std::fclose(file->stream) != 0 || failed;
        file->stream = nullptr;
        if (file->temporary != 0) {
            RemoveFile3ds(file->name);
        }
    }
    if (file->memory != nullptr) {
        failed = (file->mode & FILE_MODE_WRITE3ds) != 0 && !StreamFlush3ds(*file);
        file->memory = nullptr;
    }
    failed = !SettleStagingFile(*file, failed) || failed;
    UnregisterFile3ds(file);
    if (current) {
        detail3ds::currentFile = nullptr;
        ResumeCurrent();
    }
    std::free(file->name);
    std::free(file->stagingName);
    std::free(file->replaces);
    std::free(file->buffer);
    delete file;
    if (failed) {
        PushError3ds(ERR_CLOSING_FILE);
    }
}

void CloseAllFiles3ds() {
    for (int slot = 0; table != nullptr && slot < highWater; ++slot) {
        if (table[slot] != nullptr) {
            CloseFile3ds(table[slot]);
            if (ErrorPending3ds()) {
                return;
            }
        }
    }
    std::free(table);
    table = nullptr;
    highWater = 0;
    currentIndex = 0;
}

File3ds* FileByIndex3ds(std::uint8_t index) {
    if (table == nullptr || index >= highWater) {
        return nullptr;
    }
    return table[index];
}

bool FileIsOpen3ds(std::uint8_t index) { return index < kNoFile3ds && FileByIndex3ds(index) != nullptr; }

File3ds* FileByName3ds(const char* name) {
    for (int slot = 0; name != nullptr && table != nullptr && slot < highWater; ++slot) {
        File3ds* file = table[slot];
        if (file != nullptr && file->name != nullptr && std::strcmp(file->name, name) == 0) {
            return file;
        }
    }
    return nullptr;
}

std::uint8_t FileTableHighWaterMark3ds() { return highWater; }

void SetCurrentFile3ds(File3ds* file) {
    ParkCurrent();
    detail3ds::currentFile = file;
    ResumeCurrent();
    currentIndex = file != nullptr ? file->index : kNoFile3ds;
}

void SelectFileByIndex3ds(std::uint8_t index) {
    if (File3ds* file = FileByIndex3ds(index)) {
        SetCurrentFile3ds(file);
    }
}

File3ds* CurrentFile3ds() { return detail3ds::currentFile; }
std::uint8_t CurrentFileIndex3ds() { return currentIndex; }

std::FILE* CurrentStream3ds() { return detail3ds::currentFile != nullptr ? detail3ds::currentFile->stream : nullptr; }

std::int64_t FilePosition3ds() {
    ParkCurrent();
    const File3ds* file = detail3ds::currentFile;
    return file != nullptr ? file->window + static_cast<std::int64_t>(file->cursor) : 0;
}

void SeekFile3ds(std::int64_t offset) {
    if (detail3ds::currentFile != nullptr) {
        ParkCurrent();
        StreamSeek3ds(*detail3ds::currentFile, offset);
        ResumeCurrent();
    }
}

void FlushFile3ds() {
    File3ds* file = detail3ds::currentFile;
    if (file == nullptr || (file->mode & FILE_MODE_WRITE3ds) == 0) {
        return;
    }
    ParkCurrent();
    const bool flushed = StreamFlush3ds(*file);
    ResumeCurrent();
    if (!flushed) {
        PushError3ds(ERR_WRITING_FILE);
    }
}

std::int64_t FileSize3ds(const File3ds* file) { return file != nullptr ? file->size : -1; }

void SetFileBufferSize3ds(std::int32_t size) { bufferSizeSetting = size; }
std::int32_t FileBufferSize3ds() { return bufferSizeSetting; }
void SetSyncOnClose3ds(bool sync) { syncOnClose = sync; }
