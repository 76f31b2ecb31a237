#pragma once
#include <algorithm>
#include <string>
#include <string_view>

namespace fw {

// Case folding of the ASCII letters alone, whatever the locale: names and
// extensions compare alike on every platform and in every language setting,
// and the bytes of other characters are never changed.
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string AsciiLowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), AsciiLower);
    return text;
}

inline bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace fw
