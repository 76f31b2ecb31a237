#pragma once
#include "viewer/scene/mesh.h"
#include "viewer/scene/vec3.h"

namespace vistel {

// The sphere round a model that the view fits into the window.
struct Bounds {
    Vec3 centre;
    double radius = 1;  // never 0, so a model of one point still has a size
};

Bounds BoundsOf(const Mesh& mesh);

}  // namespace vistel
