// The toolkit's single error channel: a fixed list of recorded codes and a
// sticky pending flag. Nothing here allocates, so recording cannot fail.
#pragma once

#include <cstdint>
#include <cstdio>

using ErrorCode3ds = std::int32_t;

inline constexpr ErrorCode3ds NO_TOOLKIT_ERRORS = 0;
inline constexpr ErrorCode3ds ERR_NO_MEM = 1;
inline constexpr ErrorCode3ds ERR_INVALID_ARG = 2;
inline constexpr ErrorCode3ds ERR_INVALID_DATA = 3;
inline constexpr ErrorCode3ds ERR_INVALID_CHUNK = 4;
inline constexpr ErrorCode3ds ERR_INVALID_DATABASE = 5;
inline constexpr ErrorCode3ds ERR_WRONG_DATABASE = 6;
inline constexpr ErrorCode3ds ERR_UNFOUND_CHUNK = 7;
inline constexpr ErrorCode3ds ERR_WRONG_OBJECT = 8;
inline constexpr ErrorCode3ds ERR_NO_SUCH_FILE = 9;
inline constexpr ErrorCode3ds ERR_INIT_FAILED = 10;
inline constexpr ErrorCode3ds ERR_OPENING_FILE = 11;
inline constexpr ErrorCode3ds ERR_CLOSING_FILE = 12;
inline constexpr ErrorCode3ds ERR_READING_FILE = 13;
inline constexpr ErrorCode3ds ERR_CREATING_DATABASE = 14;
inline constexpr ErrorCode3ds ERR_READING_DATABASE = 15;
inline constexpr ErrorCode3ds ERR_WRITING_DATABASE = 16;
inline constexpr ErrorCode3ds ERR_WRITING_FILE = 17;
inline constexpr ErrorCode3ds ERR_STRING_TOO_LONG = 18;
inline constexpr ErrorCode3ds ERR_TOO_MANY_FILES = 19;
inline constexpr ErrorCode3ds ERR_NOT_REGULAR_FILE = 20;
inline constexpr ErrorCode3ds ERR_READ_ONLY_FILE = 21;
inline constexpr ErrorCode3ds N_ERRORS = 22;

// 19 entries and one overflow entry.
inline constexpr int kErrorListSize3ds = 20;

struct ErrorEntry3ds {
    ErrorCode3ds code;  // 0 marks an empty entry
    const char* text;
};

// Records a code (0 is ignored) and returns its text.
const char* PushError3ds(ErrorCode3ds code);
void ClearErrors3ds();
// Writes every recorded text, newest first, one per line; changes nothing.
void ReportErrors3ds(std::FILE* stream);
const char* ErrorText3ds(ErrorCode3ds code);
// The list itself, kErrorListSize3ds entries, oldest first.
const ErrorEntry3ds* ErrorEntries3ds();

namespace detail3ds {
extern std::uint8_t errorPending;
// Codes recorded since the program started; clearing the list keeps it.
extern std::uint32_t errorsRecorded;

// The error list as it stands, to be put back when what was recorded since
// turns out to be no error (a chunk whose bytes do not fit its tag).
struct ErrorListMark {
    ErrorEntry3ds entries[kErrorListSize3ds];
    std::uint8_t pending;
    std::uint32_t recorded;
};
ErrorListMark MarkErrorList();
void RestoreErrorList(const ErrorListMark& mark);
// True when an entry recorded after the mark says memory ran out.
bool MemoryRanOutSince(const ErrorListMark& mark);
}  // namespace detail3ds

// Every toolkit caller tests this after each toolkit call it makes.
inline bool ErrorPending3ds() { return detail3ds::errorPending != 0; }
