#pragma once
#include <cstdint>
#include <optional>
#include <span>

// The vertex and triangle arrays of a model record, located and checked:
// 1 to 1000 of each, and both arrays inside the given bytes.
struct ModelArrays {
    uint16_t vertexCount = 0;
    uint16_t triangleCount = 0;
    std::span<const uint8_t> vertices;   // vertexCount records of 32 bytes
    std::span<const uint8_t> triangles;  // triangleCount records of 24 bytes

    int32_t VertexField(uint32_t vertex, uint32_t field) const;
    uint16_t TriangleField(uint32_t triangle, uint32_t field) const;
    uint8_t TriangleByte(uint32_t triangle, uint32_t byte) const;
};

std::optional<ModelArrays> LocateModelArrays(std::span<const uint8_t> model);
