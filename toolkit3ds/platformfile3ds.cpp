#include "platformfile3ds.h"

#ifdef _WIN32
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
#else
std::FILE* OpenStream3ds(const char* utf8Name, const char* mode) { return std::fopen(utf8Name, mode); }
int RemoveFile3ds(const char* utf8Name) { return std::remove(utf8Name); }
int RenameFile3ds(const char* utf8From, const char* utf8To) { return std::rename(utf8From, utf8To); }
#endif
