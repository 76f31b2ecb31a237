// Records that hold counted arrays or raw bytes. Every count read from a
// file is checked against the bytes its chunk has before anything is
// allocated, so a damaged file cannot ask for more memory than its size.
#include <cstdlib>
#include <cstring>

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/primitives3ds.h"
#include "toolkit3ds/recordops3ds.h"
#include "toolkit3ds/strings3ds.h"

namespace {

template <class Item>
struct ItemIo;

template <>
struct ItemIo<Point3ds> {
    static constexpr std::uint64_t kBytes = 12;
    static void Read(Point3ds& p) {
        p.x = ReadFloat3ds();
        p.y = ReadFloat3ds();
        p.z = ReadFloat3ds();
    }
    static void Write(const Point3ds& p) {
        WriteFloat3ds(p.x);
        WriteFloat3ds(p.y);
        WriteFloat3ds(p.z);
    }
};

template <>
struct ItemIo<MapCoord3ds> {
    static constexpr std::uint64_t kBytes = 8;
    static void Read(MapCoord3ds& c) {
        c.u = ReadFloat3ds();
        c.v = ReadFloat3ds();
    }
    static void Write(const MapCoord3ds& c) {
        WriteFloat3ds(c.u);
        WriteFloat3ds(c.v);
    }
};

template <>
struct ItemIo<MeshFace3ds> {
    static constexpr std::uint64_t kBytes = 8;
    static void Read(MeshFace3ds& f) {
        f.a = ReadWord3ds();
        f.b = ReadWord3ds();
        f.c = ReadWord3ds();
        f.flags = ReadWord3ds();
    }
    static void Write(const MeshFace3ds& f) {
        WriteWord3ds(f.a);
        WriteWord3ds(f.b);
        WriteWord3ds(f.c);
        WriteWord3ds(f.flags);
    }
};

template <>
struct ItemIo<std::uint16_t> {
    static constexpr std::uint64_t kBytes = 2;
    static void Read(std::uint16_t& w) { w = ReadWord3ds(); }
    static void Write(std::uint16_t w) { WriteWord3ds(w); }
};

template <>
struct ItemIo<std::uint32_t> {
    static constexpr std::uint64_t kBytes = 4;
    static void Read(std::uint32_t& d) { d = ReadDword3ds(); }
    static void Write(std::uint32_t d) { WriteDword3ds(d); }
};

// A zeroed array of `count` items read from the file, or null (count 0,
// too few bytes in the chunk, or no memory).
template <class Item>
Item* ReadItems(const Chunk3ds& chunk, std::uint32_t count) {
    if (count == 0 || !ChunkHolds3ds(chunk, count * ItemIo<Item>::kBytes)) {
        return nullptr;
    }
    auto* items = static_cast<Item*>(std::calloc(count, sizeof(Item)));
    if (items == nullptr) {
        PushError3ds(ERR_NO_MEM);
        return nullptr;
    }
    for (std::uint32_t i = 0; i < count && !ErrorPending3ds(); ++i) {
        ItemIo<Item>::Read(items[i]);
    }
    return items;
}

template <class Item>
void WriteItems(const Item* items, std::uint32_t count) {
    if (count > 0 && items == nullptr) {
        PushError3ds(ERR_INVALID_DATA);
        return;
    }
    for (std::uint32_t i = 0; i < count && !ErrorPending3ds(); ++i) {
        ItemIo<Item>::Write(items[i]);
    }
}

// What is left of the chunk after its items (only for chunks whose items
// are their whole content: a face list's sub-chunks follow its items).
void ReadTrailing(const Chunk3ds& chunk, TrailingBytes3ds& trailing) {
    const std::int64_t left = ChunkBytesLeft3ds(chunk);
    if (left <= 0 || ErrorPending3ds()) {
        return;
    }
    trailing.bytes = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(left)));
    if (trailing.bytes == nullptr) {
        PushError3ds(ERR_NO_MEM);
        return;
    }
    trailing.size = static_cast<std::uint32_t>(left);
    ReadBytes3ds(trailing.size, trailing.bytes);
}

template <class Record>
constexpr bool kHasTrailing = requires(Record& r) {
    r.trailing;
};

