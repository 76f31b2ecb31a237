#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

// The shape of a JSON text, strings skipped: how deep its arrays and objects
// nest, and how many values they hold (roughly: brackets and commas). The
// glTF library walks some values by recursion and keeps every value in
// memory many times over, so a file beyond these bounds must be refused
// before it gets there.
struct JsonShape {
    size_t deepest = 0;
    size_t elements = 0;
};
JsonShape MeasureJson(std::span<const uint8_t> text);

// Far beyond any glTF document of a model, and far within any thread's
// stack and any machine's memory.
inline constexpr size_t kMaxJsonNesting = 200;
inline constexpr size_t kMaxJsonElements = 200000;
