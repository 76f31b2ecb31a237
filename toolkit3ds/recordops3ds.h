// How each kind of data record is read, written, released and copied. The
// per-tag routines pick the operations by the tag's record kind.
#pragma once

#include <cstddef>
#include <cstdint>

#include "toolkit3ds/chunk3ds.h"
#include "toolkit3ds/tagcatalogue3ds.h"

struct RecordOps3ds {
    std::size_t recordSize;  // 0: the size comes from the tag's fixed layout
    // Fills a zeroed record from the current file, positioned at the data.
    void (*read)(const Chunk3ds& chunk, void* record, const TagEntry3ds& entry);
    void (*write)(const void* record, const TagEntry3ds& entry);
    // Frees the blocks the record owns (not the record).
    void (*release)(void* record);
    // Turns a byte copy of a record into an owner of its own blocks.
    void (*copyOwned)(void* record, const TagEntry3ds& entry);
};

extern const RecordOps3ds kFixedRecordOps3ds;
extern const RecordOps3ds kStringRecordOps3ds;
extern const RecordOps3ds kExtraTextRecordOps3ds;
extern const RecordOps3ds kKeyframeHeaderRecordOps3ds;
extern const RecordOps3ds kNodeHeaderRecordOps3ds;
extern const RecordOps3ds kSideMaterialsRecordOps3ds;
extern const RecordOps3ds kLayoutViewRecordOps3ds;
extern const RecordOps3ds kVertexListRecordOps3ds;
extern const RecordOps3ds kVertexFlagsRecordOps3ds;
extern const RecordOps3ds kFaceListRecordOps3ds;
extern const RecordOps3ds kFaceMaterialRecordOps3ds;
extern const RecordOps3ds kMapCoordsRecordOps3ds;
extern const RecordOps3ds kSmoothingRecordOps3ds;
extern const RecordOps3ds kRawRecordOps3ds;
extern const RecordOps3ds kKeyTrackRecordOps3ds;

// Plain values of a record, in file order.
void ReadFields3ds(const FixedLayout3ds& layout, void* record);
void WriteFields3ds(const FixedLayout3ds& layout, const void* record);

// Bytes of the chunk from the current file position to the chunk's end,
// or to the file's end when the chunk claims more than the file has.
std::int64_t ChunkBytesLeft3ds(const Chunk3ds& chunk);
// A name or text that ends with its zero anywhere before the chunk's end;
// names are never cut on reading, so that they are written back whole.
void ReadChunkText3ds(const Chunk3ds& chunk, char** out);
// False, with ERR_INVALID_CHUNK, when the chunk has fewer bytes left.
bool ChunkHolds3ds(const Chunk3ds& chunk, std::uint64_t bytes);
// A copy of a block, or null (ERR_NO_MEM when the block was not null).
void* CopyBlock3ds(const void* block, std::size_t size);
// Replaces a shared string by a copy of its own.
void OwnString3ds(char*& text);
