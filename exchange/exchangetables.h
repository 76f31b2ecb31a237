#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "modelarrays.h"

// The tables between a model record and a 3DS mesh.

// The texture file names of a bank's bitmaps, in bank order; a triangle's
// bitmap index addresses them.
using TextureNames = std::vector<std::string>;
inline constexpr size_t kMaxTextureNames = 200;
inline constexpr size_t kMaxExchangeEntries = 1000;

// One vertex in 3DS space: units, the model's y and z exchanged, mapping
// coordinates as fractions.
struct ExchangePoint {
    double x = 0, y = 0, z = 0;
    double u = 0, v = 0;
};

// One triangle in 3DS terms: corners in reversed winding, the four carried
// bytes, and the index of its material.
struct ExchangeFace {
    uint32_t a = 0, b = 0, c = 0;
    std::array<uint8_t, 4> carried{};
    uint32_t material = 0;
};

ExchangePoint PointFromVertex(const ModelArrays& model, uint32_t vertex);
// A bitmap index past the textures falls back to material 0.
ExchangeFace FaceFromTriangle(const ModelArrays& model, uint32_t triangle, size_t textureCount);
