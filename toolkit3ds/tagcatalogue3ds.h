// The catalogue as data: for every known tag its name, the shape of its
// record and how far its own data reaches before the sub-chunks.
#pragma once

#include <cstddef>
#include <cstdint>

enum class RecordKind3ds : std::uint8_t {
    None,  // containers and flag chunks
    Fixed,
    String,
    ExtraText,
    KeyframeHeader,
    NodeHeader,
    SideMaterials,
    LayoutView,
    VertexList,
    VertexFlags,
    FaceList,
    FaceMaterial,
    MapCoords,
    Smoothing,
    Raw,  // listed tags kept as counted raw bytes
    KeyTrack,
    Unknown,  // raw bytes when longer than 6, else no record
};

enum class SkipRule3ds : std::uint8_t { Nothing, Bytes, String, FaceList, KeyframeHeader, NodeHeader, Whole };

enum class ValueType3ds : std::uint8_t { Byte, Word, Short, Dword, Long, Float };

// A run of `count` values of one type at `offset` in the record.
struct FieldLayout3ds {
    ValueType3ds type;
    std::uint8_t count;
    std::uint16_t offset;
};

// A record of plain values, in file order.
struct FixedLayout3ds {
    std::uint16_t recordSize;
    std::uint8_t fieldCount;
    FieldLayout3ds fields[5];
};

struct TagEntry3ds {
    std::uint16_t tag;
    const char* name;
    RecordKind3ds kind;
    const FixedLayout3ds* layout;  // Fixed records
    SkipRule3ds skip;
    std::uint16_t skipAmount;  // bytes to skip (Bytes rule)
};

// The entry of a tag; unknown tags get an entry of kind Unknown.
const TagEntry3ds& LookUpTag3ds(std::uint32_t tag);
