#include "exchange/model/keeporder.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "exchange/model/modelconversion.h"

namespace {

using CornerKey = std::array<long long, 3>;
using PointKey = std::array<long long, 5>;
using FaceKey = std::array<CornerKey, 3>;

CornerKey KeyOf(const ExchangePoint& p) {
    return {std::llround(p.x * kHundredthsPerUnit), std::llround(p.y * kHundredthsPerUnit),
            std::llround(p.z * kHundredthsPerUnit)};
}

PointKey PointKeyOf(const ExchangePoint& p) {
    const CornerKey at = KeyOf(p);
    return {at[0], at[1], at[2], std::llround(p.u * kMappingScale), std::llround(p.v * kMappingScale)};
}

// Where each item goes: matched ones to their old index, the others to the
// free indexes in their own order.
std::vector<size_t> Placement(const std::vector<std::optional<size_t>>& matched) {
    std::vector<bool> taken(matched.size(), false);
    for (const auto& old : matched)
        if (old) taken[*old] = true;
    std::vector<size_t> place(matched.size());
    size_t free = 0;
    for (size_t k = 0; k < matched.size(); ++k) {
        if (matched[k]) {
            place[k] = *matched[k];
            continue;
        }
        while (taken[free]) ++free;
        place[k] = free++;
    }
    return place;
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

bool HasTwinPoints(const std::vector<ExchangePoint>& points) {
    std::map<PointKey, int> seen;
    for (const ExchangePoint& p : points)
        if (++seen[PointKeyOf(p)] > 1) return true;
    return false;
}

void KeepOldPointOrder(std::vector<ExchangePoint>& points, std::vector<ExchangeFace>& faces,
                       const std::vector<ExchangePoint>& oldPoints) {
    std::multimap<PointKey, size_t> oldPlaces;
    for (size_t k = 0; k < oldPoints.size() && k < points.size(); ++k) oldPlaces.emplace(PointKeyOf(oldPoints[k]), k);
    std::vector<std::optional<size_t>> matched(points.size());
    for (size_t k = 0; k < points.size(); ++k) {
        const auto found = oldPlaces.find(PointKeyOf(points[k]));
        if (found == oldPlaces.end()) continue;
        matched[k] = found->second;
        oldPlaces.erase(found);
    }
    const std::vector<size_t> place = Placement(matched);
    std::vector<ExchangePoint> reordered(points.size());
    for (size_t k = 0; k < points.size(); ++k) reordered[place[k]] = points[k];
    points = std::move(reordered);
    for (ExchangeFace& face : faces) {
        face.a = uint32_t(place[face.a]);
        face.b = uint32_t(place[face.b]);
        face.c = uint32_t(place[face.c]);
    }
}