// Records of the form { u16 count; Item* items; } with the count in the file.
template <class Record, class Item, Item* Record::*Items>
struct CountedList {
    static void Read(const Chunk3ds& chunk, void* record, const TagEntry3ds&) {
        auto& r = *static_cast<Record*>(record);
        const std::uint16_t count = ReadWord3ds();
        if (ErrorPending3ds()) {
            return;
        }
        r.*Items = ReadItems<Item>(chunk, count);
        r.count = r.*Items != nullptr ? count : 0;
        if constexpr (kHasTrailing<Record>) {
            ReadTrailing(chunk, r.trailing);
        }
    }
    static void Write(const void* record, const TagEntry3ds&) {
        const auto& r = *static_cast<const Record*>(record);
        WriteWord3ds(r.count);
        WriteItems(r.*Items, r.count);
        if constexpr (kHasTrailing<Record>) {
            WriteBytes3ds(r.trailing.bytes != nullptr ? r.trailing.size : 0, r.trailing.bytes);
        }
    }
    static void Release(void* record) {
        auto& r = *static_cast<Record*>(record);
        std::free(r.*Items);
        if constexpr (kHasTrailing<Record>) {
            std::free(r.trailing.bytes);
        }
    }
    static void CopyOwned(void* record, const TagEntry3ds&) {
        auto& r = *static_cast<Record*>(record);
        r.*Items = static_cast<Item*>(CopyBlock3ds(r.*Items, r.count * sizeof(Item)));
        if constexpr (kHasTrailing<Record>) {
            r.trailing.bytes = static_cast<std::uint8_t*>(CopyBlock3ds(r.trailing.bytes, r.trailing.size));
        }
    }
    static constexpr RecordOps3ds kOps = {sizeof(Record), Read, Write, Release, CopyOwned};
};

void ReadFaceMaterial(const Chunk3ds& chunk, void* record, const TagEntry3ds& entry) {
    ReadChunkText3ds(chunk, &static_cast<FaceMaterialData3ds*>(record)->name);
    if (!ErrorPending3ds()) {
        CountedList<FaceMaterialData3ds, std::uint16_t, &FaceMaterialData3ds::faces>::Read(chunk, record, entry);
    }
}
void WriteFaceMaterial(const void* record, const TagEntry3ds& entry) {
    WriteString3ds(static_cast<const FaceMaterialData3ds*>(record)->name);
    CountedList<FaceMaterialData3ds, std::uint16_t, &FaceMaterialData3ds::faces>::Write(record, entry);
}
void ReleaseFaceMaterial(void* record) {
    std::free(static_cast<FaceMaterialData3ds*>(record)->name);
    CountedList<FaceMaterialData3ds, std::uint16_t, &FaceMaterialData3ds::faces>::Release(record);
}
void OwnFaceMaterial(void* record, const TagEntry3ds& entry) {
    OwnString3ds(static_cast<FaceMaterialData3ds*>(record)->name);
    CountedList<FaceMaterialData3ds, std::uint16_t, &FaceMaterialData3ds::faces>::CopyOwned(record, entry);
}

// One mask per face and no count: the chunk's size gives the count.
void ReadSmoothing(const Chunk3ds& chunk, void* record, const TagEntry3ds&) {
    auto& r = *static_cast<SmoothingData3ds*>(record);
    const std::int64_t masks = ChunkBytesLeft3ds(chunk) / 4;
    if (masks > 0xFFFF) {
        PushError3ds(ERR_INVALID_CHUNK);
        return;
    }
    if (masks > 0) {
        r.groups = ReadItems<std::uint32_t>(chunk, static_cast<std::uint32_t>(masks));
        r.count = r.groups != nullptr ? static_cast<std::uint16_t>(masks) : 0;
    }
}
void WriteSmoothing(const void* record, const TagEntry3ds&) {
    const auto& r = *static_cast<const SmoothingData3ds*>(record);
    WriteItems(r.groups, r.count);
}
void ReleaseSmoothing(void* record) { std::free(static_cast<SmoothingData3ds*>(record)->groups); }
void OwnSmoothing(void* record, const TagEntry3ds&) {
    auto& r = *static_cast<SmoothingData3ds*>(record);
    r.groups = static_cast<std::uint32_t*>(CopyBlock3ds(r.groups, r.count * sizeof(std::uint32_t)));
}

