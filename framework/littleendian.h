#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>

namespace pallix {

// Little-endian numbers inside a byte block, with bounds checks: a read that
// would reach past the block gives nothing, a write that would does nothing.

inline bool FitsIn(std::span<const uint8_t> bytes, uint64_t offset, uint64_t width) {
    return offset <= bytes.size() && width <= bytes.size() - offset;
}

template <typename T>
std::optional<T> ReadLE(std::span<const uint8_t> bytes, uint64_t offset) {
    if (!FitsIn(bytes, offset, sizeof(T))) return std::nullopt;
    uint64_t value = 0;
    for (size_t i = 0; i < sizeof(T); ++i) value |= uint64_t(bytes[offset + i]) << (8 * i);
    return static_cast<T>(value);
}

template <typename T>
bool WriteLE(std::span<uint8_t> bytes, uint64_t offset, T value) {
    if (!FitsIn(bytes, offset, sizeof(T))) return false;
    const auto raw = static_cast<uint64_t>(static_cast<std::make_unsigned_t<T>>(value));
    for (size_t i = 0; i < sizeof(T); ++i) bytes[offset + i] = static_cast<uint8_t>(raw >> (8 * i));
    return true;
}

inline std::optional<uint16_t> ReadU16(std::span<const uint8_t> b, uint64_t o) { return ReadLE<uint16_t>(b, o); }
inline std::optional<uint32_t> ReadU32(std::span<const uint8_t> b, uint64_t o) { return ReadLE<uint32_t>(b, o); }
inline std::optional<int32_t> ReadI32(std::span<const uint8_t> b, uint64_t o) { return ReadLE<int32_t>(b, o); }

}  // namespace pallix
