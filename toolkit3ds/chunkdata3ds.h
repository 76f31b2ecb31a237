// The data records of the chunk tags: the in-memory form of a chunk's own
// data (the bytes after its header and before its first sub-chunk), and the
// per-tag routines that make, read, write, free, copy and skip them.
//
// A chunk's record is `chunk->data`, a pointer to the record type its tag
// names below (cast it). Strings and arrays in records are malloc'd blocks
// owned by the record; take one over by copying the pointer and setting the
// record's pointer to null. Records of tags without own data are null.
#pragma once

#include <cstdint>

#include "toolkit3ds/chunk3ds.h"
#include "toolkit3ds/chunktags3ds.h"

// Element types of the counted lists.
struct Point3ds {
    float x, y, z;
};
struct MapCoord3ds {
    float u, v;
};
struct MeshFace3ds {
    std::uint16_t a, b, c, flags;
};

// 0x0002, 0x3D3E, 0x1440, 0xB009
struct LongData3ds {
    std::int32_t value;
};
// 0xB008
struct LongPairData3ds {
    std::int32_t first, second;
};
// 0x0100, 0x0031, 0x1300, 0x1400, 0x1410, 0x1450, 0x1460, 0x4656-0x465B, 0xA087,
// 0xA353-0xA35C, 0xB015
struct FloatData3ds {
    float value;
};
// 0x1420, 0x1430, 0xA100, 0xA252, 0xB030
struct WordData3ds {
    std::uint16_t value;
};
// 0x0030, 0xA351
struct ShortData3ds {
    std::int16_t value;
};
// 0x4165
struct ByteData3ds {
    std::uint8_t value;
};
// 0x0011, 0x0012, 0xA360-0xA368: red, green, blue
struct ByteTripleData3ds {
    std::uint8_t value[3];
};
// N floats in file order: 3 for 0x0010, 0x0013 (red, green, blue), 0x1500,
// 0x4600, 0xB013; 2 for 0x4720; 4 for 0x2200, 0x2300; 5 for 0x4610 (a vector
// and 2 floats); 6 for 0xB014; 8 for 0x4700; 12 for 0x4160 (three axes, then
// the origin).
template <int N>
struct FloatsData3ds {
    float value[N];
};
using Floats2Data3ds = FloatsData3ds<2>;
using Floats3Data3ds = FloatsData3ds<3>;
using Floats4Data3ds = FloatsData3ds<4>;
using Floats5Data3ds = FloatsData3ds<5>;
using Floats6Data3ds = FloatsData3ds<6>;
using Floats8Data3ds = FloatsData3ds<8>;
using Floats12Data3ds = FloatsData3ds<12>;
// 0x2302
struct FloatsAndDwordData3ds {
    float value[3];
    std::uint32_t word;
};
// 0x4641
struct FloatsAndWordData3ds {
    float value[2];
    std::uint16_t word;
};
// 0x3010-0x3060 (file: the float, then the vector)
struct ViewData3ds {
    float vector[3];
    float value;
};
// 0x3070 (file: the 4 floats, then the vector)
struct WideViewData3ds {
    float vector[3];
    float value[4];
};
// 0x7001
struct Words7Data3ds {
    std::uint16_t value[7];
};
// 0x7020
struct Shorts4Data3ds {
    std::int16_t value[4];
};
// 0x4170, 86 bytes in the file
struct MappingSetupData3ds {
    std::uint16_t type;
    float values[6];  // 2 floats, a vector, 1 float
    float matrix[12];
    float extents[3];
};
// 0xA310, 12 bytes in the file
struct MapCubeSetupData3ds {
    std::uint8_t first, second;
    std::uint16_t options;
    std::uint32_t valueA, valueB;
};

