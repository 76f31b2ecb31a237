#include "viewer/scene/mesh.h"

namespace vistel {

Mesh MeshFromDxf(const dxf::Model& model) {
    Mesh mesh;
    mesh.faces.reserve(model.faces.size());
    for (const auto& face : model.faces) {
        MeshFace shown;
        for (size_t i = 0; i < face.corners.size(); ++i) shown.corners[i] = ToVec3(face.corners[i]);
        shown.cornerCount = face.CornerCount();
        shown.colour = dxf::ColourOfIndex(face.colour);
        mesh.faces.push_back(shown);
    }
    return mesh;
}

}  // namespace vistel
