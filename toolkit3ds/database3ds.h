// A 3DS file held as a chunk tree: databases, reading them lazily from a
// file, writing them back, release levels and the name indexes.
#pragma once

#include <cstdint>

#include "toolkit3ds/chunk3ds.h"
#include "toolkit3ds/file3ds.h"

struct NameEntry3ds {
    char* name;       // owned copy
    Chunk3ds* chunk;  // not owned
};

struct NameIndex3ds {
    std::uint32_t count = 0;
    NameEntry3ds* entries = nullptr;  // owned, count entries
};

struct Database3ds {
    Chunk3ds* top = nullptr;
    std::uint8_t objectsChanged = 1;
    std::uint8_t materialsChanged = 1;
    std::uint8_t thirdChanged = 1;
    NameIndex3ds* objectIndex = nullptr;    // CHUNK_OBJECT chunks by name
    NameIndex3ds* materialIndex = nullptr;  // CHUNK_MATERIAL chunks by name
    NameIndex3ds* thirdIndex = nullptr;     // not filled by any operation
};

// Named after the top chunk. The function of the same name gives a
// database's kind: `DatabaseKind3ds(db) == DatabaseKind3ds::MeshFile`.
enum class DatabaseKind3ds : int { None = 0, MeshFile = 1, ProjectFile = 2, MaterialLibrary = 3 };

// Allocates the record when *database is null, then resets its fields.
void NewDatabase3ds(Database3ds** database);
void ReleaseDatabase3ds(Database3ds** database);
DatabaseKind3ds DatabaseKind3ds(const Database3ds* database);
// Releases the old tree, if any, and marks the indexes for rebuilding.
void ReplaceTopChunk3ds(Database3ds* database, Chunk3ds* top);
// A new top chunk of the kind, with the version chunks of release level 2.
void CreateDatabase3ds(Database3ds* database, enum DatabaseKind3ds kind);

// Reads the chunk headers of a file open for reading; chunk data stays in
// the file until asked for, so the file must stay open meanwhile.
void ReadDatabase3ds(File3ds* file, Database3ds* database);
// Writes to a file open for writing, patching lengths in place.
void WriteDatabase3ds(File3ds* file, Database3ds* database);
// Version chunks for level 0 to 3 (written files use 2).
void SetReleaseLevel3ds(Database3ds* database, int level);

void MarkObjectsChanged3ds(Database3ds* database);
void MarkMaterialsChanged3ds(Database3ds* database);
void RebuildObjectIndex3ds(Database3ds* database);
void RebuildMaterialIndex3ds(Database3ds* database);
void NewNameIndex3ds(NameIndex3ds** index, std::uint32_t count);
void ReleaseNameIndex3ds(NameIndex3ds** index);

// Reading and writing of the tree, used by the two above.
void ReadChunkTree3ds(Chunk3ds* parent);
void ReadExtraDataTree3ds(Chunk3ds* parent);
void WriteChunkTree3ds(Chunk3ds* chunk, std::uint8_t outputFile);
// The keyframe-node passes: parent names after reading, parent numbers
// before writing.
void ResolveNodeParents3ds(Database3ds* database);
void AssignNodeParents3ds(Database3ds* database);

// Nesting deeper than this is taken for a damaged file.
inline constexpr int kMaxChunkDepth3ds = 64;
