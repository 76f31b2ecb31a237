// Typed little-endian reads and writes on the current file, one value per
// call. The common case is served inline from the file's buffer; the rest
// goes through the stream layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "toolkit3ds/endian3ds.h"
#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/file3ds.h"

namespace detail3ds {

// Push ERR_READING_FILE or ERR_WRITING_FILE when fewer bytes were moved.
bool ReadBytesSlow(unsigned char* out, std::size_t count);
bool WriteBytesSlow(const unsigned char* in, std::size_t count);

inline bool TakeRaw(unsigned char* out, std::size_t count) {
    unsigned char* next = window.next;
    if (window.readLimit - next >= static_cast<std::ptrdiff_t>(count)) {
        std::memcpy(out, next, count);
        window.next = next + count;
        return true;
    }
    return ReadBytesSlow(out, count);
}

inline void PutRaw(const unsigned char* in, std::size_t count) {
    unsigned char* next = window.next;
    if (window.writeLimit - next >= static_cast<std::ptrdiff_t>(count)) {
        std::memcpy(next, in, count);
        window.next = next + count;
        return;
    }
    WriteBytesSlow(in, count);
}

template <std::size_t N>
inline bool TakeBytes(endian3ds::Bytes<N>& out) {
    return TakeRaw(out.data(), N);
}

template <std::size_t N>
inline void PutBytes(const endian3ds::Bytes<N>& in) {
    PutRaw(in.data(), N);
}

}  // namespace detail3ds

// A failed read pushes ERR_READING_FILE and gives 0.
inline std::uint8_t ReadByte3ds() {
    endian3ds::Bytes<1> b;
    return detail3ds::TakeBytes(b) ? b[0] : 0;
}
inline std::int8_t ReadSignedByte3ds() { return static_cast<std::int8_t>(ReadByte3ds()); }
inline std::uint16_t ReadWord3ds() {
    endian3ds::Bytes<2> b;
    return detail3ds::TakeBytes(b) ? endian3ds::LoadU16(b) : 0;
}
inline std::int16_t ReadShort3ds() { return static_cast<std::int16_t>(ReadWord3ds()); }
inline std::uint32_t ReadDword3ds() {
    endian3ds::Bytes<4> b;
    return detail3ds::TakeBytes(b) ? endian3ds::LoadU32(b) : 0;
}
inline std::int32_t ReadLong3ds() { return static_cast<std::int32_t>(ReadDword3ds()); }
inline float ReadFloat3ds() {
    endian3ds::Bytes<4> b;
    return detail3ds::TakeBytes(b) ? endian3ds::LoadFloat(b) : 0.0F;
}

// A failed write pushes ERR_WRITING_FILE.
inline void WriteByte3ds(std::uint8_t v) { detail3ds::PutBytes(endian3ds::Bytes<1>{v}); }
inline void WriteSignedByte3ds(std::int8_t v) { WriteByte3ds(static_cast<std::uint8_t>(v)); }
inline void WriteWord3ds(std::uint16_t v) { detail3ds::PutBytes(endian3ds::StoreU16(v)); }
inline void WriteShort3ds(std::int16_t v) { WriteWord3ds(static_cast<std::uint16_t>(v)); }
inline void WriteDword3ds(std::uint32_t v) { detail3ds::PutBytes(endian3ds::StoreU32(v)); }
inline void WriteLong3ds(std::int32_t v) { WriteDword3ds(static_cast<std::uint32_t>(v)); }
inline void WriteFloat3ds(float v) { detail3ds::PutBytes(endian3ds::StoreFloat(v)); }

// Raw bytes; stop at the first failure.
void ReadBytes3ds(std::size_t count, void* buffer);
void WriteBytes3ds(std::size_t count, const void* buffer);

// Tag (16 bits in the file) and length of a chunk header.
void ReadChunkHeader3ds(std::uint32_t* tag, std::uint32_t* length);
void WriteChunkHeader3ds(std::uint32_t tag, std::uint32_t length);
// Writes end - start into the length field of the chunk at start and
// leaves the position at end.
void PatchChunkLength3ds(std::int64_t start, std::int64_t end);
