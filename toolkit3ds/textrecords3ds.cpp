// Records that hold strings: names, texts and the headers built around them.
#include <cstddef>
#include <cstdlib>

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/primitives3ds.h"
#include "toolkit3ds/recordops3ds.h"
#include "toolkit3ds/strings3ds.h"

namespace {

constexpr std::uint32_t kLayoutNameMaximum = 10;

template <class Record>
Record& As(void* record) {
    return *static_cast<Record*>(record);
}
template <class Record>
const Record& As(const void* record) {
    return *static_cast<const Record*>(record);
}

// The text and its zero must lie inside the chunk.
void ReadText(const Chunk3ds& chunk, void* record, const TagEntry3ds&) {
    ReadChunkText3ds(chunk, &As<StringData3ds>(record).text);
}
void WriteText(const void* record, const TagEntry3ds&) { WriteString3ds(As<StringData3ds>(record).text); }
void ReleaseText(void* record) { std::free(As<StringData3ds>(record).text); }
void OwnText(void* record, const TagEntry3ds&) { OwnString3ds(As<StringData3ds>(record).text); }

void ReadKeyframeHeader(const Chunk3ds& chunk, void* record, const TagEntry3ds&) {
    auto& r = As<KeyframeHeaderData3ds>(record);
    r.revision = ReadWord3ds();
    if (!ErrorPending3ds()) {
        ReadChunkText3ds(chunk, &r.name);
    }
    if (!ErrorPending3ds()) {
        r.length = ReadLong3ds();
    }
}
void WriteKeyframeHeader(const void* record, const TagEntry3ds&) {
    const auto& r = As<KeyframeHeaderData3ds>(record);
    WriteWord3ds(r.revision);
    WriteString3ds(r.name);
    WriteLong3ds(r.length);
}
void ReleaseKeyframeHeader(void* record) { std::free(As<KeyframeHeaderData3ds>(record).name); }
void OwnKeyframeHeader(void* record, const TagEntry3ds&) { OwnString3ds(As<KeyframeHeaderData3ds>(record).name); }

void ReadNodeHeader(const Chunk3ds& chunk, void* record, const TagEntry3ds&) {
    auto& r = As<NodeHeaderData3ds>(record);
    ReadChunkText3ds(chunk, &r.name);
    for (std::uint16_t* word : {&r.flags1, &r.flags2, &r.parent}) {
        if (ErrorPending3ds()) {
            return;
        }
        *word = ReadWord3ds();
    }
}
void WriteNodeHeader(const void* record, const TagEntry3ds&) {
    const auto& r = As<NodeHeaderData3ds>(record);
    WriteString3ds(r.name);
    WriteWord3ds(r.flags1);
    WriteWord3ds(r.flags2);
    WriteWord3ds(r.parent);
}
void ReleaseNodeHeader(void* record) { std::free(As<NodeHeaderData3ds>(record).name); }
void OwnNodeHeader(void* record, const TagEntry3ds&) { OwnString3ds(As<NodeHeaderData3ds>(record).name); }

void ReadSideMaterials(const Chunk3ds& chunk, void* record, const TagEntry3ds&) {
    for (char*& name : As<SideMaterialsData3ds>(record).names) {
        ReadChunkText3ds(chunk, &name);
        if (ErrorPending3ds()) {
            return;
        }
    }
}
void WriteSideMaterials(const void* record, const TagEntry3ds&) {
    for (const char* name : As<SideMaterialsData3ds>(record).names) {
        WriteString3ds(name);
    }
}
void ReleaseSideMaterials(void* record) {
    for (char* name : As<SideMaterialsData3ds>(record).names) {
        std::free(name);
    }
}
void OwnSideMaterials(void* record, const TagEntry3ds&) {
    for (char*& name : As<SideMaterialsData3ds>(record).names) {
        OwnString3ds(name);
    }
}

// The values before the name of a layout view.
constexpr FixedLayout3ds kLayoutViewValues = {sizeof(LayoutViewData3ds),
                                              4,
                                              {{ValueType3ds::Word, 7, offsetof(LayoutViewData3ds, words)},
                                               {ValueType3ds::Float, 1, offsetof(LayoutViewData3ds, value)},
                                               {ValueType3ds::Float, 3, offsetof(LayoutViewData3ds, vector)},
                                               {ValueType3ds::Float, 2, offsetof(LayoutViewData3ds, values)}}};

void ReadLayoutView(const Chunk3ds&, void* record, const TagEntry3ds&) {
    ReadFields3ds(kLayoutViewValues, record);
    if (!ErrorPending3ds()) {
        ReadFixedStringAlloc3ds(&As<LayoutViewData3ds>(record).name, kLayoutNameMaximum);
    }
}
void WriteLayoutView(const void* record, const TagEntry3ds&) {
    WriteFields3ds(kLayoutViewValues, record);
    WriteFixedString3ds(As<LayoutViewData3ds>(record).name, kLayoutNameMaximum + 1);
}
void ReleaseLayoutView(void* record) { std::free(As<LayoutViewData3ds>(record).name); }
void OwnLayoutView(void* record, const TagEntry3ds&) { OwnString3ds(As<LayoutViewData3ds>(record).name); }

}  // namespace

const RecordOps3ds kStringRecordOps3ds = {sizeof(StringData3ds), ReadText, WriteText, ReleaseText, OwnText};
const RecordOps3ds kExtraTextRecordOps3ds = {sizeof(StringData3ds), ReadText, WriteText, ReleaseText, OwnText};
const RecordOps3ds kKeyframeHeaderRecordOps3ds = {sizeof(KeyframeHeaderData3ds), ReadKeyframeHeader,
                                                  WriteKeyframeHeader, ReleaseKeyframeHeader, OwnKeyframeHeader};
const RecordOps3ds kNodeHeaderRecordOps3ds = {sizeof(NodeHeaderData3ds), ReadNodeHeader, WriteNodeHeader,
                                              ReleaseNodeHeader, OwnNodeHeader};
const RecordOps3ds kSideMaterialsRecordOps3ds = {sizeof(SideMaterialsData3ds), ReadSideMaterials, WriteSideMaterials,
                                                 ReleaseSideMaterials, OwnSideMaterials};
const RecordOps3ds kLayoutViewRecordOps3ds = {sizeof(LayoutViewData3ds), ReadLayoutView, WriteLayoutView,
                                              ReleaseLayoutView, OwnLayoutView};
