#pragma once
#include "viewer/scene/bounds.h"
#include "viewer/scene/vec3.h"

namespace vistel {

// Where a point of the model lands in the window: x to the right and y down
// in pixels, depth growing away from the viewer.
struct ScreenPoint {
    double x = 0;
    double y = 0;
    double depth = 0;
};

// An orthographic camera that turns round a target point, with z as the
// model's up axis. Everything is in window pixels, so mouse movements feed
// in directly.
class Camera {
public:
    void SetViewport(double width, double height);
    // Centres the model's sphere and scales it to fill most of the window,
    // looking from the default direction.
    void Fit(const Bounds& bounds);
    // Turns the model as a drag by that many pixels does.
    void Orbit(double dx, double dy);
    // Moves the model with the mouse.
    void Pan(double dx, double dy);
    // Zooms in (steps > 0) or out by wheel steps, keeping the model point
    // under the cursor where it is.
    void Zoom(double steps, double cursorX, double cursorY);

    ScreenPoint Project(Vec3 point) const;
    // The unit vector from the model towards the viewer, and the screen's
    // right and up directions, all in model coordinates.
    Vec3 TowardViewer() const;
    Vec3 Right() const;
    Vec3 Up() const;
    double width() const { return width_; }
    double height() const { return height_; }
    double scale() const { return scale_; }

private:
    double width_ = 1;
    double height_ = 1;
    Vec3 target_;
    double yaw_ = 0;
    double pitch_ = 0;
    double scale_ = 1;     // pixels per model unit
    double fitScale_ = 1;  // the scale that fit chose, for bounding the zoom
};

}  // namespace vistel
