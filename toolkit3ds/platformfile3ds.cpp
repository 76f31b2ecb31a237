#include "toolkit3ds/platformfile3ds.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#ifdef _WIN32
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <filesystem>
#include <string>

namespace {

std::wstring Wide(const char* utf8) {
    const std::string text(utf8);
    return std::filesystem::path(std::u8string(text.begin(), text.end())).wstring();
}

}  // namespace

std::FILE* OpenStream3ds(const char* utf8Name, const char* mode) {
    try {
        return _wfopen(Wide(utf8Name).c_str(), Wide(mode).c_str());
    } catch (...) {  // a name that is not UTF-8 names no file
        return nullptr;
    }
}

int RemoveFile3ds(const char* utf8Name) {
    try {
        return _wremove(Wide(utf8Name).c_str());
    } catch (...) {
        return -1;
    }
}

int RenameFile3ds(const char* utf8From, const char* utf8To) {
    try {
        return _wrename(Wide(utf8From).c_str(), Wide(utf8To).c_str());
    } catch (...) {
        return -1;
    }
}

int ReplaceFile3ds(const char* utf8From, const char* utf8To) {
    try {
        const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
        return MoveFileExW(Wide(utf8From).c_str(), Wide(utf8To).c_str(), flags) ? 0 : -1;
    } catch (...) {
        return -1;
    }
}

bool SyncStream3ds(std::FILE* stream) { return std::fflush(stream) == 0 && _commit(_fileno(stream)) == 0; }
#else
std::FILE* OpenStream3ds(const char* utf8Name, const char* mode) { return std::fopen(utf8Name, mode); }
int RemoveFile3ds(const char* utf8Name) { return std::remove(utf8Name); }
int RenameFile3ds(const char* utf8From, const char* utf8To) { return std::rename(utf8From, utf8To); }
int ReplaceFile3ds(const char* utf8From, const char* utf8To) { return std::rename(utf8From, utf8To); }
bool SyncStream3ds(std::FILE* stream) { return std::fflush(stream) == 0 && fsync(fileno(stream)) == 0; }
#endif
