// The per-tag routines: each looks the tag up in the catalogue and hands
// the record to the operations of its kind.
#include "toolkit3ds/chunkdata3ds.h"

#include <cstdlib>
#include <cstring>

#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/file3ds.h"
#include "toolkit3ds/fitting3ds.h"
#include "toolkit3ds/recordops3ds.h"

namespace {

const RecordOps3ds* OpsFor(RecordKind3ds kind) {
    switch (kind) {
        case RecordKind3ds::None: return nullptr;
        case RecordKind3ds::Fixed: return &kFixedRecordOps3ds;
        case RecordKind3ds::String: return &kStringRecordOps3ds;
        case RecordKind3ds::ExtraText: return &kExtraTextRecordOps3ds;
        case RecordKind3ds::KeyframeHeader: return &kKeyframeHeaderRecordOps3ds;
        case RecordKind3ds::NodeHeader: return &kNodeHeaderRecordOps3ds;
        case RecordKind3ds::SideMaterials: return &kSideMaterialsRecordOps3ds;
        case RecordKind3ds::LayoutView: return &kLayoutViewRecordOps3ds;
        case RecordKind3ds::VertexList: return &kVertexListRecordOps3ds;
        case RecordKind3ds::VertexFlags: return &kVertexFlagsRecordOps3ds;
        case RecordKind3ds::FaceList: return &kFaceListRecordOps3ds;
        case RecordKind3ds::FaceMaterial: return &kFaceMaterialRecordOps3ds;
        case RecordKind3ds::MapCoords: return &kMapCoordsRecordOps3ds;
        case RecordKind3ds::Smoothing: return &kSmoothingRecordOps3ds;
        case RecordKind3ds::Raw:
        case RecordKind3ds::Unknown: return &kRawRecordOps3ds;
        case RecordKind3ds::KeyTrack: return &kKeyTrackRecordOps3ds;
    }
    return nullptr;
}

// A chunk kept whole holds raw bytes, whatever its tag.
RecordKind3ds KindOf(const Chunk3ds& chunk, const TagEntry3ds& entry) {
    return chunk.keptWhole != 0 ? RecordKind3ds::Unknown : entry.kind;
}

// The operations of the chunk's record, or null when its tag has none. A
// tag the catalogue does not know has raw bytes only when it has any.
const RecordOps3ds* OpsFor(const Chunk3ds& chunk, const TagEntry3ds& entry) {
    const RecordKind3ds kind = KindOf(chunk, entry);
    if (kind == RecordKind3ds::Unknown && chunk.length <= 6) {
        return nullptr;
    }
    return OpsFor(kind);
}

std::size_t RecordSize(const RecordOps3ds& ops, const TagEntry3ds& entry) {
    return ops.recordSize != 0 ? ops.recordSize : entry.layout->recordSize;
}

// A zeroed record for the chunk, stored in it; null when memory runs out.
// Not calloc: the C library's calloc passes by its per-thread cache of
// small blocks, and a database holds thousands of these records.
void* AttachRecord(Chunk3ds* chunk, const RecordOps3ds& ops, const TagEntry3ds& entry) {
    const std::size_t size = RecordSize(ops, entry);
    chunk->data = std::malloc(size > 0 ? size : 1);
    if (chunk->data == nullptr) {
        PushError3ds(ERR_NO_MEM);
        return nullptr;
    }
    std::memset(chunk->data, 0, size);
    return chunk->data;
}

// A new raw record for a tag the catalogue does not know holds as many
// bytes as the chunk says it has.
void SizeUnknownRecord(const Chunk3ds& chunk, RawData3ds& raw) {
    raw.bytes = static_cast<std::uint8_t*>(std::calloc(chunk.length - 6, 1));
    if (raw.bytes == nullptr) {
        PushError3ds(ERR_NO_MEM);
        return;
    }
    raw.size = chunk.length - 6;
}

// Reads the chunk's record from its file into chunk->data; null when the
// tag has none.
void* ReadRecord(Chunk3ds* chunk, const TagEntry3ds& entry) {
    const RecordOps3ds* ops = OpsFor(*chunk, entry);
    if (ops == nullptr) {
        return nullptr;
    }
    SelectFileByIndex3ds(chunk->sourceFile);
    SeekFile3ds(static_cast<std::int64_t>(chunk->position) + 6);
    if (AttachRecord(chunk, *ops, entry) != nullptr) {
        ops->read(*chunk, chunk->data, entry);
    }
    return chunk->data;
}

// Reads the record by its tag; false, with the record dropped and nothing
// recorded, when the chunk's bytes do not fit its fields: too few for them,
// or (for a tag whose data is the whole chunk) more than they take.
bool ReadFittingRecord(Chunk3ds* chunk, const TagEntry3ds& entry) {
    if (OpsFor(*chunk, entry) == nullptr) {
        return true;
    }
    const std::int64_t end = static_cast<std::int64_t>(chunk->position) + chunk->length;
    const bool fits = ReadFitting3ds([&] { ReadRecord(chunk, entry); },
                                     [&] {
                                         const std::int64_t reached = FilePosition3ds();
                                         return reached <= end && (entry.skip != SkipRule3ds::Whole || reached == end);
                                     });
    if (!fits) {
        FreeChunkData3ds(chunk);
    }
    return fits;
}

}  // namespace