// 0x4000 (object name), 0xA000 (material name), 0xA300, 0x4181, 0x1100,
// 0x3080, 0x4653, 0x4654, 0x8002, 0x8003, 0xB011, 0x80F0. The text is the
// first field, so a name index can read it from any of them.
struct StringData3ds {
    char* text;
};
// 0xB00A
struct KeyframeHeaderData3ds {
    std::uint16_t revision;
    char* name;
    std::int32_t length;
};
// 0xB010
struct NodeHeaderData3ds {
    char* name;
    std::uint16_t flags1, flags2;
    std::uint16_t parent;  // 0xFFFF = none
};
// 0x4190
struct SideMaterialsData3ds {
    char* names[6];
};
// 0x7011, 0x7012
struct LayoutViewData3ds {
    std::uint16_t words[7];
    float value;
    float vector[3];
    float values[2];
    char* name;  // a fixed field of 11 bytes in the file
};

// Bytes a chunk holds after its counted items, when its count says less
// than its length; kept so that they are written back unchanged.
struct TrailingBytes3ds {
    std::uint32_t size;
    std::uint8_t* bytes;
};

// 0x4110
struct VertexListData3ds {
    std::uint16_t count;
    Point3ds* vertices;
    TrailingBytes3ds trailing;
};
// 0x4111
struct VertexFlagsData3ds {
    std::uint16_t count;
    std::uint16_t* flags;
    TrailingBytes3ds trailing;
};
// 0x4120 (its sub-chunks follow the faces)
struct FaceListData3ds {
    std::uint16_t count;
    MeshFace3ds* faces;
};
// 0x4130
struct FaceMaterialData3ds {
    char* name;
    std::uint16_t count;
    std::uint16_t* faces;  // null when count is 0
    TrailingBytes3ds trailing;
};
// 0x4140
struct MapCoordsData3ds {
    std::uint16_t count;
    MapCoord3ds* coords;
    TrailingBytes3ds trailing;
};
// 0x4150: one mask per face; the count is not in the file.
struct SmoothingData3ds {
    std::uint16_t count;
    std::uint32_t* groups;
};

// Raw bytes: 0x4182, 0x8001 (its whole content), the map data blocks
// 0xA320-0xA338, and every tag the catalogue does not know (longer than 6).
struct RawData3ds {
    std::uint32_t size;
    std::uint8_t* bytes;
};

// Key tracks 0xB020-0xB029.
struct KeyHeader3ds {
    std::uint32_t frame;
    std::uint16_t flags;  // bits 0 to 4: which of `values` are in the file
    float values[5];
};
struct KeyName3ds {
    char text[13];
};
struct KeyTrackData3ds {
    std::uint16_t flags;
    std::uint32_t unknown1, unknown2;
    std::uint32_t keyCount;
    KeyHeader3ds* keys;
    // keyCount values: KeyValueFloats3ds(tag) floats each, or for 0xB026 one
    // KeyName3ds each; none for 0xB029.
    float* values;
    KeyName3ds* names;
};
// Floats per key value of a track tag (0 for 0xB026 and 0xB029).
int KeyValueFloats3ds(std::uint32_t tag);

// The per-tag routines.
void* NewChunkData3ds(Chunk3ds* chunk);
// The chunk's record, read from its file when needed. Null for a tag without
// record and for a chunk kept whole (Chunk3ds::keptWhole), whose raw bytes
// are read all the same, so that writing gives them back unchanged.
void* ReadChunkData3ds(Chunk3ds* chunk);
void WriteChunkData3ds(Chunk3ds* chunk);
void FreeChunkData3ds(Chunk3ds* chunk);
void CopyChunkData3ds(Chunk3ds* source, Chunk3ds* destination);
void SkipChunkData3ds(Chunk3ds* chunk);
int ChunkOrderWeight3ds(std::uint32_t tag);

// The catalogue's name of a tag ("CHUNK_MESH_FILE"), or null when unknown.
const char* ChunkTagName3ds(std::uint32_t tag);
// True when the tag's record holds the chunk's whole content, sub-chunks
// included (0x8001, and raw tags that have sub-chunks): such a chunk is
// written from its record, and its sub-chunks are not written again.
bool RecordCoversChildren3ds(const Chunk3ds* chunk);
