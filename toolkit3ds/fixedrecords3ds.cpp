// Records of plain values, read and written by their layout.
#include <cstring>

#include "toolkit3ds/primitives3ds.h"
#include "toolkit3ds/recordops3ds.h"

namespace {

std::size_t ValueSize(ValueType3ds type) {
    switch (type) {
        case ValueType3ds::Byte: return 1;
        case ValueType3ds::Word:
        case ValueType3ds::Short: return 2;
        default: return 4;
    }
}

void ReadValue(ValueType3ds type, unsigned char* at) {
    switch (type) {
        case ValueType3ds::Byte: {
            const std::uint8_t v = ReadByte3ds();
            std::memcpy(at, &v, sizeof v);
            break;
        }
        case ValueType3ds::Word:
        case ValueType3ds::Short: {
            const std::uint16_t v = ReadWord3ds();
            std::memcpy(at, &v, sizeof v);
            break;
        }
        case ValueType3ds::Dword:
        case ValueType3ds::Long: {
            const std::uint32_t v = ReadDword3ds();
            std::memcpy(at, &v, sizeof v);
            break;
        }
        case ValueType3ds::Float: {
            const float v = ReadFloat3ds();
            std::memcpy(at, &v, sizeof v);
            break;
        }
    }
}

void WriteValue(ValueType3ds type, const unsigned char* at) {
    switch (type) {
        case ValueType3ds::Byte: WriteByte3ds(*at); break;
        case ValueType3ds::Word:
        case ValueType3ds::Short: {
            std::uint16_t v;
            std::memcpy(&v, at, sizeof v);
            WriteWord3ds(v);
            break;
        }
        case ValueType3ds::Dword:
        case ValueType3ds::Long: {
            std::uint32_t v;
            std::memcpy(&v, at, sizeof v);
            WriteDword3ds(v);
            break;
        }
        case ValueType3ds::Float: {
            float v;
            std::memcpy(&v, at, sizeof v);
            WriteFloat3ds(v);
            break;
        }
    }
}

template <class Bytes, class Visit>
void ForEachValue(const FixedLayout3ds& layout, Bytes* record, Visit visit) {
    for (int f = 0; f < layout.fieldCount; ++f) {
        const FieldLayout3ds& field = layout.fields[f];
        for (int i = 0; i < field.count; ++i) {
            visit(field.type, record + field.offset + i * ValueSize(field.type));
            if (ErrorPending3ds()) {
                return;
            }
        }
    }
}

void ReadFixed(const Chunk3ds&, void* record, const TagEntry3ds& entry) { ReadFields3ds(*entry.layout, record); }

void WriteFixed(const void* record, const TagEntry3ds& entry) { WriteFields3ds(*entry.layout, record); }

void ReleasesNothing(void*) {}
void OwnsNothing(void*, const TagEntry3ds&) {}

}  // namespace

void ReadFields3ds(const FixedLayout3ds& layout, void* record) {
    ForEachValue(layout, static_cast<unsigned char*>(record), ReadValue);
}

void WriteFields3ds(const FixedLayout3ds& layout, const void* record) {
    ForEachValue(layout, static_cast<const unsigned char*>(record), WriteValue);
}

const RecordOps3ds kFixedRecordOps3ds = {0, ReadFixed, WriteFixed, ReleasesNothing, OwnsNothing};
