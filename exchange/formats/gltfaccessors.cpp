#include "exchange/formats/gltfaccessors.h"

#include <bit>
#include <span>

#include "framework/littleendian.h"

namespace {

size_t ComponentSize(int type) {
    switch (type) {
        case TINYGLTF_COMPONENT_TYPE_BYTE:
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: return 1;
        case TINYGLTF_COMPONENT_TYPE_SHORT:
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: return 2;
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
        case TINYGLTF_COMPONENT_TYPE_FLOAT: return 4;
        default: return 0;
    }
}

int ComponentCount(int type) {
    switch (type) {
        case TINYGLTF_TYPE_SCALAR: return 1;
        case TINYGLTF_TYPE_VEC2: return 2;
        case TINYGLTF_TYPE_VEC3: return 3;
        case TINYGLTF_TYPE_VEC4: return 4;
        default: return 0;
    }
}

// Elements are checked to lie inside their buffer before any is read.
uint32_t ReadUnsigned(const uint8_t* at, size_t size) {
    const std::span<const uint8_t> bytes(at, size);
    switch (size) {
        case 1: return *at;
        case 2: return pallix::ReadU16(bytes, 0).value_or(0);
        default: return pallix::ReadU32(bytes, 0).value_or(0);
    }
}

// Whether count elements of the given size, stride apart from offset, end
// inside limit bytes; free of overflow for any values.
bool ElementsFit(size_t offset, size_t count, size_t stride, size_t size, size_t limit) {
    if (offset > limit || size > limit - offset) return count == 0 && offset <= limit;
    return count == 0 || (count - 1) <= (limit - offset - size) / stride;
}

}  // namespace

fw::Expected<AccessorElements> AccessorElements::Of(const tinygltf::Model& model, int index) {
    if (index < 0 || size_t(index) >= model.accessors.size())
        return fw::Refuse("a mesh names an accessor the file does not have");
    const tinygltf::Accessor& accessor = model.accessors[size_t(index)];
    if (accessor.sparse.isSparse || accessor.bufferView < 0 || size_t(accessor.bufferView) >= model.bufferViews.size())
        return fw::Refuse("an accessor has no buffer view of its own (sparse or empty accessors cannot be read)");
    const tinygltf::BufferView& view = model.bufferViews[size_t(accessor.bufferView)];
    AccessorElements elements;
    elements.componentSize_ = ComponentSize(accessor.componentType);
    elements.components_ = ComponentCount(accessor.type);
    const size_t elementSize = elements.componentSize_ * size_t(elements.components_);
    elements.stride_ = view.byteStride ? view.byteStride : elementSize;
    if (elementSize == 0 || elements.stride_ < elementSize)
        return fw::Refuse("an accessor has a type or stride no mesh can have");
    if (view.buffer < 0 || size_t(view.buffer) >= model.buffers.size() ||
        view.byteOffset > model.buffers[size_t(view.buffer)].data.size() ||
        view.byteLength > model.buffers[size_t(view.buffer)].data.size() - view.byteOffset ||
        !ElementsFit(accessor.byteOffset, accessor.count, elements.stride_, elementSize, view.byteLength))
        return fw::Refuse("an accessor reaches past the end of its buffer (the file or its .bin is damaged)");
    elements.data_ = model.buffers[size_t(view.buffer)].data.data() + view.byteOffset + accessor.byteOffset;
    elements.count_ = accessor.count;
    elements.componentType_ = accessor.componentType;
    elements.normalized_ = accessor.normalized;
    return elements;
}

double AccessorElements::Component(size_t element, int component) const {
    const uint8_t* at = data_ + element * stride_ + size_t(component) * componentSize_;
    switch (componentType_) {
        case TINYGLTF_COMPONENT_TYPE_FLOAT: {
            return std::bit_cast<float>(ReadUnsigned(at, 4));
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: return normalized_ ? *at / 255.0 : *at;
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
            return normalized_ ? ReadUnsigned(at, 2) / 65535.0 : ReadUnsigned(at, 2);
        default: return 0;
    }
}

uint32_t AccessorElements::Index(size_t element) const {
    return ReadUnsigned(data_ + element * stride_, componentSize_);
}
