#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dxf {

// Why a file could not be read, and where: line is 1-based, 0 when the
// fault is not on one line (a missing file, an empty file).
struct Error {
    std::size_t line = 0;
    std::string what;

    // "line 12: ..." or just the text, for showing to the user.
    std::string Describe() const;
};

// Carries an Error out of the depths of the parser to its single catch.
class ParseError : public std::runtime_error {
public:
    explicit ParseError(Error error) : std::runtime_error(error.what), error_(std::move(error)) {}
    const Error& error() const { return error_; }

private:
    Error error_;
};

// A file's text as a short, printable quotation for a message: bytes that
// might not survive display are replaced and long text is cut.
std::string Quote(std::string_view text);

}  // namespace dxf
