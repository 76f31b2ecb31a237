#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "framework/expected.h"

// The binary glTF container: a header, the JSON chunk and the BIN chunk.

std::vector<uint8_t> GlbBytes(const std::string& json, const std::vector<uint8_t>& bin);

// The chunks of a .glb file, each checked to lie inside the file; a
// refusal says in words what is wrong (without the file's name).
struct GlbChunks {
    std::span<const uint8_t> json, bin;
};
fw::Expected<GlbChunks> SplitGlb(std::span<const uint8_t> file);