void ReadRaw(const Chunk3ds& chunk, void* record, const TagEntry3ds&) {
    auto& r = *static_cast<RawData3ds*>(record);
    const std::int64_t size = static_cast<std::int64_t>(chunk.length) - 6;
    if (size <= 0 || !ChunkHolds3ds(chunk, static_cast<std::uint64_t>(size))) {
        return;
    }
    r.bytes = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(size)));
    if (r.bytes == nullptr) {
        PushError3ds(ERR_NO_MEM);
        return;
    }
    r.size = static_cast<std::uint32_t>(size);
    ReadBytes3ds(r.size, r.bytes);
}
void WriteRaw(const void* record, const TagEntry3ds&) {
    const auto& r = *static_cast<const RawData3ds*>(record);
    if (r.size > 0 && r.bytes == nullptr) {
        PushError3ds(ERR_INVALID_DATA);
        return;
    }
    WriteBytes3ds(r.size, r.bytes);
}
void ReleaseRaw(void* record) { std::free(static_cast<RawData3ds*>(record)->bytes); }
void OwnRaw(void* record, const TagEntry3ds&) {
    auto& r = *static_cast<RawData3ds*>(record);
    r.bytes = static_cast<std::uint8_t*>(CopyBlock3ds(r.bytes, r.size));
}

}  // namespace

const RecordOps3ds kVertexListRecordOps3ds =
    CountedList<VertexListData3ds, Point3ds, &VertexListData3ds::vertices>::kOps;
const RecordOps3ds kVertexFlagsRecordOps3ds =
    CountedList<VertexFlagsData3ds, std::uint16_t, &VertexFlagsData3ds::flags>::kOps;
const RecordOps3ds kFaceListRecordOps3ds = CountedList<FaceListData3ds, MeshFace3ds, &FaceListData3ds::faces>::kOps;
const RecordOps3ds kMapCoordsRecordOps3ds = CountedList<MapCoordsData3ds, MapCoord3ds, &MapCoordsData3ds::coords>::kOps;
const RecordOps3ds kFaceMaterialRecordOps3ds = {sizeof(FaceMaterialData3ds), ReadFaceMaterial, WriteFaceMaterial,
                                                ReleaseFaceMaterial, OwnFaceMaterial};
const RecordOps3ds kSmoothingRecordOps3ds = {sizeof(SmoothingData3ds), ReadSmoothing, WriteSmoothing, ReleaseSmoothing,
                                             OwnSmoothing};
const RecordOps3ds kRawRecordOps3ds = {sizeof(RawData3ds), ReadRaw, WriteRaw, ReleaseRaw, OwnRaw};

std::int64_t ChunkBytesLeft3ds(const Chunk3ds& chunk) {
    std::int64_t end = static_cast<std::int64_t>(chunk.position) + chunk.length;
    const std::int64_t fileSize = FileSize3ds(CurrentFile3ds());
    if (fileSize >= 0 && fileSize < end) {
        end = fileSize;
    }
    return end - FilePosition3ds();
}

void ReadChunkText3ds(const Chunk3ds& chunk, char** out) { ReadTextWithin3ds(out, ChunkBytesLeft3ds(chunk)); }

bool ChunkHolds3ds(const Chunk3ds& chunk, std::uint64_t bytes) {
    const std::int64_t left = ChunkBytesLeft3ds(chunk);
    if (left < 0 || bytes > static_cast<std::uint64_t>(left)) {
        PushError3ds(ERR_INVALID_CHUNK);
        return false;
    }
    return true;
}

void* CopyBlock3ds(const void* block, std::size_t size) {
    if (block == nullptr) {
        return nullptr;
    }
    void* copy = std::malloc(size > 0 ? size : 1);
    if (copy == nullptr) {
        PushError3ds(ERR_NO_MEM);
        return nullptr;
    }
    std::memcpy(copy, block, size);
    return copy;
}

void OwnString3ds(char*& text) {
    if (text != nullptr) {
        text = DuplicateString3ds(text);
        if (text == nullptr) {
            PushError3ds(ERR_NO_MEM);
        }
    }
}
