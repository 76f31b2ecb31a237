#include "viewer/scene/camera.h"

#include <gtest/gtest.h>

#include <cmath>

#include "viewer/scene/bounds.h"
#include "viewer/scene/frame.h"

namespace {

using vistel::Camera;
using vistel::Vec3;

constexpr double kWidth = 800;
constexpr double kHeight = 600;

dxf::Face Square(double z, int colour) {
    dxf::Face face;
    face.corners = {{{-1, -1, z}, {1, -1, z}, {1, 1, z}, {-1, 1, z}}};
    face.colour = colour;
    return face;
}

dxf::Model Box() {
    dxf::Model model;
    model.faces = {Square(-1, 1), Square(1, 2)};
    return model;
}

Camera FittedTo(const dxf::Model& model) {
    Camera camera;
    camera.SetViewport(kWidth, kHeight);
    camera.Fit(vistel::BoundsOf(vistel::MeshFromDxf(model)));
    return camera;
}

double DistanceFromCentre(const vistel::ScreenPoint& point) {
    return std::hypot(point.x - kWidth / 2, point.y - kHeight / 2);
}

TEST(Camera, FitsTheModelIntoTheWindowFromEveryDirection) {
    const dxf::Model model = Box();
    Camera camera = FittedTo(model);
    const auto centre = camera.Project({0, 0, 0});
    EXPECT_NEAR(centre.x, kWidth / 2, 1e-9);
    EXPECT_NEAR(centre.y, kHeight / 2, 1e-9);
    // The bounding sphere fills 90% of the window's height however it turns.
    for (int turn = 0; turn < 12; ++turn) {
        double farthest = 0;
        for (const auto& face : model.faces) {
            for (const auto& corner : face.corners) {
                farthest = std::max(farthest, DistanceFromCentre(camera.Project(vistel::ToVec3(corner))));
            }
        }
        EXPECT_LE(farthest, 0.45 * kHeight + 1e-9);
        EXPECT_GT(farthest, 0.3 * kHeight);
        camera.Orbit(97, 61);
    }
}

TEST(Camera, FitsModelsWithoutExtent) {
    dxf::Model point;
    point.faces.push_back({});
    for (const auto& model : {dxf::Model{}, point}) {
        const vistel::Bounds bounds = vistel::BoundsOf(vistel::MeshFromDxf(model));
        EXPECT_EQ(bounds.radius, 1);
        const auto projected = FittedTo(model).Project({0, 0, 0});
        EXPECT_TRUE(std::isfinite(projected.x) && std::isfinite(projected.y));
    }
}

TEST(Camera, PanMovesTheModelWithTheMouse) {
    Camera camera = FittedTo(Box());
    camera.Orbit(40, -30);
    const Vec3 point{0.3, -0.7, 1};
    const auto before = camera.Project(point);
    camera.Pan(25, -14);
    const auto after = camera.Project(point);
    EXPECT_NEAR(after.x - before.x, 25, 1e-9);
    EXPECT_NEAR(after.y - before.y, -14, 1e-9);
}

TEST(Camera, ZoomKeepsThePointUnderTheCursorAndStaysBounded) {
    Camera camera = FittedTo(Box());
    const double fitted = camera.scale();
    const Vec3 point{0.5, 0.5, 1};
    const auto under = camera.Project(point);
    camera.Zoom(3, under.x, under.y);
    const auto after = camera.Project(point);
    EXPECT_NEAR(after.x, under.x, 1e-9);
    EXPECT_NEAR(after.y, under.y, 1e-9);
    EXPECT_NEAR(camera.scale(), fitted * 1.2 * 1.2 * 1.2, 1e-9);

    camera.Zoom(1e6, 0, 0);
    EXPECT_LE(camera.scale(), fitted * 1e5 * (1 + 1e-12));
    camera.Zoom(-1e6, kWidth, kHeight);
    EXPECT_GE(camera.scale(), fitted * 1e-3 * (1 - 1e-12));
    EXPECT_TRUE(std::isfinite(camera.Project(point).x));
}

TEST(Camera, OrbitStopsShortOfLookingStraightDown) {
    Camera camera = FittedTo(Box());
    camera.Orbit(0, 1e6);
    EXPECT_NEAR(vistel::Length(camera.Right()), 1, 1e-12);
    EXPECT_NEAR(vistel::Length(camera.Up()), 1, 1e-12);
    EXPECT_GT(camera.Up().z, 0);
}

TEST(Frame, PaintsFarFacesFirstAndLeavesOutThoseOffScreen) {
    const dxf::Model model = Box();
    Camera camera = FittedTo(model);
    // Looking from above: the face at z = 1 is the nearer.
    auto frame = vistel::BuildFrame(vistel::MeshFromDxf(model), camera);
    ASSERT_EQ(frame.size(), 2u);
    EXPECT_GT(frame[0].depth, frame[1].depth);
    EXPECT_EQ(frame[1].colour.green, frame[1].colour.red);  // colour 2, yellow

    camera.Orbit(0, -1e6);  // now from below
    frame = vistel::BuildFrame(vistel::MeshFromDxf(model), camera);
    ASSERT_EQ(frame.size(), 2u);
    EXPECT_EQ(frame[1].colour.green, 0);  // colour 1, red

    camera.Pan(10 * kWidth, 0);
    EXPECT_TRUE(vistel::BuildFrame(vistel::MeshFromDxf(model), camera).empty());
}

TEST(Frame, ShadesFacesTurnedToTheLightBrighterOnBothSides) {
    const Camera camera = FittedTo(Box());
    const Vec3 facing = camera.TowardViewer();
    const Vec3 edgeOn = camera.Right();
    EXPECT_GT(vistel::Brightness(facing, camera), vistel::Brightness(edgeOn, camera) + 0.3);
    EXPECT_DOUBLE_EQ(vistel::Brightness(facing, camera), vistel::Brightness(facing * -1, camera));
    EXPECT_LE(vistel::Brightness(facing, camera), 1.0);
    EXPECT_GT(vistel::Brightness({}, camera), 0.0);  // a face without area still shows
}

}  // namespace
