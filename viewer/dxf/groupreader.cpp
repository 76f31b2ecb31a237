#include "viewer/dxf/groupreader.h"

#include <charconv>
#include <cmath>
#include <string>

#include "viewer/dxf/dxferror.h"

namespace dxf {
namespace {

// Coordinates beyond this are no drawing's: refusing them keeps every later
// sum and square of the viewer's maths finite.
constexpr double kMaxCoordinate = 1e15;

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& number) {
    // Some writers put a plus sign before positive numbers.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, number);
    return status == std::errc() && stop == end && !text.empty();
}

[[noreturn]] void Fail(std::size_t line, std::string what) { throw ParseError(Error{line, std::move(what)}); }

}  // namespace

std::string_view Group::Text() const { return Trim(value); }

double Group::Real() const {
    const std::string_view text = Text();
    double number = 0;
    if (!ParseNumber(text, number) || std::isnan(number)) {
        Fail(line + 1, "group " + std::to_string(code) + " needs a number, found " + Quote(value));
    }
    if (!(std::fabs(number) <= kMaxCoordinate)) {
        Fail(line + 1,
             "group " + std::to_string(code) + " holds " + Quote(text) + ", too far out to be a drawing coordinate");
    }
    return number;
}

int Group::Integer() const {
    int number = 0;
    if (!ParseNumber(Text(), number)) {
        Fail(line + 1, "group " + std::to_string(code) + " needs a whole number, found " + Quote(value));
    }
    return number;
}

GroupReader::GroupReader(std::string_view text) : text_(text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark) pos_ = kByteOrderMark.size();
}

std::optional<std::string_view> GroupReader::NextLine() {
    if (pos_ >= text_.size()) return std::nullopt;
    auto end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    std::string_view line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    ++line_;
    return line;
}

std::optional<Group> GroupReader::Next() {
    const auto codeLine = NextLine();
    if (!codeLine) return std::nullopt;
    Group group;
    group.line = line_;
    if (!ParseNumber(Trim(*codeLine), group.code)) {
        Fail(line_, "expected a group code, found " + Quote(*codeLine));
    }
    const auto valueLine = NextLine();
    if (!valueLine) {
        Fail(group.line, "group " + std::to_string(group.code) + " has no value: the file ends early");
    }
    group.value = *valueLine;
    return group;
}

}  // namespace dxf
