#include "app/bitmappreview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kZoomPerStep = 1.25;
constexpr double kWheelStep = 120;  // angle delta of one notch
constexpr double kMinZoom = 0.05;
constexpr double kMaxZoom = 64;
constexpr int kMargin = 8;

}  // namespace

BitmapPreview::BitmapPreview(QWidget* parent) : QWidget(parent) { setMinimumSize(64, 64); }

void BitmapPreview::SetPicture(QImage picture) {
    picture_ = std::move(picture);
    zoom_ = 0;
    offset_ = {};
    update();
}

double BitmapPreview::FitScale() const {
    if (picture_.isNull()) return 1;
    const double across = std::max(width() - 2 * kMargin, 1) / double(picture_.width());
    const double down = std::max(height() - 2 * kMargin, 1) / double(picture_.height());
    return std::min(across, down);
}

double BitmapPreview::Scale() const { return zoom_ > 0 ? zoom_ : FitScale(); }

QRectF BitmapPreview::Placement() const {
    const QSizeF size = QSizeF(picture_.size()) * Scale();
    const QPointF centre = QRectF(rect()).center() + offset_;
    return {centre - QPointF(size.width() / 2, size.height() / 2), size};
}

void BitmapPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (picture_.isNull()) return;
    // Smoothing only where pixels are dropped; enlarged, each shows as its square.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, Scale() < 1);
    painter.drawImage(Placement(), picture_);
}

void BitmapPreview::wheelEvent(QWheelEvent* event) {
    if (picture_.isNull()) return;
    const double before = Scale();
    const double steps = event->angleDelta().y() / kWheelStep;
    const double after = std::clamp(before * std::pow(kZoomPerStep, steps), kMinZoom, kMaxZoom);
    // The picture point under the cursor stays there.
    const QPointF fromCentre = event->position() - QRectF(rect()).center();
    offset_ = fromCentre - (fromCentre - offset_) * (after / before);
    zoom_ = after;
    update();
    event->accept();
}

void BitmapPreview::mousePressEvent(QMouseEvent* event) { lastMouse_ = event->position(); }

void BitmapPreview::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || zoom_ == 0) return;
    offset_ += event->position() - lastMouse_;
    lastMouse_ = event->position();
    update();
}

void BitmapPreview::mouseDoubleClickEvent(QMouseEvent*) {
    zoom_ = 0;
    offset_ = {};
    update();
}
