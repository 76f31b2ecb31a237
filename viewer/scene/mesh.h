#pragma once
#include <array>
#include <vector>

#include "viewer/dxf/acicolour.h"
#include "viewer/dxf/dxfmodel.h"
#include "viewer/scene/vec3.h"

namespace vistel {

// A point of a texture: u to the right, v downwards, both from 0 to 1
// across the picture.
struct TexturePoint {
    double u = 0;
    double v = 0;
};

inline constexpr int kNoTexture = -1;

// A face as the views draw it: a triangle or a quad in model coordinates,
// plain coloured or covered with one of the textures the view was given.
struct MeshFace {
    std::array<Vec3, 4> corners;
    std::array<TexturePoint, 4> mapping;
    int cornerCount = 3;
    dxf::Rgb colour{200, 200, 200};
    int texture = kNoTexture;
};

struct Mesh {
    std::vector<MeshFace> faces;
};

inline Vec3 ToVec3(const dxf::Point& point) { return {point.x, point.y, point.z}; }

// A DXF drawing's faces, each in its drawing colour.
Mesh MeshFromDxf(const dxf::Model& model);

}  // namespace vistel
