#include "toolkit3ds/stream3ds.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

#include "toolkit3ds/platformfile3ds.h"

namespace {

// After a jump, read little: the chunk layer often reads a header and jumps
// again. Each read that follows on from the last doubles the amount.
constexpr std::size_t kInitialReadAhead = 512;

bool SeekStream(std::FILE* stream, std::int64_t offset) { return SeekStream3ds(stream, offset); }

bool PlaceStream(File3ds& file, std::int64_t offset) {
    if (file.streamOffset == offset || (file.memory != nullptr && offset >= 0)) {
        file.streamOffset = offset;
        return true;
    }
    if (!SeekStream(file.stream, offset)) {
        file.streamOffset = -1;
        return false;
    }
    file.streamOffset = offset;
    return true;
}

std::size_t ReadMemory(const std::vector<unsigned char>& bytes, std::int64_t offset, unsigned char* out,
                       std::size_t count) {
    const auto start = static_cast<std::size_t>(offset);
    if (start >= bytes.size()) {
        return 0;
    }
    const std::size_t got = std::min(count, bytes.size() - start);
    std::memcpy(out, bytes.data() + start, got);
    return got;
}

// A buffer that cannot grow fails the write as a full disk would.
bool WriteMemory(std::vector<unsigned char>& bytes, std::int64_t offset, const unsigned char* in, std::size_t count) {
    const auto start = static_cast<std::size_t>(offset);
    try {
        if (bytes.size() < start + count) {
            bytes.resize(start + count);
        }
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    std::memcpy(bytes.data() + start, in, count);
    return true;
}

std::size_t ReadAt(File3ds& file, std::int64_t offset, unsigned char* out, std::size_t count) {
    if (!PlaceStream(file, offset)) {
        return 0;
    }
    const std::size_t got =
        file.memory != nullptr ? ReadMemory(*file.memory, offset, out, count) : std::fread(out, 1, count, file.stream);
    file.streamOffset += static_cast<std::int64_t>(got);
    return got;
}

bool WriteAt(File3ds& file, std::int64_t offset, const unsigned char* in, std::size_t count) {
    if (!PlaceStream(file, offset)) {
        file.writeFailed = true;
        return false;
    }
    const std::size_t put = file.memory != nullptr ? (WriteMemory(*file.memory, offset, in, count) ? count : 0)
                                                   : std::fwrite(in, 1, count, file.stream);
    file.streamOffset += static_cast<std::int64_t>(put);
    if (put != count) {
        file.writeFailed = true;
    }
    return put == count;
}

std::int64_t Position(const File3ds& file) { return file.window + static_cast<std::int64_t>(file.cursor); }

// Moves the unread bytes to the front of the buffer.
void Compact(File3ds& file) {
    const std::size_t unread = file.readEnd - file.cursor;
    std::memmove(file.buffer, file.buffer + file.cursor, unread);
    file.window += static_cast<std::int64_t>(file.cursor);
    file.cursor = 0;
    file.readEnd = unread;
}

void Fill(File3ds& file, std::size_t wanted) {
    const auto capacity = static_cast<std::size_t>(file.bufferSize);
    while (file.readEnd < wanted) {
        const std::size_t ahead = std::min(file.readAhead, capacity - file.readEnd);
        const std::size_t amount = std::max(wanted - file.readEnd, ahead);
        const std::size_t got =
            ReadAt(file, file.window + static_cast<std::int64_t>(file.readEnd), file.buffer + file.readEnd, amount);
        file.readEnd += got;
        if (got < amount) {
            break;
        }
    }
    file.readAhead = std::min(file.readAhead * 2, capacity);
}

bool ReadUnbuffered(File3ds& file, unsigned char* out, std::size_t count) {
    const std::int64_t start = Position(file);
    if (ReadAt(file, start, out, count) != count) {
        file.streamOffset = -1;
        return false;
    }
    file.window = start + static_cast<std::int64_t>(count);
    file.cursor = 0;
    return true;
}

bool IsOpenFor(const File3ds& file, std::uint32_t mode) {
    return (file.stream != nullptr || file.memory != nullptr) && (file.mode & mode) != 0;
}

}  // namespace

void StreamAttach3ds(File3ds& file) {
    file.window = 0;
    file.cursor = 0;
    file.readEnd = 0;
    file.pending = 0;
    file.streamOffset = 0;
    file.readAhead = kInitialReadAhead;
    file.writeEnd = (file.buffer != nullptr && (file.mode & FILE_MODE_WRITE3ds) != 0)
                        ? static_cast<std::size_t>(file.bufferSize)
                        : 0;
    if (file.buffer != nullptr && file.stream != nullptr) {
        std::setvbuf(file.stream, nullptr, _IONBF, 0);
    }
}

bool StreamRead3ds(File3ds& file, unsigned char* out, std::size_t count) {
    if (!IsOpenFor(file, FILE_MODE_READ3ds)) {
        return false;
    }
    if (file.buffer == nullptr) {
        return ReadUnbuffered(file, out, count);
    }
    Compact(file);
    if (count > static_cast<std::size_t>(file.bufferSize)) {
        const std::size_t held = file.readEnd;
        if (held + ReadAt(file, file.window + static_cast<std::int64_t>(held), out + held, count - held) != count) {
            return false;
        }
        std::memcpy(out, file.buffer, held);
        file.window += static_cast<std::int64_t>(count);
        file.readEnd = 0;
        return true;
    }
    Fill(file, count);
    if (file.readEnd < count) {
        return false;
    }
    std::memcpy(out, file.buffer, count);
    file.cursor = count;
    return true;
}

bool StreamFlush3ds(File3ds& file) {
    if (file.pending > 0) {
        WriteAt(file, file.window, file.buffer, file.pending);
    }
    file.window += static_cast<std::int64_t>(file.cursor);
    file.cursor = 0;
    file.pending = 0;
    return !file.writeFailed;
}

bool StreamWrite3ds(File3ds& file, const unsigned char* in, std::size_t count) {
    if (!IsOpenFor(file, FILE_MODE_WRITE3ds)) {
        return false;
    }
    if (!StreamFlush3ds(file)) {
        return false;
    }
    if (file.buffer == nullptr || count > static_cast<std::size_t>(file.bufferSize)) {
        const bool written = WriteAt(file, file.window, in, count);
        file.window += static_cast<std::int64_t>(count);
        return written;
    }
    std::memcpy(file.buffer, in, count);
    file.cursor = count;
    file.pending = count;
    return true;
}

void StreamSeek3ds(File3ds& file, std::int64_t offset) {
    const bool writing = (file.mode & FILE_MODE_WRITE3ds) != 0;
    const std::size_t held = writing ? file.pending : file.readEnd;
    if (file.buffer != nullptr && offset >= file.window && offset <= file.window + static_cast<std::int64_t>(held)) {
        file.cursor = static_cast<std::size_t>(offset - file.window);
        return;
    }
    if (writing) {
        // A failed write is remembered and reported by the next flush.
        StreamFlush3ds(file);
    }
    file.window = offset;
    file.cursor = 0;
    file.readEnd = 0;
    file.readAhead = kInitialReadAhead;
}

std::int64_t StreamSize3ds(File3ds& file) {
    if (file.memory != nullptr) {
        return static_cast<std::int64_t>(file.memory->size());
    }
    if (file.stream == nullptr || std::fseek(file.stream, 0, SEEK_END) != 0) {
        return -1;
    }
    const std::int64_t size = TellStream3ds(file.stream);
    file.streamOffset = size;
    return size;
}
