#pragma once
#include <array>
#include <vector>

#include "exchange/formats/exchangemesh.h"

// The corners of a face, in the files' terms.
using FaceCorners = std::array<ExchangePoint, 3>;

// Puts the points that the model had before (the same position in
// hundredths and the same mapping) back at their old indexes, and renumbers
// the faces' corners to match, so an edit that moved one vertex changes one
// vertex of the record, however the editor renumbered them.
void KeepOldPointOrder(std::vector<ExchangePoint>& points, std::vector<ExchangeFace>& faces,
                       const std::vector<ExchangePoint>& oldPoints);

// Whether two of the points lie at the same place with the same mapping.
bool HasTwinPoints(const std::vector<ExchangePoint>& points);

// Puts the faces that the model had before back in their old places,
// whatever order the file's writer chose (editors group faces by material),
// so the bytes the model carries per triangle stay with their triangle. A
// face is the same when its corners lie at the same hundredths in the same
// turning order; the other faces fill the remaining places in file order.
void KeepOldFaceOrder(std::vector<ExchangeFace>& faces, const std::vector<ExchangePoint>& points,
                      const std::vector<FaceCorners>& oldFaces);
