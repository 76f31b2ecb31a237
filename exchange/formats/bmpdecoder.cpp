#include "exchange/formats/bmpdecoder.h"

#include <algorithm>
#include <bit>

#include "exchange/formats/bmpheader.h"
#include "exchange/formats/bmplayouts.h"
#include "framework/littleendian.h"

namespace {

uint8_t Channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const uint64_t top = mask >> shift;
    return uint8_t((((pixel & mask) >> shift) * uint64_t(255) + top / 2) / top);
}

void DecodeRow(std::span<const uint8_t> row, const BmpHeader& h, uint8_t* out) {
    if (h.bits == 8) {
        std::copy_n(row.begin(), h.width, out);
        return;
    }
    if (h.bits < 8) {
        for (uint32_t x = 0; x < h.width; ++x) {
            const uint64_t bit = uint64_t(x) * h.bits;
            out[x] = (row[bit / 8] >> (8 - h.bits - bit % 8)) & ((1u << h.bits) - 1);
        }
        return;
    }
    for (uint32_t x = 0; x < h.width; ++x, out += 3) {
        if (h.bits == 24) {
            out[0] = row[x * 3 + 2], out[1] = row[x * 3 + 1], out[2] = row[x * 3];
        } else {
            const size_t at = size_t(x) * (h.bits / 8);
            const uint32_t pixel = h.bits == 16 ? *pallix::ReadU16(row, at) : *pallix::ReadU32(row, at);
            for (size_t c = 0; c < 3; ++c) out[c] = Channel(pixel, h.masks[c]);
        }
    }
}

// The output row of a stored row.
uint32_t PictureRow(const BmpHeader& h, uint32_t stored) { return h.topDown ? stored : h.height - 1 - stored; }

void DecodeRows(std::span<const uint8_t> file, const BmpHeader& h, Picture& picture) {
    const size_t rowBytes = h.RowBytes();
    for (uint32_t y = 0; y < h.height; ++y)
        DecodeRow(file.subspan(h.pixelOffset + y * rowBytes, rowBytes), h,
                  &picture.pixels[size_t(PictureRow(h, y)) * h.width * (h.bits <= 8 ? 1 : 3)]);
}

// Run-length coded indices: a count and an index (two for 4 bits, taken in
// turn), or after a 0: the end of a row (0), of the picture (1), a jump
// (2, right, down), or that many indices as they are, padded to 2 bytes.
// Pixels never written stay index 0; runs past the row's end are clipped.
class RunLengthReader {
public:
    RunLengthReader(std::span<const uint8_t> codes, const BmpHeader& h, Picture& picture)
        : codes_(codes), h_(h), picture_(picture) {}

    fw::Expected<void> Read() {
        while (y_ < h_.height) {
            if (at_ + 2 > codes_.size()) return fw::Refuse("it ends inside its compressed pixels");
            const uint8_t count = codes_[at_++], value = codes_[at_++];
            if (count) {
                for (uint32_t k = 0; k < count; ++k) Put(IndexIn(value, k));
            } else if (!Escape(value)) {
                return fw::Refuse("it ends inside its compressed pixels");
            }
        }
        return {};
    }

private:
    bool Escape(uint8_t code) {
        if (code == 0) {
            x_ = 0, ++y_;
            return true;
        }
        if (code == 1) {
            y_ = h_.height;
            return true;
        }
        if (code == 2) {
            if (at_ + 2 > codes_.size()) return false;
            x_ += codes_[at_++];
            y_ += codes_[at_++];
            return true;
        }
        const size_t bytes = h_.bits == 8 ? code : (code + 1) / 2;
        if (at_ + bytes > codes_.size()) return false;
        for (uint32_t k = 0; k < code; ++k) Put(IndexIn(codes_[at_ + (h_.bits == 8 ? k : k / 2)], k));
        at_ += bytes + bytes % 2;
        return true;
    }

    // The k-th index of a run: a byte, or the byte's nibbles in turn.
    uint8_t IndexIn(uint8_t byte, uint32_t k) const {
        if (h_.bits == 8) return byte;
        return k % 2 == 0 ? byte >> 4 : byte & 0xF;
    }

    void Put(uint8_t index) {
        if (x_ < h_.width && y_ < h_.height) picture_.pixels[size_t(PictureRow(h_, y_)) * h_.width + x_] = index;
        ++x_;
    }

    std::span<const uint8_t> codes_;
    const BmpHeader& h_;
    Picture& picture_;
    size_t at_ = 0;
    uint64_t x_ = 0;
    uint32_t y_ = 0;
};

}  // namespace

fw::Expected<Picture> DecodeBmp(std::span<const uint8_t> file) {
    const auto header = ReadBmpHeader(file);
    if (!header) return header.refusal();
    const BmpHeader& h = *header;
    Picture picture;
    picture.width = h.width;
    picture.height = h.height;
    const bool paletted = h.bits <= 8;
    if (paletted) picture.palette = ReadBmpPalette(file, h);
    picture.pixels.resize(size_t(h.width) * h.height * (paletted ? 1 : 3));
    if (h.Compressed()) {
        const auto read = RunLengthReader(file.subspan(h.pixelOffset), h, picture).Read();
        if (!read) return read.refusal();
    } else {
        DecodeRows(file, h, picture);
    }
    if (paletted) CoverIndices(picture);
    return picture;
}
