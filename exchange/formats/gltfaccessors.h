#pragma once
#include <cstdint>
#include <string>

#include <tiny_gltf.h>

#include "framework/expected.h"

// An accessor's elements, checked to lie inside their buffer before any is
// read: its view, its buffer and every element's bytes.
class AccessorElements {
public:
    // The accessor, or why it cannot be read (in words, without the file's name).
    static fw::Expected<AccessorElements> Of(const tinygltf::Model& model, int accessor);

    size_t count() const { return count_; }
    int components() const { return components_; }
    int componentType() const { return componentType_; }
    // A component as a number; integers of a normalized accessor as fractions.
    double Component(size_t element, int component) const;
    uint32_t Index(size_t element) const;

private:
    const uint8_t* data_ = nullptr;
    size_t count_ = 0, stride_ = 0, componentSize_ = 0;
    int components_ = 0, componentType_ = 0;
    bool normalized_ = false;
};