void* NewChunkData3ds(Chunk3ds* chunk) {
    if (chunk == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return nullptr;
    }
    FreeChunkData3ds(chunk);
    const TagEntry3ds& entry = LookUpTag3ds(chunk->tag);
    const RecordOps3ds* ops = OpsFor(*chunk, entry);
    if (ops == nullptr || AttachRecord(chunk, *ops, entry) == nullptr) {
        return nullptr;
    }
    if (KindOf(*chunk, entry) == RecordKind3ds::Unknown) {
        SizeUnknownRecord(*chunk, *static_cast<RawData3ds*>(chunk->data));
    }
    return chunk->data;
}

void* ReadChunkData3ds(Chunk3ds* chunk) {
    if (chunk == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return nullptr;
    }
    // A chunk made in memory has nothing to read.
    if (chunk->data != nullptr || !FileIsOpen3ds(chunk->sourceFile)) {
        return chunk->keptWhole != 0 ? nullptr : chunk->data;
    }
    const TagEntry3ds& entry = LookUpTag3ds(chunk->tag);
    if (chunk->keptWhole == 0 && !ReadFittingRecord(chunk, entry)) {
        chunk->keptWhole = 1;
    }
    if (chunk->keptWhole != 0) {
        ReadRecord(chunk, entry);
        return nullptr;
    }
    return chunk->data;
}

void WriteChunkData3ds(Chunk3ds* chunk) {
    if (chunk == nullptr || chunk->data == nullptr) {
        return;
    }
    const TagEntry3ds& entry = LookUpTag3ds(chunk->tag);
    const RecordOps3ds* ops = OpsFor(KindOf(*chunk, entry));
    if (ops == nullptr) {
        return;
    }
    SelectFileByIndex3ds(chunk->outputFile);
    ops->write(chunk->data, entry);
}

void FreeChunkData3ds(Chunk3ds* chunk) {
    if (chunk == nullptr || chunk->data == nullptr) {
        return;
    }
    if (const RecordOps3ds* ops = OpsFor(KindOf(*chunk, LookUpTag3ds(chunk->tag)))) {
        ops->release(chunk->data);
    }
    std::free(chunk->data);
    chunk->data = nullptr;
}

void CopyChunkData3ds(Chunk3ds* source, Chunk3ds* destination) {
    if (source == nullptr || destination == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    if (source->data == nullptr || destination->data != nullptr) {
        return;
    }
    const TagEntry3ds& entry = LookUpTag3ds(source->tag);
    const RecordOps3ds* ops = OpsFor(KindOf(*source, entry));
    if (ops == nullptr) {
        return;
    }
    const std::size_t size = RecordSize(*ops, entry);
    void* copy = std::malloc(size);
    if (copy == nullptr) {
        PushError3ds(ERR_NO_MEM);
        return;
    }
    std::memcpy(copy, source->data, size);
    ops->copyOwned(copy, entry);
    destination->data = copy;
}
