#pragma once
#include <array>
#include <vector>

#include "viewer/dxf/acicolour.h"
#include "viewer/scene/camera.h"
#include "viewer/scene/mesh.h"

namespace vistel {

// A face as it is painted: its outline in window pixels, its texture points,
// how brightly it is lit and its colour in that light.
struct ScreenFace {
    std::array<ScreenPoint, 4> corners;
    std::array<TexturePoint, 4> mapping;
    int cornerCount = 4;
    double depth = 0;  // of the face's centre
    double brightness = 1;
    dxf::Rgb colour;
    int texture = kNoTexture;
};

// The faces to paint, farthest first, so that painting them in order lets
// the nearer ones cover the farther (the painter's algorithm). Faces wholly
// outside the window are left out.
std::vector<ScreenFace> BuildFrame(const Mesh& mesh, const Camera& camera);

// How brightly a face with this normal is lit, from 0 to 1: a light near the
// viewer, a little above and to the left, plus some ambient light. Faces
// have no reliable front side in DXF, so both sides are lit alike.
double Brightness(Vec3 normal, const Camera& camera);

}  // namespace vistel
