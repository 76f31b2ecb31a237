#include "tests/viewer/dxftext.h"

#include <cstdio>

namespace dxftext {
namespace {

std::string Fixed(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

}  // namespace

std::string Header(int offset, int size) {
    return "999\nO " + std::to_string(offset) + " S " + std::to_string(size) +
           "\n  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n"
           "  0\nLAYER\n  2\n  1\n  0\nENDTAB\n  0\nENDSEC\n  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n"
           "  0\nSECTION\n  2\nENTITIES\n  0\n";
}

std::string Face(int colour, const std::array<dxf::Point, 4>& corners) {
    std::string text = "3DFACE\n  8\n  1\n  62\n  " + std::to_string(colour) + "\n";
    for (int i = 0; i < 4; ++i) {
        const auto digit = std::to_string(i);
        text += "  1" + digit + "\n" + Fixed(corners[i].x) + "\n  2" + digit + "\n" + Fixed(corners[i].y) + "\n  3" +
                digit + "\n" + Fixed(corners[i].z) + "\n";
    }
    return text + "  0\n";
}

std::string Closing() { return "ENDSEC\n  0\nEOF\n"; }

std::string Cube() {
    const std::array<dxf::Point, 8> corners = {{
        {-1, -1, -1},
        {1, -1, -1},
        {1, 1, -1},
        {-1, 1, -1},
        {-1, -1, 1},
        {1, -1, 1},
        {1, 1, 1},
        {-1, 1, 1},
    }};
    const int triangles[12][3] = {{0, 2, 1}, {0, 3, 2}, {4, 5, 6}, {4, 6, 7}, {0, 1, 5}, {0, 5, 4},
                                  {1, 2, 6}, {1, 6, 5}, {2, 3, 7}, {2, 7, 6}, {3, 0, 4}, {3, 4, 7}};
    std::string text = Header();
    int colour = 0;
    for (const auto& t : triangles) {
        text += Face(++colour, {corners[t[2]], corners[t[1]], corners[t[0]], corners[t[2]]});
    }
    return text + Closing();
}

std::string WithLineEnds(std::string_view text, std::string_view lineEnd) {
    std::string result;
    result.reserve(text.size() * 2);
    for (char c : text) {
        if (c == '\n') {
            result += lineEnd;
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace dxftext
