#include "viewer/scene/frame.h"

#include <algorithm>
#include <cmath>

#include "viewer/scene/bounds.h"

namespace vistel {
namespace {

constexpr double kAmbient = 0.3;

// The normal of a face; a quad's from its diagonals, so that one that is not
// quite flat still gets a fair one.
Vec3 NormalOf(const MeshFace& face) {
    const auto& c = face.corners;
    if (face.cornerCount == 3) return Normalized(Cross(c[1] - c[0], c[2] - c[0]));
    return Normalized(Cross(c[2] - c[0], c[3] - c[1]));
}

bool OutsideWindow(const ScreenFace& face, const Camera& camera) {
    const auto begin = face.corners.begin();
    const auto end = begin + face.cornerCount;
    const auto byX = [](const ScreenPoint& a, const ScreenPoint& b) { return a.x < b.x; };
    const auto byY = [](const ScreenPoint& a, const ScreenPoint& b) { return a.y < b.y; };
    return std::max_element(begin, end, byX)->x < 0 || std::min_element(begin, end, byX)->x > camera.width() ||
           std::max_element(begin, end, byY)->y < 0 || std::min_element(begin, end, byY)->y > camera.height();
}

dxf::Rgb Shaded(dxf::Rgb colour, double brightness) {
    const auto scaled = [brightness](std::uint8_t channel) {
        return static_cast<std::uint8_t>(std::lround(channel * brightness));
    };
    return {scaled(colour.red), scaled(colour.green), scaled(colour.blue)};
}

}  // namespace

double Brightness(Vec3 normal, const Camera& camera) {
    const Vec3 light = Normalized(camera.TowardViewer() + camera.Up() * 0.5 - camera.Right() * 0.3);
    return kAmbient + (1 - kAmbient) * std::fabs(Dot(normal, light));
}

std::vector<ScreenFace> BuildFrame(const Mesh& mesh, const Camera& camera) {
    std::vector<ScreenFace> frame;
    frame.reserve(mesh.faces.size());
    for (const auto& face : mesh.faces) {
        ScreenFace screen;
        screen.cornerCount = face.cornerCount;
        screen.mapping = face.mapping;
        screen.texture = face.texture;
        double depthSum = 0;
        for (int i = 0; i < screen.cornerCount; ++i) {
            screen.corners[i] = camera.Project(face.corners[i]);
            depthSum += screen.corners[i].depth;
        }
        if (OutsideWindow(screen, camera)) continue;
        screen.depth = depthSum / screen.cornerCount;
        screen.brightness = Brightness(NormalOf(face), camera);
        screen.colour = Shaded(face.colour, screen.brightness);
        frame.push_back(screen);
    }
    std::stable_sort(frame.begin(), frame.end(),
                     [](const ScreenFace& a, const ScreenFace& b) { return a.depth > b.depth; });
    return frame;
}

}  // namespace vistel
