// Counting the mesh objects of a database and fetching them into records.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/database3ds.h"
#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/mesh3ds.h"
#include "toolkit3ds/meshshared3ds.h"
#include "toolkit3ds/recordchunks3ds.h"
#include "toolkit3ds/recordnames3ds.h"

namespace {

bool HoldsMesh(Chunk3ds* object) {
    Chunk3ds* body = nullptr;
    FindChunk3ds(object, CHUNK_TRIANGLE_MESH, &body);
    return body != nullptr;
}

// The record gets the chunk record's block; the chunk record forgets it, so
// that releasing the chunk leaves the block alone.
template <typename T>
void TakeOver(T*& target, T*& source) {
    std::free(target);
    target = source;
    source = nullptr;
}

template <typename T>
void TakeList(MeshRecord3ds* mesh, uint16_t bit, uint16_t& count, T*& target, uint16_t sourceCount, T*& source) {
    count = sourceCount;
    TakeOver(target, source);
    SetMeshArrayLength3ds(mesh, bit, sourceCount);
}

void TakeGroups(MeshRecord3ds* mesh, Chunk3ds* firstChild) {
    DropMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    uint32_t count = std::min<uint32_t>(CountFaceMaterialChunks3ds(firstChild), UINT16_MAX);
    mesh->faceMaterialCount = static_cast<uint16_t>(count);
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    if (ErrorPending3ds()) return;
    Chunk3ds* chunk = nullptr;
    FindNextChunk3ds(firstChild, CHUNK_FACE_MATERIAL, &chunk);
    for (uint32_t i = 0; i < count && chunk != nullptr; ++i) {
        auto* record = static_cast<FaceMaterialData3ds*>(ReadChunkData3ds(chunk));
        if (ErrorPending3ds()) return;
        if (record != nullptr) {
            FaceMaterial3ds& group = mesh->faceMaterials[i];
            if (record->name != nullptr) {
                CopyBoundedName3ds(group.materialName, record->name, kMeshMaterialNameMax3ds);
            }
            group.faceCount = record->count;
            TakeOver(group.faceIndices, record->faces);
        }
        FindNextChunk3ds(chunk->next, CHUNK_FACE_MATERIAL, &chunk);
    }
}

// Every face gets a mask: a chunk with fewer masks than faces is padded with
// zero masks rather than leaving the array shorter than its count.
void TakeSmoothing(MeshRecord3ds* mesh, SmoothingData3ds* record) {
    if (record->count >= mesh->faceCount) {
        TakeOver(mesh->smoothing, record->groups);
        SetMeshArrayLength3ds(mesh, MESH_ARRAY_SMOOTHING, record->count);
        return;
    }
    auto* padded = static_cast<uint32_t*>(std::calloc(mesh->faceCount, sizeof(uint32_t)));
    if (padded == nullptr) {
        PushError3ds(ERR_NO_MEM);
        return;
    }
    if (record->count > 0) std::memcpy(padded, record->groups, record->count * sizeof(uint32_t));
    std::free(mesh->smoothing);
    mesh->smoothing = padded;
    SetMeshArrayLength3ds(mesh, MESH_ARRAY_SMOOTHING, mesh->faceCount);
}

void TakeSideMaterials(MeshRecord3ds* mesh, const SideMaterialsData3ds* record) {
    for (int i = 0; i < kSideMaterialCount3ds; ++i) {
        const char* name = record->names[i] != nullptr ? record->names[i] : "";
        CopyBoundedName3ds(mesh->sideMaterials[i], name, kMeshMaterialNameMax3ds);
    }
    mesh->hasSideMaterials = 1;
}

// A child of the face list, read, or null when there is none.
void* FaceListPart(Chunk3ds* faceList, uint32_t tag) {
    Chunk3ds* chunk = nullptr;
    FindNextChunk3ds(faceList->child, tag, &chunk);
    return chunk != nullptr ? ReadChunkData3ds(chunk) : nullptr;
}

void TakeFaceList(MeshRecord3ds* mesh, Chunk3ds* faceList, FaceListData3ds* record) {
    TakeList(mesh, MESH_ARRAY_FACES, mesh->faceCount, mesh->faces, record->count, record->faces);
    TakeGroups(mesh, faceList->child);
    if (ErrorPending3ds()) return;
    auto* smoothing = static_cast<SmoothingData3ds*>(FaceListPart(faceList, CHUNK_FACE_SMOOTHING));
    if (ErrorPending3ds()) return;
    if (smoothing != nullptr) TakeSmoothing(mesh, smoothing);
    if (ErrorPending3ds()) return;
    auto* sides = static_cast<SideMaterialsData3ds*>(FaceListPart(faceList, CHUNK_SIDE_MATERIALS));
    if (sides != nullptr && !ErrorPending3ds()) TakeSideMaterials(mesh, sides);
}

void TakeMappingSetup(MeshRecord3ds* mesh, const MappingSetupData3ds* setup) {
    mesh->hasMappingSetup = 1;
    mesh->mappingType = setup->type;
    std::memcpy(mesh->mappingValues, setup->values, sizeof mesh->mappingValues);
    std::memcpy(mesh->mappingMatrix, setup->matrix, sizeof mesh->mappingMatrix);
    std::memcpy(mesh->mappingExtents, setup->extents, sizeof mesh->mappingExtents);
}

bool IsMeshPart(uint32_t tag) {
    switch (tag) {
        case CHUNK_VERTEX_LIST:
        case CHUNK_VERTEX_FLAGS:
        case CHUNK_MAP_COORDS:
        case CHUNK_FACE_LIST:
        case CHUNK_LOCAL_AXES:
        case CHUNK_COLOUR_INDEX:
        case CHUNK_MAPPING_SETUP:
        case CHUNK_PROCEDURE_NAME:
        case CHUNK_PROCEDURE_DATA: return true;
        default: return false;
    }
}

void TakeMeshPart(MeshRecord3ds* mesh, Chunk3ds* chunk, void* data) {
    switch (chunk->tag) {
        case CHUNK_VERTEX_LIST: {
            auto* r = static_cast<VertexListData3ds*>(data);
            TakeList(mesh, MESH_ARRAY_VERTICES, mesh->vertexCount, mesh->vertices, r->count, r->vertices);
            break;
        }
        case CHUNK_VERTEX_FLAGS: {
            auto* r = static_cast<VertexFlagsData3ds*>(data);
            TakeList(mesh, MESH_ARRAY_VERTEX_FLAGS, mesh->vertexFlagCount, mesh->vertexFlags, r->count, r->flags);
            break;
        }
        case CHUNK_MAP_COORDS: {
            auto* r = static_cast<MapCoordsData3ds*>(data);
            TakeList(mesh, MESH_ARRAY_MAP_COORDS, mesh->mapCoordCount, mesh->mapCoords, r->count, r->coords);
            break;
        }
        case CHUNK_FACE_LIST: TakeFaceList(mesh, chunk, static_cast<FaceListData3ds*>(data)); break;
        case CHUNK_LOCAL_AXES:
            std::memcpy(mesh->localAxes, static_cast<Floats12Data3ds*>(data)->value, sizeof mesh->localAxes);
            break;
        case CHUNK_COLOUR_INDEX: mesh->colourIndex = static_cast<ByteData3ds*>(data)->value; break;
        case CHUNK_MAPPING_SETUP: TakeMappingSetup(mesh, static_cast<MappingSetupData3ds*>(data)); break;
        case CHUNK_PROCEDURE_NAME: {
            const char* text = static_cast<StringData3ds*>(data)->text;
            CopyBoundedName3ds(mesh->procedureName, text != nullptr ? text : "", kProcedureNameMax3ds);
            break;
        }
        default: {
            auto* r = static_cast<RawData3ds*>(data);
            mesh->procedureSize = r->size;
            TakeOver(mesh->procedureData, r->bytes);
            SetMeshArrayLength3ds(mesh, MESH_ARRAY_PROCEDURE, r->size);
            break;
        }
    }
}

void TakeObjectFlags(MeshRecord3ds* mesh, Chunk3ds* object) {
    Chunk3ds* flag = nullptr;
    for (int i = 0; i < kObjectFlagCount3ds; ++i) {
        FindNextChunk3ds(object->child, kObjectFlagTags3ds[i], &flag);
        mesh->objectFlags[i] = flag != nullptr ? 1 : 0;
    }
    FindNextChunk3ds(object->child, CHUNK_OBJECT_FLAG_4015, &flag);
    mesh->hasFlag4015 = flag != nullptr ? 1 : 0;
}

// Fills a freshly prepared record from a copy of an object chunk.
void FillFromObject(MeshRecord3ds* mesh, Chunk3ds* object) {
    auto* name = static_cast<StringData3ds*>(ReadChunkData3ds(object));
    if (ErrorPending3ds()) return;
    if (name != nullptr && name->text != nullptr) {
        CopyBoundedName3ds(mesh->name, name->text, kObjectNameMax3ds);
    }
    Chunk3ds* body = nullptr;
    FindNextChunk3ds(object->child, CHUNK_TRIANGLE_MESH, &body);
    for (Chunk3ds* chunk = body->child; chunk != nullptr; chunk = chunk->next) {
        if (!IsMeshPart(chunk->tag)) continue;
        void* data = ReadChunkData3ds(chunk);
        if (ErrorPending3ds()) return;
        if (data != nullptr) TakeMeshPart(mesh, chunk, data);
        if (ErrorPending3ds()) return;
    }
    TakeObjectFlags(mesh, object);
}

}  // namespace

