#include "exchange/bitmap/pixelwriter.h"

#include <array>
#include <bit>
#include <optional>

#include "exchange/bitmap/nearestcolour.h"
#include "framework/littleendian.h"

namespace {

struct Rgb {
    uint8_t red, green, blue;
    bool operator==(const Rgb&) const = default;
};

Rgb EntryOf(std::span<const uint8_t> palette, size_t index) {
    return {palette[index * 3], palette[index * 3 + 1], palette[index * 3 + 2]};
}

// The stored table's index for each pixel of the picture, and whether it
// shows the pixel's own colour.
class IndexChooser {
public:
    IndexChooser(std::span<const uint8_t> table, const Picture& picture) : table_(table), nearest_(table) {
        if (picture.palette.empty()) return;
        // A paletted picture has at most 256 colours: each is looked up once.
        for (size_t i = 0; i < picture.palette.size() / 3 && i < byIndex_.size(); ++i) {
            const Rgb colour = EntryOf(picture.palette, i);
            const bool same = i < table.size() / 3 && EntryOf(table, i) == colour;
            byIndex_[i] = same ? uint8_t(i) : Nearest(colour);
        }
        paletted_ = true;
    }

    // The index for the pixel at `pixel` (its index or its RGB bytes).
    uint8_t Choose(const uint8_t* pixel) {
        if (paletted_) return byIndex_[*pixel];
        return Nearest({pixel[0], pixel[1], pixel[2]});
    }

    bool Shows(uint8_t index, const Rgb& colour) const { return EntryOf(table_, index) == colour; }

private:
    uint8_t Nearest(const Rgb& colour) { return nearest_.IndexOf(colour.red, colour.green, colour.blue); }

    std::span<const uint8_t> table_;
    NearestColour nearest_;
    std::array<uint8_t, 256> byIndex_{};
    bool paletted_ = false;
};

Rgb ColourOf(const Picture& picture, const uint8_t* pixel) {
    return picture.palette.empty() ? Rgb{pixel[0], pixel[1], pixel[2]} : EntryOf(picture.palette, *pixel);
}

// Indices of 1, 4 or 8 bits, the leftmost pixel in the highest bits.
void PutIndex(std::span<uint8_t> row, uint32_t x, uint32_t bits, uint8_t index) {
    const uint64_t bit = uint64_t(x) * bits;
    const int shift = int(8 - bits - bit % 8);
    const uint8_t mask = uint8_t(((1u << bits) - 1) << shift);
    uint8_t& byte = row[bit / 8];
    byte = uint8_t((byte & ~mask) | ((index << shift) & mask));
}

uint32_t Scaled(uint8_t channel, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const uint64_t top = mask >> shift;
    return uint32_t((channel * top + 127) / 255) << shift;
}

// 16 or 32 bits by their masks; bits outside them (alpha, unused) are kept.
void PutMasked(std::span<uint8_t> row, uint32_t x, const BmpHeader& h, const Rgb& colour) {
    const uint32_t covered = h.masks[0] | h.masks[1] | h.masks[2];
    const uint32_t value =
        Scaled(colour.red, h.masks[0]) | Scaled(colour.green, h.masks[1]) | Scaled(colour.blue, h.masks[2]);
    if (h.bits == 16) {
        const uint16_t old = *pallix::ReadU16(row, size_t(x) * 2);
        pallix::WriteLE<uint16_t>(row, size_t(x) * 2, uint16_t((old & ~covered) | (value & covered)));
    } else {
        const uint32_t old = *pallix::ReadU32(row, size_t(x) * 4);
        pallix::WriteLE<uint32_t>(row, size_t(x) * 4, (old & ~covered) | (value & covered));
    }
}

void PutTrueColour(std::span<uint8_t> row, uint32_t x, const BmpHeader& h, const Rgb& colour) {
    if (h.bits != 24) return PutMasked(row, x, h, colour);
    row[x * 3] = colour.blue, row[x * 3 + 1] = colour.green, row[x * 3 + 2] = colour.red;
}

std::span<uint8_t> StoredRow(const BmpHeader& h, std::span<uint8_t> bitmap, uint32_t y) {
    const uint32_t stored = h.topDown ? y : h.height - 1 - y;
    return bitmap.subspan(h.pixelOffset + size_t(stored) * h.RowBytes(), h.RowBytes());
}

size_t WriteIndices(const StoredBitmapLayout& layout, const Picture& picture, std::span<uint8_t> bitmap) {
    const BmpHeader& h = layout.header;
    IndexChooser chooser(layout.palette, picture);
    const size_t stride = picture.palette.empty() ? 3 : 1;
    size_t approximated = 0;
    for (uint32_t y = 0; y < h.height; ++y) {
        const auto row = StoredRow(h, bitmap, y);
        const uint8_t* pixel = &picture.pixels[size_t(y) * h.width * stride];
        for (uint32_t x = 0; x < h.width; ++x, pixel += stride) {
            const uint8_t index = chooser.Choose(pixel);
            if (!chooser.Shows(index, ColourOf(picture, pixel))) ++approximated;
            PutIndex(row, x, h.bits, index);
        }
    }
    return approximated;
}

void WriteTrueColour(const BmpHeader& h, const Picture& picture, std::span<uint8_t> bitmap) {
    const size_t stride = picture.palette.empty() ? 3 : 1;
    for (uint32_t y = 0; y < h.height; ++y) {
        const auto row = StoredRow(h, bitmap, y);
        const uint8_t* pixel = &picture.pixels[size_t(y) * h.width * stride];
        for (uint32_t x = 0; x < h.width; ++x, pixel += stride) PutTrueColour(row, x, h, ColourOf(picture, pixel));
    }
}

}  // namespace

size_t WritePixels(const StoredBitmapLayout& layout, const Picture& picture, std::span<uint8_t> bitmap) {
    if (layout.header.bits <= 8) return WriteIndices(layout, picture, bitmap);
    WriteTrueColour(layout.header, picture, bitmap);
    return 0;
}
