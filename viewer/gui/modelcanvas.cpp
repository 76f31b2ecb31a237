#include "modelcanvas.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QWheelEvent>

#include "bounds.h"
#include "frame.h"

namespace vistel {
namespace {

// Smoothing edges costs too much time on very large models.
constexpr std::size_t kMaxSmoothedFaces = 20000;
constexpr double kWheelStep = 120;  // angle delta of one notch

QColor ToQColor(dxf::Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

}  // namespace

ModelCanvas::ModelCanvas(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(160, 120);
    camera_.SetViewport(width(), height());
}

void ModelCanvas::SetModel(dxf::Model model) {
    model_ = std::move(model);
    hasModel_ = true;
    FitToView();
}

void ModelCanvas::SetWireframe(bool on) {
    wireframe_ = on;
    update();
}

void ModelCanvas::FitToView() {
    camera_.SetViewport(width(), height());
    camera_.Fit(BoundsOf(model_));
    moved_ = false;
    update();
}

void ModelCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(58, 66, 82));
    background.setColorAt(1, QColor(20, 22, 28));
    painter.fillRect(rect(), background);
    if (!hasModel_) {
        PaintNotice(painter, tr("Open a DXF drawing with File > Open."));
    } else if (model_.faces.empty()) {
        PaintNotice(painter, tr("This drawing has no 3DFACE entities to show."));
    } else {
        PaintFaces(painter);
    }
}

void ModelCanvas::PaintFaces(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, model_.faces.size() <= kMaxSmoothedFaces);
    const QColor edgeColour(12, 12, 12);
    QPolygonF outline;
    for (const auto& face : BuildFrame(model_, camera_)) {
        outline.clear();
        for (int i = 0; i < face.cornerCount; ++i) outline << QPointF(face.corners[i].x, face.corners[i].y);
        const QColor fill = ToQColor(face.colour);
        painter.setBrush(fill);
        // Outlining each face in its own colour closes the hairline gaps
        // that smoothing leaves between neighbours.
        painter.setPen(QPen(wireframe_ ? edgeColour : fill, 1));
        painter.drawPolygon(outline);
    }
}

void ModelCanvas::PaintNotice(QPainter& painter, const QString& text) const {
    painter.setPen(QColor(220, 220, 220));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, text);
}

void ModelCanvas::resizeEvent(QResizeEvent*) {
    if (moved_) {
        camera_.SetViewport(width(), height());
    } else {
        FitToView();
    }
}

void ModelCanvas::mousePressEvent(QMouseEvent* event) { lastMouse_ = event->position().toPoint(); }

void ModelCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    const QPoint delta = position - lastMouse_;
    lastMouse_ = position;
    if (event->buttons() & Qt::LeftButton) {
        camera_.Orbit(delta.x(), delta.y());
    } else if (event->buttons() & (Qt::RightButton | Qt::MiddleButton)) {
        camera_.Pan(delta.x(), delta.y());
    } else {
        return;
    }
    moved_ = true;
    update();
}

void ModelCanvas::wheelEvent(QWheelEvent* event) {
    const QPointF position = event->position();
    camera_.Zoom(event->angleDelta().y() / kWheelStep, position.x(), position.y());
    moved_ = true;
    update();
    event->accept();
}

}  // namespace vistel
