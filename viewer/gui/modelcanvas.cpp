#include "viewer/gui/modelcanvas.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QWheelEvent>

#include "viewer/gui/texturedface.h"
#include "viewer/scene/bounds.h"
#include "viewer/scene/frame.h"

namespace vistel {
namespace {

// Smoothing edges costs too much time on very large models.
constexpr std::size_t kMaxSmoothedFaces = 20000;
constexpr double kWheelStep = 120;  // angle delta of one notch

QColor ToQColor(dxf::Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

QPolygonF Outline(const ScreenFace& face) {
    QPolygonF outline;
    for (int i = 0; i < face.cornerCount; ++i) outline << QPointF(face.corners[i].x, face.corners[i].y);
    return outline;
}

}  // namespace

ModelCanvas::ModelCanvas(QWidget* parent) : QWidget(parent), emptyNotice_(tr("Open a DXF drawing with File > Open.")) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(160, 120);
    camera_.SetViewport(width(), height());
}

void ModelCanvas::SetModel(Mesh model, std::vector<QImage> textures) {
    UpdateModel(std::move(model), std::move(textures));
    FitToView();
}

void ModelCanvas::UpdateModel(Mesh model, std::vector<QImage> textures) {
    model_ = std::move(model);
    textures_ = std::move(textures);
    // The painting paths of the raster engine are fastest on this format.
    for (QImage& texture : textures_)
        if (!texture.isNull()) texture.convertTo(QImage::Format_ARGB32_Premultiplied);
    hasModel_ = true;
    update();
}

void ModelCanvas::SetEmptyNotice(const QString& text) {
    emptyNotice_ = text;
    update();
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
        PaintNotice(painter, emptyNotice_);
    } else if (model_.faces.empty()) {
        PaintNotice(painter, tr("This drawing has no 3DFACE entities to show."));
    } else if (wireframe_) {
        PaintWireframe(painter);
    } else {
        PaintFaces(painter);
    }
}

void ModelCanvas::PaintFaces(QPainter& painter) const {
    for (const auto& face : BuildFrame(model_, camera_)) {
        const QPolygonF outline = Outline(face);
        const QImage* texture = TextureOf(face);
        // Smoothed edges would leave hairline gaps between textured neighbours.
        painter.setRenderHint(QPainter::Antialiasing, !texture && model_.faces.size() <= kMaxSmoothedFaces);
        if (texture) {
            PaintTexturedFace(painter, face, outline, *texture);
            continue;
        }
        const QColor fill = ToQColor(face.colour);
        painter.setBrush(fill);
        // Outlining each face in its own colour closes the hairline gaps
        // that smoothing leaves between neighbours.
        painter.setPen(QPen(fill, 1));
        painter.drawPolygon(outline);
    }
}

// Only the edges, in the faces' own lit colours, so that the far side shows
// through.
void ModelCanvas::PaintWireframe(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, model_.faces.size() <= kMaxSmoothedFaces);
    painter.setBrush(Qt::NoBrush);
    for (const auto& face : BuildFrame(model_, camera_)) {
        painter.setPen(QPen(ToQColor(face.colour).lighter(150), 1));
        painter.drawPolygon(Outline(face));
    }
}

const QImage* ModelCanvas::TextureOf(const ScreenFace& face) const {
    if (face.texture < 0 || static_cast<size_t>(face.texture) >= textures_.size()) return nullptr;
    const QImage& texture = textures_[static_cast<size_t>(face.texture)];
    return texture.isNull() ? nullptr : &texture;
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

// The keyboard does what the mouse does: the arrows turn the model (with
// Shift they move it), + and - zoom on the middle, Home fits it again.
void ModelCanvas::keyPressEvent(QKeyEvent* event) {
    constexpr double kKeyPixels = 15;
    const bool move = event->modifiers() & Qt::ShiftModifier;
    double dx = 0, dy = 0;
    switch (event->key()) {
        case Qt::Key_Left: dx = -kKeyPixels; break;
        case Qt::Key_Right: dx = kKeyPixels; break;
        case Qt::Key_Up: dy = -kKeyPixels; break;
        case Qt::Key_Down: dy = kKeyPixels; break;
        case Qt::Key_Plus:
        case Qt::Key_Equal: camera_.Zoom(1, width() / 2.0, height() / 2.0); break;
        case Qt::Key_Minus: camera_.Zoom(-1, width() / 2.0, height() / 2.0); break;
        case Qt::Key_Home: FitToView(); return;
        default: QWidget::keyPressEvent(event); return;
    }
    if (move)
        camera_.Pan(dx, dy);
    else if (dx || dy)
        camera_.Orbit(dx, dy);
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