uint32_t CountMeshes3ds(Database3ds* db) {
    RebuildObjectIndex3ds(db);
    if (ErrorPending3ds() || db->objectIndex == nullptr) return 0;
    uint32_t meshes = 0;
    for (uint32_t i = 0; i < db->objectIndex->count; ++i) {
        if (HoldsMesh(db->objectIndex->entries[i].chunk)) ++meshes;
    }
    return meshes;
}

void FetchMeshByIndex3ds(Database3ds* db, uint32_t index, MeshRecord3ds** mesh) {
    if (db == nullptr || mesh == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    if (!IsMeshDatabase3ds(db)) return;
    RebuildObjectIndex3ds(db);
    if (ErrorPending3ds() || db->objectIndex == nullptr) return;
    uint32_t meshes = 0;
    for (uint32_t i = 0; i < db->objectIndex->count; ++i) {
        Chunk3ds* object = db->objectIndex->entries[i].chunk;
        if (!HoldsMesh(object)) continue;
        if (meshes++ == index) {
            FetchMeshFromChunk3ds(object, mesh);
            return;
        }
    }
}

void FetchMeshFromChunk3ds(Chunk3ds* object, MeshRecord3ds** mesh) {
    if (object == nullptr || mesh == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    Chunk3ds* body = nullptr;
    FindNextChunk3ds(object->child, CHUNK_TRIANGLE_MESH, &body);
    if (body == nullptr) {
        PushError3ds(ERR_WRONG_OBJECT);
        return;
    }
    PrepareMesh3ds(mesh, 0, 0, 0);
    if (ErrorPending3ds()) return;
    Chunk3ds* copy = nullptr;
    CopyChunk3ds(object, &copy);
    OwnedChunk3ds owned(copy);
    if (ErrorPending3ds()) return;
    FillFromObject(*mesh, copy);
}

uint32_t CountFaceMaterialChunks3ds(Chunk3ds* chunk) {
    uint32_t count = 0;
    Chunk3ds* found = nullptr;
    FindNextChunk3ds(chunk, CHUNK_FACE_MATERIAL, &found);
    while (found != nullptr) {
        ++count;
        FindNextChunk3ds(found->next, CHUNK_FACE_MATERIAL, &found);
    }
    return count;
}
