// Reading a file into a chunk tree: headers only, data stays in the file.
// A damaged structure (a chunk shorter than its header, a chunk reaching
// past its parent or the file, nesting beyond reason) ends the read with
// ERR_INVALID_CHUNK; the reader never moves backwards or past a parent.
// A known chunk whose data is shorter or longer than its tag's fields is no
// damage: it is kept whole, as raw bytes.
#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/database3ds.h"
#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/fitting3ds.h"
#include "toolkit3ds/primitives3ds.h"
#include "toolkit3ds/tagcatalogue3ds.h"

namespace {

constexpr std::uint32_t kHeaderSize = 6;

std::int64_t EndOf(const Chunk3ds& chunk) { return static_cast<std::int64_t>(chunk.position) + chunk.length; }

bool IsFileTop(std::uint32_t tag) {
    return tag == CHUNK_MESH_FILE || tag == CHUNK_PROJECT_FILE || tag == CHUNK_MATERIAL_LIBRARY;
}

bool IsExtraDataTag(std::uint32_t tag) { return tag >= 0x8002 && tag <= 0x800F; }

// A new node with the header at the current position read, not yet
// linked; null on failure.
Chunk3ds* ReadChildHeader() {
    Chunk3ds* node = nullptr;
    NewChunk3ds(&node);
    if (ErrorPending3ds()) {
        ReleaseChunk3ds(&node);
        return nullptr;
    }
    node->position = static_cast<std::uint32_t>(FilePosition3ds());
    node->sourceFile = CurrentFileIndex3ds();
    ReadChunkHeader3ds(&node->tag, &node->length);
    if (ErrorPending3ds()) {
        ReleaseChunk3ds(&node);
    }
    return node;
}

// Positions the file on the parent's first sub-chunk. False when the
// parent's own data does not fit its tag's fields; the parent is then kept
// whole, as raw bytes without sub-chunks, and nothing is recorded.
bool EnterParent(Chunk3ds* parent) {
    SelectFileByIndex3ds(parent->sourceFile);
    SeekFile3ds(static_cast<std::int64_t>(parent->position) + kHeaderSize);
    const bool fits = ReadFitting3ds([parent] { SkipChunkData3ds(parent); },
                                     [parent] { return FilePosition3ds() <= EndOf(*parent); });
    if (!fits) {
        parent->keptWhole = 1;
    }
    return fits && !ErrorPending3ds();
}

bool HasOwnData(const Chunk3ds& chunk) {
    const TagEntry3ds& entry = LookUpTag3ds(chunk.tag);
    return entry.skip != SkipRule3ds::Nothing || entry.kind != RecordKind3ds::None;
}

// What becomes of a child whose header was read.
enum class Verdict { Keep, Skip, EndParent, Invalid };

// Extra-data entries are read leniently: a foreign tag ends their
// container, an entry reaching past it is passed over.
Verdict Judge(const Chunk3ds& node, std::int64_t end, bool extraData) {
    if (node.length < kHeaderSize) {
        return Verdict::Invalid;
    }
    if (!extraData) {
        return EndOf(node) > end ? Verdict::Invalid : Verdict::Keep;
    }
    if (!IsExtraDataTag(node.tag)) {
        return Verdict::EndParent;
    }
    return EndOf(node) > end ? Verdict::Skip : Verdict::Keep;
}

// Bytes after a tag's fields that are no sub-chunks make its data longer
// than the fields: the chunk is kept whole. In a container they are damage.
void RefuseChildren(Chunk3ds* parent) {
    if (HasOwnData(*parent)) {
        ReleaseChunk3ds(&parent->child);
        parent->keptWhole = 1;
        return;
    }
    PushError3ds(ERR_INVALID_CHUNK);
    PushError3ds(ERR_READING_DATABASE);
}

void ReadTree(Chunk3ds* parent, int depth, bool extraData) {
    if (depth > kMaxChunkDepth3ds) {
        PushError3ds(ERR_INVALID_CHUNK);
        PushError3ds(ERR_READING_DATABASE);
        return;
    }
    if (!EnterParent(parent)) {
        if (ErrorPending3ds()) {
            PushError3ds(ERR_READING_DATABASE);
        }
        return;
    }
    const std::int64_t end = EndOf(*parent);
    // The list's end is kept at hand: appending never walks the siblings.
    Chunk3ds** tail = &parent->child;
    while (FilePosition3ds() < end) {
        if (end - FilePosition3ds() < kHeaderSize) {
            if (extraData) {
                SeekFile3ds(end);
            } else {
                RefuseChildren(parent);
            }
            return;
        }
        Chunk3ds* node = ReadChildHeader();
        if (node == nullptr) {
            PushError3ds(ERR_READING_DATABASE);
            return;
        }
        const Verdict verdict = Judge(*node, end, extraData);
        if (verdict != Verdict::Keep) {
            ReleaseChunk3ds(&node);
        }
        if (verdict == Verdict::Skip) {
            continue;
        }
        if (verdict == Verdict::EndParent) {
            SeekFile3ds(end);
            return;
        }
        if (verdict == Verdict::Invalid) {
            RefuseChildren(parent);
            return;
        }
        *tail = node;
        tail = &node->next;
        ReadTree(node, depth + 1, extraData || node->tag == CHUNK_EXTRA_DATA_ENTRY);
        if (ErrorPending3ds()) {
            PushError3ds(ERR_READING_DATABASE);
            return;
        }
        SeekFile3ds(EndOf(*node));
    }
}

// The top chunk must fit the file, as every chunk must fit its parent.
bool TopFitsFile(const File3ds* file, const Chunk3ds& top) {
    const std::int64_t size = FileSize3ds(file);
    if (top.length < kHeaderSize || top.length > size) {
        PushError3ds(ERR_INVALID_CHUNK);
        return false;
    }
    return true;
}

}  // namespace

void ReadChunkTree3ds(Chunk3ds* parent) {
    if (parent == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    ReadTree(parent, 1, parent->tag == CHUNK_EXTRA_DATA_ENTRY);
}

void ReadExtraDataTree3ds(Chunk3ds* parent) {
    if (parent == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    ReadTree(parent, 1, true);
}

void ReadDatabase3ds(File3ds* file, Database3ds* database) {
    if (file == nullptr || database == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    if ((file->mode & FILE_MODE_READ3ds) == 0) {
        return;
    }
    Chunk3ds* top = nullptr;
    NewChunk3ds(&top);
    if (ErrorPending3ds()) {
        ReleaseChunk3ds(&top);
        PushError3ds(ERR_CREATING_DATABASE);
        return;
    }
    ReplaceTopChunk3ds(database, top);
    top->sourceFile = file->index;
    SetCurrentFile3ds(file);
    SeekFile3ds(0);
    ReadChunkHeader3ds(&top->tag, &top->length);
    if (ErrorPending3ds()) {
        PushError3ds(ERR_CREATING_DATABASE);
        return;
    }
    if (!IsFileTop(top->tag)) {
        return;
    }
    if (TopFitsFile(file, *top)) {
        ReadChunkTree3ds(top);
    }
    if (!ErrorPending3ds()) {
        ResolveNodeParents3ds(database);
    }
    if (ErrorPending3ds()) {
        PushError3ds(ERR_CREATING_DATABASE);
    }
}
