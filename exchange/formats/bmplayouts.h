#pragma once
#include <cstdint>

// Byte offsets of a BMP file's headers. Every number is little-endian.
namespace bmp {

namespace FileHeader {
inline constexpr uint32_t kTag = 0;           // "BM"
inline constexpr uint32_t kFileSize = 2;      // u32
inline constexpr uint32_t kPixelOffset = 10;  // u32, from the start of the file
inline constexpr uint32_t kSize = 14;
}  // namespace FileHeader

// The OS/2 core header, after the file header: 16-bit sizes, 3-byte colours.
namespace CoreHeader {
inline constexpr uint32_t kHeaderSize = 0;  // u32, 12
inline constexpr uint32_t kWidth = 4;       // u16
inline constexpr uint32_t kHeight = 6;      // u16, rows bottom-up
inline constexpr uint32_t kBitCount = 10;   // u16
inline constexpr uint32_t kSize = 12;
inline constexpr uint32_t kColourSize = 3;
}  // namespace CoreHeader

// The Windows info header and its longer versions (52, 56, 108 and 124
// bytes), after the file header; each longer version begins with the shorter.
namespace InfoHeader {
inline constexpr uint32_t kHeaderSize = 0;    // u32
inline constexpr uint32_t kWidth = 4;         // i32
inline constexpr uint32_t kHeight = 8;        // i32, negative for rows top-down
inline constexpr uint32_t kBitCount = 14;     // u16
inline constexpr uint32_t kCompression = 16;  // u32, one of Compression
inline constexpr uint32_t kColoursUsed = 32;  // u32, 0 for as many as the depth allows
inline constexpr uint32_t kRedMask = 40;      // u32, inside headers of 52 bytes and more
inline constexpr uint32_t kGreenMask = 44;
inline constexpr uint32_t kBlueMask = 48;
inline constexpr uint32_t kSize = 40;
inline constexpr uint32_t kWithMasksSize = 52;
inline constexpr uint32_t kColourSize = 4;  // blue, green, red, unused
}  // namespace InfoHeader

namespace Compression {
inline constexpr uint32_t kNone = 0;
inline constexpr uint32_t kRle8 = 1;
inline constexpr uint32_t kRle4 = 2;
inline constexpr uint32_t kBitFields = 3;
inline constexpr uint32_t kJpeg = 4;
inline constexpr uint32_t kPng = 5;
inline constexpr uint32_t kAlphaBitFields = 6;  // the masks of a 40-byte header are four, alpha last
}  // namespace Compression

}  // namespace bmp
