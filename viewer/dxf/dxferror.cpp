#include "viewer/dxf/dxferror.h"

namespace dxf {

std::string Error::Describe() const {
    if (line == 0) return what;
    return "line " + std::to_string(line) + ": " + what;
}

std::string Quote(std::string_view text) {
    constexpr std::size_t kShown = 40;
    std::string quoted = "\"";
    for (char c : text.substr(0, kShown)) {
        const auto byte = static_cast<unsigned char>(c);
        quoted += (byte >= 0x20 && byte < 0x7f) ? c : '?';
    }
    if (text.size() > kShown) quoted += "...";
    return quoted + "\"";
}

}  // namespace dxf
