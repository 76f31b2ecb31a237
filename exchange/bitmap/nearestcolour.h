#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

// The index of a colour in a bitmap's colour table: the first entry of
// exactly that colour, else the nearest by the "redmean" distance, a
// weighted RGB distance that follows the eye's sensitivity (green counts
// most, red more in reds, blue more in blues) at the cost of a few
// multiplications; equal distances go to the lower index.
//
// A painted picture has hundreds of thousands of colours, so the search is
// narrowed: RGB space is cut into cubes, and each cube, the first time a
// colour falls into it, keeps the entries that can be nearest to any colour
// inside it (the others are farther, at best, than some entry is at worst).
// Answers are cached too, since a picture repeats its colours.
class NearestColour {
public:
    explicit NearestColour(std::span<const uint8_t> palette);  // RGB, 3 bytes an entry; not empty

    uint8_t IndexOf(uint8_t red, uint8_t green, uint8_t blue);

private:
    struct Entry {
        int red, green, blue;
    };

    const std::vector<uint8_t>& CandidatesOf(uint32_t cube);
    uint8_t Search(int red, int green, int blue, const std::vector<uint8_t>& candidates) const;

    std::vector<Entry> entries_;
    std::vector<std::vector<uint8_t>> candidates_;  // per cube; empty until first asked
    std::vector<uint32_t> cachedColour_;            // colour | kCached, per slot
    std::vector<uint8_t> cachedIndex_;
};
