#include "exchange/files/exportpaths.h"
#include "framework/asciicase.h"
#include "framework/pathtext.h"

#include <cstdio>
#include <set>

std::string BitmapFileName(uint32_t offset, const BitmapFormat& format) {
    char name[24];
    std::snprintf(name, sizeof name, "O%X", static_cast<unsigned>(offset));
    return name + std::string(format.extension);
}

namespace {

bool IsForbiddenInFileName(unsigned char c) {
    if (c < 0x20 || c == 0x7F) return true;
    switch (c) {
        case '<':
        case '>':
        case ':':
        case '"':
        case '/':
        case '\\':
        case '|':
        case '?':
        case '*': return true;
        default: return false;
    }
}

// CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0..9 and LPT0..9 (and COM or LPT
// with a superscript 1, 2 or 3) name devices on Windows, whatever extension
// follows and with spaces before it: "NUL .x" is NUL too. The name is UTF-8.
bool IsWindowsDeviceName(const std::string& name) {
    std::string base = fw::AsciiLowered(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    if (base == "con" || base == "prn" || base == "aux" || base == "nul" || base == "conin$" || base == "conout$")
        return true;
    if (base.rfind("com", 0) != 0 && base.rfind("lpt", 0) != 0) return false;
    const std::string number = base.substr(3);
    return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";
}

// Names in data files are 8-bit text of the game's time: Latin-1 carried to
// UTF-8, the text of file names here.
std::string Utf8FromLatin1(const std::string& text) {
    std::string utf8;
    for (unsigned char c : text) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

// The safe-name rule on text that is UTF-8 already: the characters it
// replaces are all ASCII.
std::string SafeStemOfUtf8(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return std::string(name.empty() ? 1 : name.size(), '_');
    std::string safe = name;
    for (char& c : safe) {
        if (IsForbiddenInFileName(static_cast<unsigned char>(c))) c = '_';
    }
    // Windows drops trailing dots and spaces, which could merge two names.
    if (safe.back() == '.' || safe.back() == ' ') safe.back() = '_';
    if (IsWindowsDeviceName(safe)) safe.front() = '_';
    return safe;
}

// Six hexadecimal digits that stay the same for the same text from run to run.
std::string StableSuffix(const std::string& text) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, "~%06X", static_cast<unsigned>(hash & 0xFFFFFF));
    return suffix;
}

}  // namespace

std::filesystem::path ExportFolder(const std::filesystem::path& modulePath, const std::string& dataPath) {
    const std::filesystem::path dataFile = fw::PathFromUtf8(dataPath).filename();
    const std::string stem = fw::Utf8FromPath(dataFile.stem());
    std::string safe = SafeStemOfUtf8(stem);
    // Data files whose names are made safe alike ("a?b", "a\nb", and "a_b"
    // itself) must not share one folder.
    if (safe != stem) safe += StableSuffix(stem);
    return modulePath.parent_path() / "bfp" / fw::PathFromUtf8(safe);
}

std::string SafeFileStem(const std::string& name) { return SafeStemOfUtf8(Utf8FromLatin1(name)); }

std::vector<std::string> ModelFileStems(const std::vector<std::string>& names) {
    std::vector<std::string> stems;
    std::set<std::string> taken;
    for (const auto& name : names) {
        std::string stem = SafeFileStem(name);
        for (int n = 2; taken.count(fw::AsciiLowered(stem)); ++n) stem = SafeFileStem(name) + "~" + std::to_string(n);
        taken.insert(fw::AsciiLowered(stem));
        stems.push_back(std::move(stem));
    }
    return stems;
}
