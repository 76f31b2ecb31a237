#include "toolkit3ds/error3ds.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace detail3ds {
std::uint8_t errorPending = 0;
std::uint32_t errorsRecorded = 0;
}  // namespace detail3ds

namespace {

constexpr int kOrdinaryEntries = kErrorListSize3ds - 1;

constexpr std::array<const char*, N_ERRORS + 1> kTexts = {
    "NO_TOOLKIT_ERRORS: No errors are pending",
    "ERR_NO_MEM: Not enough memory to complete operation",
    "ERR_INVALID_ARG: The argument passed to the function is invalid.  Usually caused by a NULL "
    "pointer or an out of range numeric argument.",
    "ERR_INVALID_DATA: The structure passed as an argument to the function has invalid or out of "
    "range data in its fields.",
    "ERR_INVALID_CHUNK: An invalid chunk structure was encountered while reading the database. "
    "Usually caused by a corrupt database or file",
    "ERR_INVALID_DATABASE: The database passed as an argument has not be created yet.",
    "ERR_WRONG_DATABASE: The database passed as an argument is the wrong kind of database for this "
    "function.",
    "ERR_UNFOUND_CHUNK: The database is missing important file chunks needed to fill out the "
    "requested structure.  Usually caused by a corrupt database or file",
    "ERR_WRONG_OBJECT: The name passed to the functions exists, but is not the type of object asked "
    "for.  For example, asking for a mesh object with a camera lookup function.",
    "ERR_NO_SUCH_FILE: The filename passed as an argument for reading does not exist",
    "ERR_INIT_FAILED: Failed to initialize structure passed as an argument",
    "ERR_OPENING_FILE: Could not open requested file",
    "ERR_CLOSING_FILE: Could not close requested file",
    "ERR_READING_FILE: Error occured while reading file",
    "ERR_CREATING_DATABASE: Error occured while creating database",
    "ERR_READING_DATABASE: Error occured while reading database",
    "ERR_WRITING_DATABASE: Error occured while writing database",
    "ERR_WRITING_FILE: Error occured while writing file",
    "ERR_STRING_TOO_LONG: String encountered in file, structure, or as an argument was longer than "
    "expected.  Possibly caused by an uninitialed pointer, corrupt file or database",
    "ERR_TOO_MANY_FILES: The toolkit has reached its maximum open file limit of 252 files.",
    "ERR_NOT_REGULAR_FILE: The file named is a folder, a pipe, a device, another special file or a link to "
    "no file, so it is neither read nor replaced.",
    "ERR_READ_ONLY_FILE: The file to be written is read-only or may not be written by this user, so it was "
    "left as it is.",
    "N_ERRORS: More errors were reported then could be recorded.",
};

constexpr const char* kUnknownText = "Unknown error code was encountered";

std::array<ErrorEntry3ds, kErrorListSize3ds> errorList{};

void StoreEntry(int slot, ErrorCode3ds code) { errorList[slot] = {code, ErrorText3ds(code)}; }

}  // namespace

const char* ErrorText3ds(ErrorCode3ds code) {
    if (code < 0 || code > N_ERRORS || kTexts[code] == nullptr) {
        return kUnknownText;
    }
    return kTexts[code];
}

const char* PushError3ds(ErrorCode3ds code) {
    if (code == NO_TOOLKIT_ERRORS) {
        return ErrorText3ds(code);
    }
    detail3ds::errorPending = 1;
    ++detail3ds::errorsRecorded;
    for (int slot = 0; slot < kOrdinaryEntries; ++slot) {
        if (errorList[slot].code == NO_TOOLKIT_ERRORS) {
            StoreEntry(slot, code);
            if (slot + 1 < kErrorListSize3ds) {
                errorList[slot + 1] = {};
            }
            return errorList[slot].text;
        }
    }
    const int overflow = kOrdinaryEntries;
    StoreEntry(overflow, errorList[overflow].code == NO_TOOLKIT_ERRORS ? code : N_ERRORS);
    return errorList[overflow].text;
}

void ClearErrors3ds() {
    detail3ds::errorPending = 0;
    errorList.fill({});
}

void ReportErrors3ds(std::FILE* stream) {
    for (int slot = kErrorListSize3ds - 1; slot >= 0; --slot) {
        if (errorList[slot].code != NO_TOOLKIT_ERRORS) {
            std::fprintf(stream, "%s\n", errorList[slot].text);
        }
    }
}

const ErrorEntry3ds* ErrorEntries3ds() { return errorList.data(); }

namespace detail3ds {

ErrorListMark MarkErrorList() {
    ErrorListMark mark{};
    std::copy(errorList.begin(), errorList.end(), mark.entries);
    mark.pending = errorPending;
    mark.recorded = errorsRecorded;
    return mark;
}

void RestoreErrorList(const ErrorListMark& mark) {
    std::copy(std::begin(mark.entries), std::end(mark.entries), errorList.begin());
    errorPending = mark.pending;
    errorsRecorded = mark.recorded;
}

bool MemoryRanOutSince(const ErrorListMark& mark) {
    for (int slot = 0; slot < kErrorListSize3ds; ++slot) {
        if (errorList[slot].code == ERR_NO_MEM && mark.entries[slot].code != ERR_NO_MEM) {
            return true;
        }
    }
    return false;
}

}  // namespace detail3ds
