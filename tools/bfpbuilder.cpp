#include "tools/bfpbuilder.h"

#include <cstring>

namespace bfp {

namespace {

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    out[at] = uint8_t(value);
    out[at + 1] = uint8_t(value >> 8);
}

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(value >> (8 * i));
}

void PutName(std::vector<uint8_t>& out, size_t at, const std::string& name, size_t field) {
    std::memcpy(out.data() + at, name.data(), std::min(name.size(), field));
}

uint32_t NextRandom(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

}  // namespace

std::vector<uint8_t> MakeBmp(int width, int height, int bitsPerPixel, uint32_t seed) {
    const uint32_t paletteBytes = bitsPerPixel == 8 ? 256 * 4 : 0;
    const uint32_t rowBytes = ((uint32_t(width) * bitsPerPixel / 8) + 3) & ~3u;
    const uint32_t pixelOffset = 14 + 40 + paletteBytes;
    const uint32_t size = pixelOffset + rowBytes * uint32_t(height);
    std::vector<uint8_t> bmp(size, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    Put32(bmp, 2, size);
    Put32(bmp, 10, pixelOffset);
    Put32(bmp, 14, 40);
    Put32(bmp, 18, uint32_t(width));
    Put32(bmp, 22, uint32_t(height));
    Put16(bmp, 26, 1);
    Put16(bmp, 28, uint32_t(bitsPerPixel));
    Put32(bmp, 34, rowBytes * uint32_t(height));
    Put32(bmp, 38, 2835);
    Put32(bmp, 42, 2835);
    uint32_t state = seed;
    for (uint32_t i = 0; i < paletteBytes / 4; ++i) {
        bmp[54 + 4 * i] = uint8_t(i);                          // blue
        bmp[54 + 4 * i + 1] = uint8_t((i * 3 + seed) & 0xFF);  // green
        bmp[54 + 4 * i + 2] = uint8_t(255 - i);                // red
    }
    for (int y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < uint32_t(width) * bitsPerPixel / 8; ++x) {
            const bool checker = ((x / 8) + (uint32_t(y) / 8)) % 2 == 0;
            bmp[pixelOffset + uint32_t(y) * rowBytes + x] = uint8_t(checker ? (seed * 37 + x) : NextRandom(state));
        }
    }
    return bmp;
}

std::vector<uint8_t> ModelRecordBytes(const Model& model) {
    const size_t used = 48 + 32 * model.vertices.size() + 24 * model.triangles.size();
    std::vector<uint8_t> out(used + model.spareBytes, 0);
    PutName(out, 0, model.name, 12);
    Put32(out, 12, uint32_t(out.size()));
    Put16(out, 16, uint32_t(model.vertices.size()));
    Put16(out, 18, uint32_t(model.triangles.size()));
    for (size_t i = 20; i < 48; ++i) out[i] = uint8_t(0xA0 + i);  // bytes nobody interprets
    size_t at = 48;
    for (const Vertex& v : model.vertices) {
        Put32(out, at, uint32_t(v.x));
        Put32(out, at + 4, uint32_t(v.y));
        Put32(out, at + 8, uint32_t(v.z));
        Put32(out, at + 12, uint32_t(v.u));
        Put32(out, at + 16, uint32_t(v.v));
        for (size_t i = 20; i < 32; ++i) out[at + i] = uint8_t(0x50 + i);
        at += 32;
    }
    for (const Triangle& t : model.triangles) {
        Put16(out, at, 0x0101);
        Put16(out, at + 2, t.a);
        Put16(out, at + 4, t.b);
        Put16(out, at + 6, t.c);
        Put16(out, at + 8, t.bitmap);
        std::memcpy(out.data() + at + 10, t.carried, 4);
        for (size_t i = 14; i < 24; ++i) out[at + i] = uint8_t(0x30 + i);
        at += 24;
    }
    return out;
}

std::vector<uint8_t> BankBytes(const Bank& bank) {
    const uint32_t firstModel = 28 + bank.gapAfterHeader;
    std::vector<uint8_t> out(firstModel, 0);
    std::memcpy(out.data(), "CM3D", 4);
    for (size_t i = 4; i < 14; ++i) out[i] = uint8_t(i);
    Put16(out, 14, uint32_t(bank.models.size()));
    Put16(out, 16, uint32_t(bank.bitmaps.size()));
    for (size_t i = 18; i < 24; ++i) out[i] = uint8_t(0x10 + i);
    Put32(out, 24, firstModel);
    for (const Model& model : bank.models) {
        const auto record = ModelRecordBytes(model);
        out.insert(out.end(), record.begin(), record.end());
    }
    for (const Bitmap& bitmap : bank.bitmaps) {
        std::vector<uint8_t> name(16, 0);
        PutName(name, 0, bitmap.name, 16);
        out.insert(out.end(), name.begin(), name.end());
        out.insert(out.end(), bitmap.bmp.begin(), bitmap.bmp.end());
    }
    return out;
}

void ImageWriter::Filler(size_t count, uint32_t seed) {
    uint32_t state = seed;
    for (size_t i = 0; i < count; ++i) {
        uint8_t byte = uint8_t(NextRandom(state));
        if (byte == 'C') byte = 'c';
        image_.push_back(byte);
    }
}

size_t ImageWriter::AddBank(const Bank& bank) {
    const size_t offset = image_.size();
    Raw(BankBytes(bank));
    return offset;
}

Model Cube(const std::string& name, int32_t h, uint16_t bitmaps) {
    Model cube{name, {}, {}, 256};
    const int32_t one = 65536;
    for (int i = 0; i < 8; ++i) {
        cube.vertices.push_back(
            Vertex{(i & 1) ? h : -h, (i & 2) ? h : -h, (i & 4) ? h : -h, (i & 1) ? one : 0, (i & 2) ? -one : 0});
    }
    // Game data winds each face counter-clockwise seen from outside (its
    // right-hand normal points away from the centre).
    const uint16_t faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (int f = 0; f < 6; ++f) {
        const uint16_t bitmap = bitmaps ? uint16_t(f % bitmaps) : 0;
        cube.triangles.push_back(Triangle{faces[f][0], faces[f][1], faces[f][2], bitmap, {1, 2, 3, uint8_t(f)}});
        cube.triangles.push_back(Triangle{faces[f][0], faces[f][2], faces[f][3], bitmap, {1, 2, 3, uint8_t(f)}});
    }
    return cube;
}

Model Pyramid(const std::string& name, int32_t h, int32_t height, uint16_t bitmaps) {
    Model pyramid{name, {}, {}, 128};
    const int32_t one = 65536;
    pyramid.vertices = {{-h, 0, -h, 0, 0},
                        {h, 0, -h, one, 0},
                        {h, 0, h, one, -one},
                        {-h, 0, h, 0, -one},
                        {0, height, 0, one / 2, -one / 2}};
    const uint16_t bitmap = bitmaps > 1 ? 1 : 0;
    pyramid.triangles = {{0, 1, 2, 0, {9, 9, 9, 9}},      {0, 2, 3, 0, {9, 9, 9, 9}},
                         {0, 4, 1, bitmap, {7, 7, 7, 7}}, {1, 4, 2, bitmap, {7, 7, 7, 7}},
                         {2, 4, 3, bitmap, {7, 7, 7, 7}}, {3, 4, 0, bitmap, {7, 7, 7, 7}}};
    return pyramid;
}

}  // namespace bfp
