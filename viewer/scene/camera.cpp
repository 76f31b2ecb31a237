#include "viewer/scene/camera.h"

#include <algorithm>
#include <numbers>

namespace vistel {
namespace {

constexpr double kDefaultYaw = -60 * std::numbers::pi / 180;
constexpr double kDefaultPitch = 25 * std::numbers::pi / 180;
// Just short of straight down or up, where "right" would be undefined.
constexpr double kMaxPitch = 89 * std::numbers::pi / 180;
constexpr double kRadiansPerPixel = 0.01;
constexpr double kZoomPerStep = 1.2;
// How much of the window's smaller side the fitted model fills.
constexpr double kFitShare = 0.9;
// Zoom limits relative to the fitted scale; they keep the drawn coordinates
// within what the painting code handles well.
constexpr double kMinZoom = 1e-3;
constexpr double kMaxZoom = 1e5;

}  // namespace

void Camera::SetViewport(double width, double height) {
    width_ = std::max(width, 1.0);
    height_ = std::max(height, 1.0);
}

void Camera::Fit(const Bounds& bounds) {
    target_ = bounds.centre;
    yaw_ = kDefaultYaw;
    pitch_ = kDefaultPitch;
    fitScale_ = kFitShare * std::min(width_, height_) / (2 * bounds.radius);
    scale_ = fitScale_;
}

void Camera::Orbit(double dx, double dy) {
    yaw_ -= dx * kRadiansPerPixel;
    pitch_ = std::clamp(pitch_ + dy * kRadiansPerPixel, -kMaxPitch, kMaxPitch);
}

void Camera::Pan(double dx, double dy) { target_ = target_ - Right() * (dx / scale_) + Up() * (dy / scale_); }

void Camera::Zoom(double steps, double cursorX, double cursorY) {
    const double wanted = scale_ * std::pow(kZoomPerStep, steps);
    const double scale = std::clamp(wanted, fitScale_ * kMinZoom, fitScale_ * kMaxZoom);
    // The cursor's offset from the window centre, in model units, shrinks or
    // grows with the zoom; moving the target by the difference holds it still.
    const double offsetX = cursorX - width_ / 2;
    const double offsetY = cursorY - height_ / 2;
    const double shift = 1 / scale_ - 1 / scale;
    target_ = target_ + Right() * (offsetX * shift) - Up() * (offsetY * shift);
    scale_ = scale;
}

ScreenPoint Camera::Project(Vec3 point) const {
    const Vec3 relative = point - target_;
    return {width_ / 2 + Dot(relative, Right()) * scale_, height_ / 2 - Dot(relative, Up()) * scale_,
            -Dot(relative, TowardViewer())};
}

Vec3 Camera::TowardViewer() const {
    return {std::cos(pitch_) * std::cos(yaw_), std::cos(pitch_) * std::sin(yaw_), std::sin(pitch_)};
}

Vec3 Camera::Right() const { return {-std::sin(yaw_), std::cos(yaw_), 0}; }

Vec3 Camera::Up() const { return Cross(TowardViewer(), Right()); }

}  // namespace vistel
