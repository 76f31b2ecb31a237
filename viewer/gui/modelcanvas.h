#pragma once
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <vector>

#include "viewer/scene/camera.h"
#include "viewer/scene/frame.h"
#include "viewer/scene/mesh.h"

class QPainter;

namespace vistel {

// Paints a model shaded, face by face from back to front, its faces plain
// coloured or textured, and lets the mouse turn (left drag), move (right or
// middle drag) and zoom (wheel) it, and the keyboard likewise. vistel and the data manager's preview
// both show their models here.
class ModelCanvas : public QWidget {
    Q_OBJECT

public:
    explicit ModelCanvas(QWidget* parent = nullptr);

    // Shows a new model, fitted to the window; a face's texture indexes the
    // pictures given with it.
    void SetModel(Mesh model, std::vector<QImage> textures = {});
    // The same model, changed: it stays turned and zoomed as the user left it.
    void UpdateModel(Mesh model, std::vector<QImage> textures = {});
    const Mesh& model() const { return model_; }
    // What the canvas says while it has no model.
    void SetEmptyNotice(const QString& text);
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
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PaintFaces(QPainter& painter) const;
    void PaintWireframe(QPainter& painter) const;
    const QImage* TextureOf(const ScreenFace& face) const;
    void PaintNotice(QPainter& painter, const QString& text) const;

    Mesh model_;
    std::vector<QImage> textures_;
    bool hasModel_ = false;
    QString emptyNotice_;
    Camera camera_;
    bool wireframe_ = false;
    // Until the user moves the model, a resized window fits it anew.
    bool moved_ = false;
    QPoint lastMouse_;
};

}  // namespace vistel
