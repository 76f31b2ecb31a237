#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A model's mesh on its way out to a file or in from one, in the terms of
// the 3DS export whatever the file's format: units (the model's hundredths
// divided by 100), the model's y and z exchanged so that z points up, and
// mapping coordinates as fractions with v as the 3DS export gives it. A
// format with other axes or another v direction converts on its own side.

// The texture file names of a bank's bitmaps, in bank order ("O1F2A.bmp");
// a triangle's bitmap index addresses them.
using TextureNames = std::vector<std::string>;
inline constexpr size_t kMaxTextureNames = 200;
inline constexpr size_t kMaxExchangeEntries = 1000;

struct ExchangePoint {
    double x = 0, y = 0, z = 0;
    double u = 0, v = 0;
};

// One triangle: corners in the 3DS export's order (the model's third,
// second, first), the four bytes the model carries per triangle, and the
// index of its texture.
struct ExchangeFace {
    uint32_t a = 0, b = 0, c = 0;
    std::array<uint8_t, 4> carried{};
    uint32_t material = 0;
};

// What an export writes: the model's name (Latin-1 bytes, as in the data
// file), its points and faces, and per texture its file name and the
// stored BMP file's bytes (empty when the bitmap lies outside the image).
struct ExportedModel {
    std::string name;
    std::vector<ExchangePoint> points;
    std::vector<ExchangeFace> faces;
    TextureNames textures;
    std::vector<std::span<const uint8_t>> bitmapFiles;
};

// A material group of an imported mesh, as the file names it: the
// material's name and the file name of its texture map (either may be
// empty).
struct ImportedGroup {
    std::string materialName;
    std::string textureFile;
};

struct ImportedFace {
    uint32_t a = 0, b = 0, c = 0;  // corners, in the export's order
    uint32_t group = 0;            // index into ImportedMesh::groups
};

// A picture the file's materials show: the names it goes by (its file's
// name, its image's name, the names of the materials that show it; any may
// name one of the bank's bitmaps), how messages call it, and its encoded
// bytes as the file holds them or as its file beside the model does. No
// bytes when that file is not there; `unreadable` says why when it is there
// but could not be read.
struct ImportedPicture {
    std::vector<std::string> names;
    std::string shownName;
    std::vector<uint8_t> bytes;
    std::string unreadable;
};

// What a reader takes from a file: every mesh of it merged into one
// (vertices appended, corner indices offset, groups kept), corners not yet
// welded, and the pictures its materials show. Faces name only points that
// exist.
struct ImportedMesh {
    std::vector<ExchangePoint> points;
    std::vector<ImportedFace> faces;
    std::vector<ImportedGroup> groups;
    std::vector<ImportedPicture> pictures;
};
