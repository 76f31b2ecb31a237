#include "exchange/model/modelarrays.h"

#include "datafile/layouts.h"
#include "framework/littleendian.h"

using namespace pallix;

std::optional<ModelArrays> LocateModelArrays(std::span<const uint8_t> model) {
    const auto vertexCount = ReadU16(model, ModelRecord::kVertexCount);
    const auto triangleCount = ReadU16(model, ModelRecord::kTriangleCount);
    if (!vertexCount || !triangleCount) return std::nullopt;
    const auto valid = [](uint16_t count) { return count >= 1 && count <= ModelRecord::kMaxCount; };
    if (!valid(*vertexCount) || !valid(*triangleCount)) return std::nullopt;
    const uint64_t vertexBytes = uint64_t(*vertexCount) * ModelVertex::kSize;
    const uint64_t triangleBytes = uint64_t(*triangleCount) * ModelTriangle::kSize;
    if (!FitsIn(model, ModelRecord::kVertices, vertexBytes + triangleBytes)) return std::nullopt;
    ModelArrays arrays;
    arrays.vertexCount = *vertexCount;
    arrays.triangleCount = *triangleCount;
    arrays.vertices = model.subspan(ModelRecord::kVertices, vertexBytes);
    arrays.triangles = model.subspan(ModelRecord::kVertices + vertexBytes, triangleBytes);
    return arrays;
}

int32_t ModelArrays::VertexField(uint32_t vertex, uint32_t field) const {
    return ReadI32(vertices, uint64_t(vertex) * ModelVertex::kSize + field).value_or(0);
}

uint16_t ModelArrays::TriangleField(uint32_t triangle, uint32_t field) const {
    return ReadU16(triangles, uint64_t(triangle) * ModelTriangle::kSize + field).value_or(0);
}

uint8_t ModelArrays::TriangleByte(uint32_t triangle, uint32_t byte) const {
    return ReadLE<uint8_t>(triangles, uint64_t(triangle) * ModelTriangle::kSize + byte).value_or(0);
}
