// Little-endian conversions between values and their file bytes, whatever
// the host's byte order. Sizes are part of the types, so no access can
// stray outside the bytes given.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace endian3ds {

template <std::size_t N>
using Bytes = std::array<unsigned char, N>;

inline std::uint16_t LoadU16(const Bytes<2>& b) { return static_cast<std::uint16_t>(b[0] | (b[1] << 8)); }

inline std::uint32_t LoadU32(const Bytes<4>& b) {
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

inline Bytes<2> StoreU16(std::uint16_t v) {
    return {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
}

inline Bytes<4> StoreU32(std::uint32_t v) {
    return {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v >> 16),
            static_cast<unsigned char>(v >> 24)};
}

inline float LoadFloat(const Bytes<4>& b) { return std::bit_cast<float>(LoadU32(b)); }
inline Bytes<4> StoreFloat(float v) { return StoreU32(std::bit_cast<std::uint32_t>(v)); }

}  // namespace endian3ds
