#include "exchange/bitmap/nearestcolour.h"

#include <algorithm>
#include <climits>

namespace {

constexpr uint32_t kCached = 1u << 24;
constexpr uint32_t kCacheBits = 16;
constexpr int kCubeBits = 3;  // cubes of 8 levels a side: 32 768 of them
constexpr int kCubeSide = 1 << kCubeBits;
constexpr int kCubesPerSide = 256 / kCubeSide;

// Redmean, scaled by 256: (2 + r/256) dR² + 4 dG² + (2 + (255 - r)/256) dB²,
// r the mean of the two reds.
int Distance(int r1, int g1, int b1, int r2, int g2, int b2) {
    const int mean = (r1 + r2) / 2, dr = r1 - r2, dg = g1 - g2, db = b1 - b2;
    return (512 + mean) * dr * dr + 1024 * dg * dg + (767 - mean) * db * db;
}

uint32_t Slot(uint32_t colour) { return (colour * 2654435761u) >> (32 - kCacheBits); }

// The nearest and farthest a channel of a cube's colours lies from a value.
int Nearest(int value, int low) {
    return value < low ? low - value : value > low + kCubeSide - 1 ? value - low - kCubeSide + 1 : 0;
}
int Farthest(int value, int low) { return std::max(std::abs(value - low), std::abs(value - low - kCubeSide + 1)); }

}  // namespace

NearestColour::NearestColour(std::span<const uint8_t> palette)
    : candidates_(size_t(kCubesPerSide) * kCubesPerSide * kCubesPerSide),
      cachedColour_(size_t(1) << kCacheBits, 0),
      cachedIndex_(size_t(1) << kCacheBits, 0) {
    for (size_t i = 0; i + 2 < palette.size() && i / 3 < 256; i += 3)
        entries_.push_back({palette[i], palette[i + 1], palette[i + 2]});
}

uint8_t NearestColour::IndexOf(uint8_t red, uint8_t green, uint8_t blue) {
    const uint32_t colour = uint32_t(red) << 16 | uint32_t(green) << 8 | blue;
    const uint32_t slot = Slot(colour);
    if (cachedColour_[slot] != (colour | kCached)) {
        const uint32_t cube =
            ((uint32_t(red) >> kCubeBits) * kCubesPerSide + (green >> kCubeBits)) * kCubesPerSide + (blue >> kCubeBits);
        cachedColour_[slot] = colour | kCached;
        cachedIndex_[slot] = Search(red, green, blue, CandidatesOf(cube));
    }
    return cachedIndex_[slot];
}

// Bounds with the weights at their extremes (2 to 3 for red and blue, 4 for
// green, scaled by 256), so that they hold for every mean red: an entry whose
// least distance to the cube exceeds the greatest distance of another entry
// is nearest to none of its colours.
const std::vector<uint8_t>& NearestColour::CandidatesOf(uint32_t cube) {
    std::vector<uint8_t>& candidates = candidates_[cube];
    if (!candidates.empty()) return candidates;
    const int r = int(cube / (kCubesPerSide * kCubesPerSide)) * kCubeSide;
    const int g = int(cube / kCubesPerSide % kCubesPerSide) * kCubeSide;
    const int b = int(cube % kCubesPerSide) * kCubeSide;
    std::vector<int> least(entries_.size());
    int bound = INT_MAX;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        const int nr = Nearest(e.red, r), ng = Nearest(e.green, g), nb = Nearest(e.blue, b);
        const int fr = Farthest(e.red, r), fg = Farthest(e.green, g), fb = Farthest(e.blue, b);
        least[i] = 512 * nr * nr + 1024 * ng * ng + 512 * nb * nb;
        bound = std::min(bound, 767 * fr * fr + 1024 * fg * fg + 767 * fb * fb);
    }
    for (size_t i = 0; i < entries_.size(); ++i)
        if (least[i] <= bound) candidates.push_back(uint8_t(i));
    return candidates;
}

uint8_t NearestColour::Search(int red, int green, int blue, const std::vector<uint8_t>& candidates) const {
    int best = INT_MAX;
    uint8_t bestIndex = 0;
    // Candidates come in index order: a later one of equal distance loses.
    for (const uint8_t index : candidates) {
        const Entry& e = entries_[index];
        const int distance = Distance(red, green, blue, e.red, e.green, e.blue);
        if (distance < best) best = distance, bestIndex = index;
    }
    return bestIndex;
}
