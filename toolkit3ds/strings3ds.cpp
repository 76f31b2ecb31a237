#include "toolkit3ds/strings3ds.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/primitives3ds.h"

namespace {

// Names are short; only long texts need a scratch block from the heap.
constexpr std::uint32_t kScratchSize = 1024;

using Reader = void (*)(char*, std::uint32_t);

// Reads with `read` into scratch space of `limit` bytes and returns a
// heap copy of the string.
void ReadIntoHeap(char** out, std::uint32_t limit, Reader read) {
    if (out == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    std::array<char, kScratchSize> local;
    char* scratch = limit <= kScratchSize ? local.data() : static_cast<char*>(std::malloc(limit));
    if (scratch == nullptr) {
        PushError3ds(ERR_NO_MEM);
        return;
    }
    read(scratch, limit);
    if (!ErrorPending3ds()) {
        *out = DuplicateString3ds(scratch);
        if (*out == nullptr) {
            PushError3ds(ERR_NO_MEM);
        }
    }
    if (scratch != local.data()) {
        std::free(scratch);
    }
}

// Reads up to `maximum` bytes, stopping after the zero; gives the count of
// bytes stored, or `maximum` + 1 when the flag stopped the reading.
std::uint32_t ReadUntilZero(char* buffer, std::uint32_t maximum) {
    if (maximum > 0) {
        buffer[0] = 0;
    }
    for (std::uint32_t i = 0; i < maximum; ++i) {
        buffer[i] = static_cast<char>(ReadByte3ds());
        if (ErrorPending3ds()) {
            return maximum + 1;
        }
        if (buffer[i] == 0) {
            return i + 1;
        }
    }
    PushError3ds(ERR_READING_FILE);
    return maximum + 1;
}

}  // namespace

char* DuplicateString3ds(const char* text) {
    if (text == nullptr) {
        return nullptr;
    }
    const std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(std::malloc(size));
    if (copy != nullptr) {
        std::memcpy(copy, text, size);
    }
    return copy;
}

int BoundedStringLength3ds(const char* text, int bound) {
    if (text == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return 0;
    }
    for (int i = 0; i <= bound + 1; ++i) {
        if (text[i] == 0) {
            return i;
        }
    }
    PushError3ds(ERR_STRING_TOO_LONG);
    return 0;
}

void ReadString3ds(char* buffer, std::uint32_t maximum) { ReadUntilZero(buffer, maximum); }

void ReadStringAlloc3ds(char** out, std::uint32_t maximum) { ReadIntoHeap(out, maximum + 1, ReadString3ds); }

void ReadTextWithin3ds(char** out, std::int64_t limit) {
    if (out == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    try {
        std::string text;
        for (std::int64_t i = 0; i < limit; ++i) {
            const char byte = static_cast<char>(ReadByte3ds());
            if (ErrorPending3ds()) {
                return;
            }
            if (byte == 0) {
                *out = DuplicateString3ds(text.c_str());
                if (*out == nullptr) {
                    PushError3ds(ERR_NO_MEM);
                }
                return;
            }
            text.push_back(byte);
        }
    } catch (const std::bad_alloc&) {
        PushError3ds(ERR_NO_MEM);
        return;
    }
    PushError3ds(ERR_READING_FILE);
}

void ReadFixedString3ds(char* buffer, std::uint32_t fieldLength) {
    const std::uint32_t stored = ReadUntilZero(buffer, fieldLength);
    for (std::uint32_t i = stored; i < fieldLength; ++i) {
        buffer[i] = static_cast<char>(ReadByte3ds());
        if (ErrorPending3ds()) {
            return;
        }
    }
}

void ReadFixedStringAlloc3ds(char** out, std::uint32_t maximum) { ReadIntoHeap(out, maximum + 1, ReadFixedString3ds); }

void WriteString3ds(const char* text) {
    if (text == nullptr) {
        WriteByte3ds(0);
        return;
    }
    WriteBytes3ds(std::strlen(text) + 1, text);
}

void WriteFixedString3ds(const char* text, std::uint32_t fieldLength) {
    const std::size_t length = text != nullptr ? std::strlen(text) : 0;
    WriteBytes3ds(length, text);
    for (std::size_t written = length; written < fieldLength && !ErrorPending3ds(); ++written) {
        WriteByte3ds(0);
    }
}
