#pragma once
#include <QPoint>
#include <QWidget>

#include "camera.h"
#include "dxfmodel.h"

class QPainter;

namespace vistel {

// Paints a model shaded, face by face from back to front, and lets the mouse
// turn (left drag), move (right or middle drag) and zoom (wheel) it.
class ModelCanvas : public QWidget {
    Q_OBJECT

public:
    explicit ModelCanvas(QWidget* parent = nullptr);

    // Shows a new model, fitted to the window.
    void SetModel(dxf::Model model);
    const dxf::Model& model() const { return model_; }
    bool hasModel() const { return hasModel_; }
    void SetWireframe(bool on);
    bool wireframe() const { return wireframe_; }
    void FitToView();

    QSize sizeHint() const override { return {800, 600}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void PaintFaces(QPainter& painter) const;
    void PaintNotice(QPainter& painter, const QString& text) const;

    dxf::Model model_;
    bool hasModel_ = false;
    Camera camera_;
    bool wireframe_ = false;
    // Until the user moves the model, a resized window fits it anew.
    bool moved_ = false;
    QPoint lastMouse_;
};

}  // namespace vistel
