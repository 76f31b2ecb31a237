#include "viewer/gui/texturedface.h"

#include <QBrush>
#include <QPainter>
#include <QPolygonF>
#include <QTransform>
#include <cmath>

namespace vistel {
namespace {

// Below this a triangle has no area worth mapping (in squared pixels).
constexpr double kMinArea = 1e-9;

// The texel under the middle of the face's texture points, the texture
// repeating beyond its edges.
QRgb TexelAt(const ScreenFace& face, const QImage& texture) {
    double u = 0, v = 0;
    for (int i = 0; i < face.cornerCount; ++i) {
        u += face.mapping[i].u / face.cornerCount;
        v += face.mapping[i].v / face.cornerCount;
    }
    const auto wrap = [](double at, int size) {
        const int texel = static_cast<int>(std::floor(at * size)) % size;
        return texel < 0 ? texel + size : texel;
    };
    return texture.pixel(wrap(u, texture.width()), wrap(v, texture.height()));
}

}  // namespace

std::optional<QTransform> TextureToScreen(const ScreenFace& face, QSize textureSize) {
    const auto texel = [&](int i) {
        return QPointF(face.mapping[i].u * textureSize.width(), face.mapping[i].v * textureSize.height());
    };
    const auto screen = [&](int i) { return QPointF(face.corners[i].x, face.corners[i].y); };
    const QPointF s1 = texel(1) - texel(0), s2 = texel(2) - texel(0);
    const QPointF d1 = screen(1) - screen(0), d2 = screen(2) - screen(0);
    const QTransform fromTexture(s1.x(), s1.y(), s2.x(), s2.y(), texel(0).x(), texel(0).y());
    const QTransform toScreen(d1.x(), d1.y(), d2.x(), d2.y(), screen(0).x(), screen(0).y());
    if (std::fabs(fromTexture.determinant()) < kMinArea || std::fabs(toScreen.determinant()) < kMinArea)
        return std::nullopt;
    // Texture point -> the face's own coordinates along its two edges -> screen.
    return fromTexture.inverted() * toScreen;
}

void PaintTexturedFace(QPainter& painter, const ScreenFace& face, const QPolygonF& outline, const QImage& texture) {
    const auto map = TextureToScreen(face, texture.size());
    if (map) {
        QBrush brush(texture);
        brush.setTransform(*map);
        painter.setBrush(brush);
    } else {
        // All corners on one texel row or column: the face shows that line
        // stretched, which its middle texel stands for well.
        painter.setBrush(QColor::fromRgba(TexelAt(face, texture)));
    }
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(outline);
    const int shade = static_cast<int>(std::lround((1 - face.brightness) * 255));
    if (shade > 0) {
        painter.setBrush(QColor(0, 0, 0, shade));
        painter.drawPolygon(outline);
    }
}

}  // namespace vistel
