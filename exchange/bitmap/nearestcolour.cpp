#include "exchange/bitmap/nearestcolour.h"

#include <algorithm>
#include <climits>

namespace {

constexpr uint32_t kCached = 1u << 24;
constexpr uint32_t kCacheBits = 16;

// Redmean, scaled by 256: (2 + r/256) dR² + 4 dG² + (2 + (255 - r)/256) dB²,
// r the mean of the two reds. Never below 4 dG², which bounds the search.
int Distance(int r1, int g1, int b1, int r2, int g2, int b2) {
    const int mean = (r1 + r2) / 2, dr = r1 - r2, dg = g1 - g2, db = b1 - b2;
    return (512 + mean) * dr * dr + 1024 * dg * dg + (767 - mean) * db * db;
}

uint32_t Slot(uint32_t colour) { return (colour * 2654435761u) >> (32 - kCacheBits); }

}  // namespace

NearestColour::NearestColour(std::span<const uint8_t> palette)
    : cachedColour_(size_t(1) << kCacheBits, 0), cachedIndex_(size_t(1) << kCacheBits, 0) {
    for (size_t i = 0; i + 2 < palette.size() && i / 3 < 256; i += 3)
        byGreen_.push_back({palette[i], palette[i + 1], palette[i + 2], uint8_t(i / 3)});
    std::stable_sort(byGreen_.begin(), byGreen_.end(), [](const Entry& a, const Entry& b) { return a.green < b.green; });
}

uint8_t NearestColour::IndexOf(uint8_t red, uint8_t green, uint8_t blue) {
    const uint32_t colour = uint32_t(red) << 16 | uint32_t(green) << 8 | blue;
    const uint32_t slot = Slot(colour);
    if (cachedColour_[slot] != (colour | kCached)) {
        cachedColour_[slot] = colour | kCached;
        cachedIndex_[slot] = Search(red, green, blue);
    }
    return cachedIndex_[slot];
}

// Outwards from the entries of the same green, in both directions, until
// the green alone is farther than the best found.
uint8_t NearestColour::Search(int red, int green, int blue) const {
    const auto start = std::lower_bound(byGreen_.begin(), byGreen_.end(), green,
                                        [](const Entry& entry, int value) { return entry.green < value; });
    int best = INT32_MAX;
    uint8_t bestIndex = 0;
    const auto consider = [&](const Entry& entry) {
        const int dg = entry.green - green;
        if (1024 * dg * dg > best) return false;
        const int distance = Distance(red, green, blue, entry.red, entry.green, entry.blue);
        if (distance < best || (distance == best && entry.index < bestIndex)) best = distance, bestIndex = entry.index;
        return true;
    };
    for (auto up = start; up != byGreen_.end(); ++up)
        if (!consider(*up)) break;
    for (auto down = start; down != byGreen_.begin(); --down)
        if (!consider(*(down - 1))) break;
    return bestIndex;
}
