#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "exchangemesh.h"
#include "modelarrays.h"

// The tables between a model record and a 3DS mesh.

ExchangePoint PointFromVertex(const ModelArrays& model, uint32_t vertex);
// A bitmap index past the textures falls back to material 0.
ExchangeFace FaceFromTriangle(const ModelArrays& model, uint32_t triangle, size_t textureCount);
