#include "exchange/model/dxfwriter.h"

#include <array>
#include <charconv>

#include "datafile/layouts.h"
#include "exchange/model/modelconversion.h"

using namespace pallix;

namespace {

constexpr const char* kHeader[] = {
    "  0",   "SECTION", "  2",   "HEADER", "  0",   "ENDSEC", "  0", "SECTION", "  2",    "TABLES",   "  0",
    "TABLE", "  2",     "LAYER", "  0",    "LAYER", "  2",    "  1", "  0",     "ENDTAB", "  0",      "ENDSEC",
    "  0",   "SECTION", "  2",   "BLOCKS", "  0",   "ENDSEC", "  0", "SECTION", "  2",    "ENTITIES", "  0"};
constexpr const char* kClosing[] = {"ENDSEC", "  0", "EOF"};
constexpr const char* kCornerCodes[4][3] = {
    {"  10", "  20", "  30"}, {"  11", "  21", "  31"}, {"  12", "  22", "  32"}, {"  13", "  23", "  33"}};

using Corner = std::array<double, 3>;

void Line(std::string& out, std::string_view text) {
    out += text;
    out += "\r\n";
}

// "%f" of the C library, whatever locale the program runs in.
std::string Fixed(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

Corner CornerOf(const ModelArrays& model, uint16_t vertex) {
    if (vertex >= model.vertexCount) return {0.0, 0.0, 0.0};
    return PositionOfVertex(model, vertex);
}

void WriteFace(std::string& out, const ModelArrays& model, uint32_t triangle) {
    Line(out, "3DFACE");
    Line(out, "  8");
    Line(out, "  1");
    Line(out, "  62");
    Line(out, "  " + std::to_string(triangle + 1));
    // The corners in the order the mesh files have them; the fourth closes the face.
    const ExchangeFace face = FaceFromTriangle(model, triangle, 0);
    const Corner first = CornerOf(model, uint16_t(face.a));
    const Corner corners[4] = {first, CornerOf(model, uint16_t(face.b)), CornerOf(model, uint16_t(face.c)), first};
    for (int c = 0; c < 4; ++c) {
        for (int axis = 0; axis < 3; ++axis) {
            Line(out, kCornerCodes[c][axis]);
            Line(out, Fixed(corners[c][axis]));
        }
    }
    Line(out, "  0");
}

}  // namespace

std::optional<std::string> DxfText(std::span<const uint8_t> model, uint32_t offset, uint32_t size) {
    const auto arrays = LocateModelArrays(model);
    if (!arrays) return std::nullopt;
    std::string out;
    Line(out, "999");
    Line(out, "O " + std::to_string(offset) + " S " + std::to_string(size));
    for (const char* line : kHeader) Line(out, line);
    for (uint32_t t = 0; t < arrays->triangleCount; ++t) WriteFace(out, *arrays, t);
    for (const char* line : kClosing) Line(out, line);
    return out;
}
