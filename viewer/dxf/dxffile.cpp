#include "viewer/dxf/dxffile.h"

#include <fstream>
#include <new>
#include <string>
#include <system_error>

namespace dxf {
namespace {

ParseResult Failure(std::string what) {
    ParseResult result;
    result.error = Error{0, std::move(what)};
    return result;
}

}  // namespace

ParseResult ReadDxfFile(const std::filesystem::path& path, const Limits& limits) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) return Failure("the file does not exist");
    if (std::filesystem::is_directory(status)) return Failure("this is a folder, not a file");
    if (!std::filesystem::is_regular_file(status)) return Failure("this is not an ordinary file");
    const auto size = std::filesystem::file_size(path, error);
    if (error) return Failure("the file's size cannot be read: " + error.message());
    if (size > kMaxFileBytes) return Failure("the file is larger than 256 MiB, too large to show");

    std::ifstream stream(path, std::ios::binary);
    if (!stream) return Failure("the file cannot be opened for reading");
    std::string text;
    try {
        text.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return Failure("not enough memory to read the file");
    }
    stream.read(text.data(), static_cast<std::streamsize>(text.size()));
    // The file may have shrunk since its size was taken; what was read counts.
    text.resize(static_cast<std::size_t>(stream.gcount()));
    if (stream.bad()) return Failure("reading the file failed");
    return ParseDxf(text, limits);
}

}  // namespace dxf
