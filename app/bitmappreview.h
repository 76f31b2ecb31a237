#pragma once
#include <QImage>
#include <QPointF>
#include <QWidget>

// A picture scaled to fit the pane, or zoomed with the wheel, where its
// pixels show as the sharp squares they are; a drag moves a zoomed picture
// and a double click fits it again.
class BitmapPreview : public QWidget {
    Q_OBJECT

public:
    explicit BitmapPreview(QWidget* parent = nullptr);

    void SetPicture(QImage picture);
    const QImage& picture() const { return picture_; }
    // Screen pixels per picture pixel, as painted now.
    double Scale() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    double FitScale() const;
    QRectF Placement() const;

    QImage picture_;
    double zoom_ = 0;  // 0: fitted to the pane
    QPointF offset_;   // of the zoomed picture's centre from the pane's
    QPointF lastMouse_;
};
