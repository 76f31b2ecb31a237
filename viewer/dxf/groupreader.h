#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

namespace dxf {

// One group of a DXF file: a code line and the value line after it.
struct Group {
    int code = 0;
    std::string_view value;  // without the line end; spaces kept
    std::size_t line = 0;    // line of the code; the value is on the next

    // The value without surrounding spaces and tabs.
    std::string_view Text() const;
    // The value as a coordinate; throws ParseError when it is none.
    double Real() const;
    // The value as a whole number; throws ParseError when it is none.
    int Integer() const;
};

// Splits DXF text into groups. Lines end in LF or CR LF; the last line may
// lack its end. Works on a view of the text, so nothing is copied.
class GroupReader {
public:
    explicit GroupReader(std::string_view text);

    // The next group, or nullopt at the end of the text. Throws ParseError
    // for a code line that is no number or a code without its value line.
    std::optional<Group> Next();
    // The number of the last line read.
    std::size_t line() const { return line_; }

private:
    std::optional<std::string_view> NextLine();

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t line_ = 0;
};

}  // namespace dxf
