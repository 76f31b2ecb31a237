#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "exchange/formats/exchangemesh.h"
#include "exchange/model/modelarrays.h"

// The one place where a model record and a mesh file meet: the model keeps
// hundredths of a unit with y up the screen and z into it, mapping
// coordinates as 16.16 fixed point; files keep units with z up and mapping
// as fractions. Every writer and reader converts through here.

inline constexpr double kHundredthsPerUnit = 100.0;
inline constexpr double kUnitsPerHundredth = 0.01;
inline constexpr double kMappingScale = 65536.0;

// A vertex of the model in the files' terms: y and z exchanged, scaled to
// units; mapping coordinates as the magnitudes of the fixed-point values.
ExchangePoint PointFromVertex(const ModelArrays& model, uint32_t vertex);
// Only the position, for drawings that carry no mapping.
std::array<double, 3> PositionOfVertex(const ModelArrays& model, uint32_t vertex);

// A triangle in the files' terms: corners in reversed winding (the model's
// third, second, first), the carried bytes, and its bitmap index; an index
// past the textures falls back to texture 0.
ExchangeFace FaceFromTriangle(const ModelArrays& model, uint32_t triangle, size_t textureCount);
// The model's points and faces in the files' terms, named, with its
// textures; the bitmaps' stored files are the caller's to add.
ExportedModel ExportedModelOf(const ModelArrays& model, std::string name, TextureNames textures);
// The model's corner indexes of a face, first to third.
std::array<uint32_t, 3> TriangleCornersOfFace(const ExchangeFace& face);

// The fields a point gives a model vertex, truncated toward zero. A v that
// would be stored as -1 is stored as 1, as the game's own files have it.
struct VertexFields {
    int32_t x = 0, y = 0, z = 0, u = 0, v = 0;
};
VertexFields VertexFieldsOfPoint(const ExchangePoint& point);
// Whether every field of the point converts to a 32-bit value.
bool PointFitsModel(const ExchangePoint& point);

// The object name of a model in a 3DS file: the model's own name bytes, cut
// to the ten a 3DS object name holds, so no character is split.
std::string ObjectNameOfModel(const std::string& modelName);
