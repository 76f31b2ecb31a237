#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes data files for samples, tests and benchmarks: model banks with
// models and embedded BMP files, with other bytes around them.
namespace bfp {

struct Vertex {
    int32_t x = 0, y = 0, z = 0;  // hundredths of a unit
    int32_t u = 0, v = 0;         // 16.16 fixed point
};

struct Triangle {
    uint16_t a = 0, b = 0, c = 0;  // at bytes 2, 4, 6
    uint16_t bitmap = 0;
    uint8_t carried[4] = {0, 0, 0, 0};
};

struct Model {
    std::string name;
    std::vector<Vertex> vertices;
    std::vector<Triangle> triangles;
    uint32_t spareBytes = 0;  // room after the triangles, inside the record
};

struct Bitmap {
    std::string name;
    std::vector<uint8_t> bmp;  // a whole BMP file
};

struct Bank {
    std::vector<Model> models;
    std::vector<Bitmap> bitmaps;
    uint32_t gapAfterHeader = 4;  // bytes between the header and the first model
};

// A BMP file with an 8-bit palette (bitsPerPixel 8) or 24-bit pixels.
std::vector<uint8_t> MakeBmp(int width, int height, int bitsPerPixel, uint32_t seed);

std::vector<uint8_t> ModelRecordBytes(const Model& model);
std::vector<uint8_t> BankBytes(const Bank& bank);

// Appends to a growing image.
class ImageWriter {
public:
    void Filler(size_t count, uint32_t seed);  // bytes that never spell a bank tag
    void Raw(const std::vector<uint8_t>& bytes) { image_.insert(image_.end(), bytes.begin(), bytes.end()); }
    // Returns the offset of the bank's tag.
    size_t AddBank(const Bank& bank);
    size_t size() const { return image_.size(); }
    const std::vector<uint8_t>& bytes() const { return image_; }

private:
    std::vector<uint8_t> image_;
};

Model Cube(const std::string& name, int32_t halfSize, uint16_t bitmaps);
Model Pyramid(const std::string& name, int32_t halfSize, int32_t height, uint16_t bitmaps);

}  // namespace bfp
