#include "exchangetables.h"

#include <cstdlib>

#include "layouts.h"

using namespace pallix;

ExchangePoint PointFromVertex(const ModelArrays& model, uint32_t vertex) {
    const auto fraction = [](int32_t fixed) { return double(std::llabs(fixed)) * (1.0 / 65536.0); };
    return ExchangePoint{model.VertexField(vertex, ModelVertex::kX) * 0.01, model.VertexField(vertex, ModelVertex::kZ) * 0.01,
                         model.VertexField(vertex, ModelVertex::kY) * 0.01, fraction(model.VertexField(vertex, ModelVertex::kU)),
                         fraction(model.VertexField(vertex, ModelVertex::kV))};
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
