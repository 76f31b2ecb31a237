#include "exchange/model/modelconversion.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "datafile/layouts.h"

using namespace pallix;

namespace {

constexpr size_t kObjectNameLength = 10;
constexpr double kLargestField = double(std::numeric_limits<int32_t>::max());

double Units(int32_t hundredths) { return hundredths * kUnitsPerHundredth; }
double Fraction(int32_t fixed) { return double(std::llabs(fixed)) / kMappingScale; }
int32_t Truncate(double value) { return static_cast<int32_t>(std::trunc(value)); }

bool Fits(double value, double scale) {
    const double scaled = std::trunc(value * scale);
    return std::isfinite(scaled) && scaled <= kLargestField && scaled >= -kLargestField - 1;
}

}  // namespace

std::array<double, 3> PositionOfVertex(const ModelArrays& model, uint32_t vertex) {
    return {Units(model.VertexField(vertex, ModelVertex::kX)), Units(model.VertexField(vertex, ModelVertex::kZ)),
            Units(model.VertexField(vertex, ModelVertex::kY))};
}

ExchangePoint PointFromVertex(const ModelArrays& model, uint32_t vertex) {
    const auto position = PositionOfVertex(model, vertex);
    return ExchangePoint{position[0], position[1], position[2], Fraction(model.VertexField(vertex, ModelVertex::kU)),
                         Fraction(model.VertexField(vertex, ModelVertex::kV))};
}

ExchangeFace FaceFromTriangle(const ModelArrays& model, uint32_t triangle, size_t textureCount) {
    ExchangeFace face;
    face.a = model.TriangleField(triangle, ModelTriangle::kIndex2);
    face.b = model.TriangleField(triangle, ModelTriangle::kIndex1);
    face.c = model.TriangleField(triangle, ModelTriangle::kIndex0);
    for (uint32_t i = 0; i < 4; ++i) face.carried[i] = model.TriangleByte(triangle, ModelTriangle::kCarriedBytes + i);
    const uint16_t bitmap = model.TriangleField(triangle, ModelTriangle::kBitmapIndex);
    face.material = bitmap < textureCount ? bitmap : 0;
    return face;
}

ExportedModel ExportedModelOf(const ModelArrays& model, std::string name, TextureNames textures) {
    ExportedModel exported{std::move(name), {}, {}, std::move(textures), {}};
    for (uint32_t k = 0; k < model.vertexCount; ++k) exported.points.push_back(PointFromVertex(model, k));
    for (uint32_t k = 0; k < model.triangleCount; ++k)
        exported.faces.push_back(FaceFromTriangle(model, k, exported.textures.size()));
    return exported;
}

std::array<uint32_t, 3> TriangleCornersOfFace(const ExchangeFace& face) { return {face.c, face.b, face.a}; }

VertexFields VertexFieldsOfPoint(const ExchangePoint& point) {
    const int32_t v = Truncate(point.v * -kMappingScale);
    return VertexFields{Truncate(point.x * kHundredthsPerUnit), Truncate(point.z * kHundredthsPerUnit),
                        Truncate(point.y * kHundredthsPerUnit), Truncate(point.u * kMappingScale), v == -1 ? 1 : v};
}

bool PointFitsModel(const ExchangePoint& p) {
    return Fits(p.x, kHundredthsPerUnit) && Fits(p.y, kHundredthsPerUnit) && Fits(p.z, kHundredthsPerUnit) &&
           Fits(p.u, kMappingScale) && Fits(p.v, -kMappingScale);
}

std::string ObjectNameOfModel(const std::string& modelName) { return modelName.substr(0, kObjectNameLength); }
