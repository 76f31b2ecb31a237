#include "viewer/scene/bounds.h"

#include <algorithm>

namespace vistel {

Bounds BoundsOf(const Mesh& mesh) {
    if (mesh.faces.empty()) return {};
    Vec3 low = mesh.faces.front().corners[0];
    Vec3 high = low;
    for (const auto& face : mesh.faces) {
        for (int i = 0; i < face.cornerCount; ++i) {
            const Vec3& corner = face.corners[i];
            low = {std::min(low.x, corner.x), std::min(low.y, corner.y), std::min(low.z, corner.z)};
            high = {std::max(high.x, corner.x), std::max(high.y, corner.y), std::max(high.z, corner.z)};
        }
    }
    const double radius = Length(high - low) / 2;
    return {(low + high) * 0.5, radius > 0 ? radius : 1};
}

}  // namespace vistel
