// Triangle mesh records: the plain in-memory form of a named mesh object, and
// the operations that size its arrays, store it into a database as a
// CHUNK_OBJECT subtree, count the meshes of a database and fetch one back.
//
// Failures are reported through the toolkit's error list only: an operation
// that fails pushes an error code and returns at once.
//
// Ownership: the record belongs to whoever prepared it and is freed with
// DiscardMesh3ds. Every array is one heap block from std::malloc (null = the
// array is absent); a caller that installs a block by hand must allocate it
// with std::malloc too, with at least as many elements as its count says.
// Storing copies everything; fetching hands the blocks of the read chunks over
// to the record.
//
// Names: a name field holds what the file format can hold for it. Longer
// names are truncated, never refused: SetMeshName3ds and SetGroupMaterialName3ds
// cut at the field, and StoreMesh3ds and FetchMeshFromChunk3ds read a field
// only up to its limit even when it lacks a terminator.
#pragma once

#include <cstddef>
#include <cstdint>

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/error3ds.h"

struct Chunk3ds;
struct Database3ds;

// Longest names, in characters, that a mesh record stores.
constexpr size_t kObjectNameMax3ds = 10;
constexpr size_t kMeshMaterialNameMax3ds = 16;
constexpr size_t kProcedureNameMax3ds = 12;

constexpr int kObjectFlagCount3ds = 7;
// The flag chunk of each objectFlags byte, in field order.
constexpr uint32_t kObjectFlagTags3ds[kObjectFlagCount3ds] = {0x4010, 0x4011, 0x4013, 0x4012, 0x4014, 0x4017, 0x4016};
constexpr int kSideMaterialCount3ds = 6;

// Array mask bits of SizeMeshArrays3ds, DropMeshArrays3ds and the extras of
// PrepareMesh3ds.
constexpr uint16_t MESH_ARRAY_VERTICES = 1;
constexpr uint16_t MESH_ARRAY_MAP_COORDS = 2;
constexpr uint16_t MESH_ARRAY_FACES = 4;
constexpr uint16_t MESH_ARRAY_FACE_MATERIALS = 8;
constexpr uint16_t MESH_ARRAY_SMOOTHING = 16;
constexpr uint16_t MESH_ARRAY_PROCEDURE = 32;
constexpr uint16_t MESH_ARRAY_VERTEX_FLAGS = 64;
constexpr uint16_t MESH_ARRAY_ALL = 127;
constexpr int kMeshArrayKinds3ds = 7;

// The code StoreMesh3ds records when making a chunk or a data record failed.
constexpr ErrorCode3ds kMeshStoreFailed3ds = 21;

// One face-material group: the faces of a mesh that use one material.
struct FaceMaterial3ds {
    char materialName[18];
    uint16_t faceCount;
    uint16_t* faceIndices;
};

struct MeshRecord3ds {
    char name[kObjectNameMax3ds + 1];
    // Object flags in the order 0x4010, 0x4011, 0x4013, 0x4012, 0x4014,
    // 0x4017, 0x4016; each 0 or 1.
    uint8_t objectFlags[kObjectFlagCount3ds];
    uint16_t vertexCount;
    Point3ds* vertices;
    uint16_t vertexFlagCount;
    uint16_t* vertexFlags;
    uint16_t mapCoordCount;
    MapCoord3ds* mapCoords;
    uint8_t hasMappingSetup;
    uint16_t mappingType;
    float mappingValues[6];
    float mappingMatrix[12];
    float mappingExtents[3];
    // Three axis vectors, then the origin.
    float localAxes[12];
    uint16_t faceCount;
    MeshFace3ds* faces;
    uint32_t* smoothing;  // one group mask per face
    uint8_t hasSideMaterials;
    char sideMaterials[kSideMaterialCount3ds][17];
    uint8_t colourIndex;
    uint16_t faceMaterialCount;
    FaceMaterial3ds* faceMaterials;
    uint8_t hasFlag4015;
    uint32_t procedureSize;
    char procedureName[16];
    uint8_t* procedureData;

    // Bookkeeping of the operations below, not for callers: the element count
    // each block was last sized to, by mask bit order (0 = not known).
    uint32_t heldLengths[kMeshArrayKinds3ds];
};

// Allocates the record when *mesh is null, else reuses it: a reused record
// first loses every array, so nothing of its old content leaks or lingers.
// Resets all fields, sizes vertices and faces, and with the extras bits
// MESH_ARRAY_MAP_COORDS, MESH_ARRAY_VERTEX_FLAGS and MESH_ARRAY_SMOOTHING also
// those arrays, each as long as its vertex or face count.
void PrepareMesh3ds(MeshRecord3ds** mesh, uint16_t vertexCount, uint16_t faceCount, uint16_t extras);

// Frees every array and the record, and sets *mesh to null.
void DiscardMesh3ds(MeshRecord3ds** mesh);

// Brings the masked arrays to the length of their counts: a count of 0 frees
// the array; new elements get the array's neutral element.
void SizeMeshArrays3ds(MeshRecord3ds* mesh, uint16_t mask);

// Frees the masked arrays; counts stay as they are.
void DropMeshArrays3ds(MeshRecord3ds* mesh, uint16_t mask);

// Gives group faceMaterials[group] a new zeroed list of count indices; the
// group's faceCount is left to the caller.
void SizeGroupFaces3ds(MeshRecord3ds* mesh, uint16_t group, uint16_t count);

// Sets localAxes to the unit axes around the centre of the vertices'
// bounding box.
void CentreMeshAxes3ds(MeshRecord3ds* mesh);

// Copies name into the record's name field, truncated to kObjectNameMax3ds.
void SetMeshName3ds(MeshRecord3ds* mesh, const char* name);

// Copies name into a group's materialName, truncated to
// kMeshMaterialNameMax3ds.
void SetGroupMaterialName3ds(FaceMaterial3ds* group, const char* name);

// Puts the mesh into the database as a named object, replacing the content of
// an object of the same name in place (its extra data survives). Refuses with
// ERR_INVALID_DATA a record whose counts exceed the arrays it holds.
void StoreMesh3ds(Database3ds* db, const MeshRecord3ds* mesh);

// The CHUNK_OBJECT of that exact name, or null.
void LookUpObject3ds(Database3ds* db, const char* name, Chunk3ds** object);

// Number of named objects that hold a triangle mesh.
uint32_t CountMeshes3ds(Database3ds* db);

// Fills *mesh from the index-th mesh object (0-based). An index at or beyond
// the mesh count leaves the record untouched and records nothing.
void FetchMeshByIndex3ds(Database3ds* db, uint32_t index, MeshRecord3ds** mesh);

// Fills *mesh from a CHUNK_OBJECT chunk that holds a triangle mesh.
void FetchMeshFromChunk3ds(Chunk3ds* object, MeshRecord3ds** mesh);

// Number of CHUNK_FACE_MATERIAL chunks in the sibling chain from chunk on.
uint32_t CountFaceMaterialChunks3ds(Chunk3ds* chunk);
