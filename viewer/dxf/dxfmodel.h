#pragma once
#include <array>
#include <vector>

namespace dxf {

struct Point {
    double x = 0;
    double y = 0;
    double z = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

// Colour of an entity whose colour follows its layer; also what a face gets
// when it names no colour at all.
inline constexpr int kColourByLayer = 256;

// One 3DFACE: always four corners, as the file stores them. A face whose
// last corner repeats the third (the usual way to store a triangle) or the
// first (how our own writer stores one) is drawn as a triangle.
struct Face {
    std::array<Point, 4> corners;
    int colour = kColourByLayer;

    bool IsTriangle() const { return corners[3] == corners[2] || corners[3] == corners[0]; }
    // How many of the corners, from the first, outline the face.
    int CornerCount() const { return IsTriangle() ? 3 : 4; }
};

struct Model {
    std::vector<Face> faces;
};

}  // namespace dxf
