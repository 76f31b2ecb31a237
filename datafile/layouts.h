#pragma once
#include <cstdint>

// Byte offsets of the records inside a model bank. Every number is
// little-endian; bytes not named here are carried along untouched.
namespace pallix {

namespace BankHeader {
inline constexpr uint32_t kTag = 0;           // "CM3D"
inline constexpr uint32_t kObjectCount = 14;  // u16
inline constexpr uint32_t kBitmapCount = 16;  // u16
inline constexpr uint32_t kFirstModel = 24;   // u32, counted from the tag
inline constexpr uint32_t kSize = 28;
inline constexpr char kTagText[4] = {'C', 'M', '3', 'D'};
}  // namespace BankHeader

namespace ModelRecord {
inline constexpr uint32_t kName = 0;
inline constexpr uint32_t kNameSize = 12;
inline constexpr uint32_t kRecordSize = 12;     // u32, bytes to the next record
inline constexpr uint32_t kVertexCount = 16;    // u16
inline constexpr uint32_t kTriangleCount = 18;  // u16
inline constexpr uint32_t kVertices = 48;
inline constexpr uint32_t kMaxCount = 1000;  // the model commands accept 1..1000
}  // namespace ModelRecord

namespace ModelVertex {
inline constexpr uint32_t kX = 0;  // i32, hundredths of an exchange unit
inline constexpr uint32_t kY = 4;
inline constexpr uint32_t kZ = 8;
inline constexpr uint32_t kU = 12;  // i32, 16.16 fixed point
inline constexpr uint32_t kV = 16;
inline constexpr uint32_t kCarried = 20;  // 12 bytes kept as they are
inline constexpr uint32_t kSize = 32;
}  // namespace ModelVertex

namespace ModelTriangle {
inline constexpr uint32_t kIndex0 = 2;  // u16 vertex indexes
inline constexpr uint32_t kIndex1 = 4;
inline constexpr uint32_t kIndex2 = 6;
inline constexpr uint32_t kBitmapIndex = 8;    // u16
inline constexpr uint32_t kCarriedBytes = 10;  // 4 bytes handed to the exporters
inline constexpr uint32_t kSize = 24;
}  // namespace ModelTriangle

namespace BitmapRecord {
inline constexpr uint32_t kName = 0;
inline constexpr uint32_t kNameSize = 16;
inline constexpr uint32_t kData = 16;        // an embedded BMP file
inline constexpr uint32_t kBmpFileSize = 2;  // u32 bfSize inside the BMP data
inline constexpr uint32_t kMaxLength = 300000;
inline constexpr uint32_t kMaxPerBank = 100;
}  // namespace BitmapRecord

}  // namespace pallix
