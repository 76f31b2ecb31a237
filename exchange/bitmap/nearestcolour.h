#pragma once
#include <cstdint>
#include <span>
#include <vector>

// The index of a colour in a bitmap's colour table: the first entry of
// exactly that colour, else the nearest by the "redmean" distance, a
// weighted RGB distance that follows the eye's sensitivity (green counts
// most, red more in reds, blue more in blues) at the cost of a few
// multiplications; equal distances go to the lower index. Answers are
// cached, since a painted picture repeats its colours.
class NearestColour {
public:
    explicit NearestColour(std::span<const uint8_t> palette);  // RGB, 3 bytes an entry; not empty

    uint8_t IndexOf(uint8_t red, uint8_t green, uint8_t blue);

private:
    struct Entry {
        int red, green, blue;
        uint8_t index;
    };

    uint8_t Search(int red, int green, int blue) const;

    std::vector<Entry> byGreen_;  // sorted by green, so a search stops early
    std::vector<uint32_t> cachedColour_;  // colour | kCached, per slot
    std::vector<uint8_t> cachedIndex_;
};
