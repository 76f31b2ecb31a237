#include "faceorder.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "modelconversion.h"

namespace {

using CornerKey = std::array<long long, 3>;
using FaceKey = std::array<CornerKey, 3>;

CornerKey KeyOf(const ExchangePoint& p) {
    return {std::llround(p.x * kHundredthsPerUnit), std::llround(p.y * kHundredthsPerUnit),
            std::llround(p.z * kHundredthsPerUnit)};
}

// The same face whichever corner a writer starts it at.
FaceKey KeyOf(const FaceCorners& corners) {
    FaceKey key{KeyOf(corners[0]), KeyOf(corners[1]), KeyOf(corners[2])};
    std::rotate(key.begin(), std::min_element(key.begin(), key.end()), key.end());
    return key;
}

}  // namespace

void KeepOldFaceOrder(std::vector<ExchangeFace>& faces, const std::vector<ExchangePoint>& points,
                      const std::vector<FaceCorners>& oldFaces) {
    std::multimap<FaceKey, size_t> oldPlaces;
    for (size_t k = 0; k < oldFaces.size() && k < faces.size(); ++k) oldPlaces.emplace(KeyOf(oldFaces[k]), k);
    std::vector<std::optional<ExchangeFace>> placed(faces.size());
    std::vector<ExchangeFace> others;
    for (const ExchangeFace& face : faces) {
        const auto found = oldPlaces.find(KeyOf(FaceCorners{points[face.a], points[face.b], points[face.c]}));
        if (found == oldPlaces.end()) {
            others.push_back(face);
            continue;
        }
        placed[found->second] = face;
        oldPlaces.erase(found);
    }
    auto next = others.begin();
    for (size_t k = 0; k < faces.size(); ++k) faces[k] = placed[k] ? *placed[k] : *next++;
}
