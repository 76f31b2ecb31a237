#include "exchange/formats/objscreen.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <vector>

#include "exchange/formats/formatfiles.h"

namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < line.size()) {
        const size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) break;
        const size_t end = std::min(line.find_first_of(" \t", start), line.size());
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

// A coordinate the library would read as 0 or as a number beyond any place.
bool IsNoFiniteNumber(std::string_view word) {
    double value = 0;
    const char* first = word.data() + (!word.empty() && word[0] == '+' ? 1 : 0);
    const auto [end, error] = std::from_chars(first, word.data() + word.size(), value);
    if (error == std::errc::result_out_of_range) return true;
    return error == std::errc() && !std::isfinite(value);
}

// Each index of a corner ("7", "7/2", "7//3", "-1/-1") lies within what a
// model may hold; the library would wrap a longer one into a small number.
bool HasIndexBeyondAnyModel(std::string_view corner) {
    for (size_t at = 0; at <= corner.size();) {
        const size_t slash = std::min(corner.find('/', at), corner.size());
        const std::string_view part = corner.substr(at, slash - at);
        int64_t index = 0;
        if (!part.empty()) {
            const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), index);
            if (error == std::errc::result_out_of_range) return true;
            if (error == std::errc() && (index > int64_t(kMaxImportedEntries) || index < -int64_t(kMaxImportedEntries)))
                return true;
        }
        at = slash + 1;
    }
    return false;
}

std::string ScreenLine(std::string_view line) {
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) return {};
    const std::string_view keyword = words[0];
    if (keyword == "v" || keyword == "vt" || keyword == "vn") {
        for (size_t i = 1; i < words.size(); ++i)
            if (IsNoFiniteNumber(words[i]))
                return "a vertex has the coordinate " + Capped(std::string(words[i])) + ", which is no finite number";
    }
    if (keyword == "f") {
        if (words.size() - 1 > kMaxObjFaceCorners)
            return "a face has " + std::to_string(words.size() - 1) + " corners, more than the " +
                   std::to_string(kMaxObjFaceCorners) + " a face may have (split it in the editor)";
        for (size_t i = 1; i < words.size(); ++i)
            if (HasIndexBeyondAnyModel(words[i]))
                return "a face names the vertex " + Capped(std::string(words[i])) + ", which no model has";
    }
    return {};
}

}  // namespace

ScreenedObj ScreenObjText(std::string_view bytes) {
    ScreenedObj screened;
    screened.text.reserve(bytes.size());
    size_t lines = 0;
    for (size_t at = 0; at < bytes.size();) {
        // Every kind of line end counts: "\n", "\r\n" and a lone "\r".
        const size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
        const std::string_view line = bytes.substr(at, end - at);
        at = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        if (++lines > kMaxImportedEntries) {
            screened.failure = "it has more lines than any model's file";
            return screened;
        }
        screened.failure = ScreenLine(line);
        if (!screened.failure.empty()) return screened;
        // Skin weights are not imported, and the library reads their joint numbers unchecked.
        const std::vector<std::string_view> words = Words(line);
        if (words.empty() || words[0] != "vw") screened.text.append(line);
        screened.text.push_back('\n');
    }
    return screened;
}
