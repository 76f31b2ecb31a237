#pragma once
#include <QImage>
#include <optional>

#include "viewer/scene/frame.h"

class QPainter;
class QPolygonF;
class QTransform;

namespace vistel {

// The affine map that carries a face's texture points (in the picture's
// pixels) onto its first three screen corners; none when either triangle is
// degenerate. Faces are small enough that the lack of perspective does not
// show.
std::optional<QTransform> TextureToScreen(const ScreenFace& face, QSize textureSize);

// Fills the outline with the texture laid on by the face's map (or, where
// the map is degenerate, with one texel's colour), darkened by its
// brightness.
void PaintTexturedFace(QPainter& painter, const ScreenFace& face, const QPolygonF& outline, const QImage& texture);

}  // namespace vistel
