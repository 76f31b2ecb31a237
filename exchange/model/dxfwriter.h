#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The DXF drawing of a model: one 3DFACE per triangle, y and z of the model
// exchanged, hundredths scaled to units, every line ending in CR LF. The
// model record starts the span, which reaches to the end of the image.
// Nothing when the model has no vertices or triangles, more than 1000 of
// either, or arrays that run past the image. A corner whose vertex index is
// not below the vertex count is drawn at the origin, so every triangle
// keeps its place and its colour number.
std::optional<std::string> DxfText(std::span<const uint8_t> model, uint32_t offset, uint32_t size);
