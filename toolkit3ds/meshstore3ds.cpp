// Storing mesh records as named objects, and finding objects by name.
#include "toolkit3ds/chunkdata3ds.h"
#include "toolkit3ds/database3ds.h"
#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/mesh3ds.h"
#include "toolkit3ds/meshshared3ds.h"
#include "toolkit3ds/recordchunks3ds.h"
#include "toolkit3ds/recordnames3ds.h"

namespace {

constexpr uint16_t kCountedArrays[] = {MESH_ARRAY_VERTICES,  MESH_ARRAY_MAP_COORDS, MESH_ARRAY_FACES,
                                       MESH_ARRAY_SMOOTHING, MESH_ARRAY_PROCEDURE,  MESH_ARRAY_VERTEX_FLAGS};

// Storing copies count elements from each block; a count that runs ahead of
// its block would read beyond it.
bool ArraysHoldTheirCounts(const MeshRecord3ds& mesh) {
    for (uint16_t bit : kCountedArrays) {
        uint32_t length = MeshArrayLength3ds(&mesh, bit);
        if (length != 0 && length < MeshArrayCount3ds(&mesh, bit)) return false;
    }
    if (mesh.faceMaterials == nullptr) return true;
    if (MeshArrayLength3ds(&mesh, MESH_ARRAY_FACE_MATERIALS) < mesh.faceMaterialCount) return false;
    for (uint32_t i = 0; i < mesh.faceMaterialCount; ++i) {
        const FaceMaterial3ds& group = mesh.faceMaterials[i];
        if (group.faceCount > 0 && group.faceIndices == nullptr) return false;
    }
    return true;
}

Chunk3ds* AddMeshChunk(Chunk3ds* parent, uint32_t tag) { return AddChildChunk3ds(parent, tag, kMeshStoreFailed3ds); }

template <typename Record>
Record* AddMeshRecord(Chunk3ds* parent, uint32_t tag, Chunk3ds** added = nullptr) {
    return AddChildRecord3ds<Record>(parent, tag, added, kMeshStoreFailed3ds);
}

// A counted-list chunk holding a copy of count items; the count is set only
// once the copy exists, so a failed copy leaves a consistent empty record.
template <typename Record, typename T>
bool AddCountedList(Chunk3ds* parent, uint32_t tag, uint16_t count, const T* items, T* Record::*array,
                    Chunk3ds** added = nullptr) {
    Record* record = AddMeshRecord<Record>(parent, tag, added);
    if (record == nullptr || !CopyBlock3ds(items, count, &(record->*array))) return false;
    record->count = count;
    return true;
}

bool AddMappingSetup(Chunk3ds* body, const MeshRecord3ds& mesh) {
    auto* setup = AddMeshRecord<MappingSetupData3ds>(body, CHUNK_MAPPING_SETUP);
    if (setup == nullptr) return false;
    setup->type = mesh.mappingType;
    std::memcpy(setup->values, mesh.mappingValues, sizeof setup->values);
    std::memcpy(setup->matrix, mesh.mappingMatrix, sizeof setup->matrix);
    std::memcpy(setup->extents, mesh.mappingExtents, sizeof setup->extents);
    return true;
}

bool AddVertexData(Chunk3ds* body, const MeshRecord3ds& mesh) {
    if (mesh.vertexCount > 0 && mesh.vertices != nullptr &&
        !AddCountedList(body, CHUNK_VERTEX_LIST, mesh.vertexCount, mesh.vertices, &VertexListData3ds::vertices)) {
        return false;
    }
    if (mesh.mapCoordCount > 0 && mesh.mapCoords != nullptr &&
        !AddCountedList(body, CHUNK_MAP_COORDS, mesh.mapCoordCount, mesh.mapCoords, &MapCoordsData3ds::coords)) {
        return false;
    }
    if (mesh.hasMappingSetup && !AddMappingSetup(body, mesh)) return false;
    if (mesh.vertexFlagCount > 0 && mesh.vertexFlags != nullptr &&
        !AddCountedList(body, CHUNK_VERTEX_FLAGS, mesh.vertexFlagCount, mesh.vertexFlags, &VertexFlagsData3ds::flags)) {
        return false;
    }
    auto* axes = AddMeshRecord<Floats12Data3ds>(body, CHUNK_LOCAL_AXES);
    if (axes == nullptr) return false;
    std::memcpy(axes->value, mesh.localAxes, sizeof axes->value);
    auto* colour = AddMeshRecord<ByteData3ds>(body, CHUNK_COLOUR_INDEX);
    if (colour == nullptr) return false;
    colour->value = mesh.colourIndex;
    return true;
}

bool AddGroup(Chunk3ds* faceList, const FaceMaterial3ds& group) {
    auto* record = AddMeshRecord<FaceMaterialData3ds>(faceList, CHUNK_FACE_MATERIAL);
    if (record == nullptr) return false;
    record->name = DuplicateBoundedName3ds(group.materialName, kMeshMaterialNameMax3ds);
    if (record->name == nullptr || !CopyBlock3ds(group.faceIndices, group.faceCount, &record->faces)) {
        return false;
    }
    record->count = group.faceCount;
    return true;
}

bool AddSideMaterials(Chunk3ds* faceList, const MeshRecord3ds& mesh) {
    auto* record = AddMeshRecord<SideMaterialsData3ds>(faceList, CHUNK_SIDE_MATERIALS);
    if (record == nullptr) return false;
    for (int i = 0; i < kSideMaterialCount3ds; ++i) {
        record->names[i] = DuplicateBoundedName3ds(mesh.sideMaterials[i], kMeshMaterialNameMax3ds);
        if (record->names[i] == nullptr) return false;
    }
    return true;
}

bool AddFaceData(Chunk3ds* body, const MeshRecord3ds& mesh) {
    if (mesh.faceCount == 0 || mesh.faces == nullptr) return true;
    Chunk3ds* faceList = nullptr;
    if (!AddCountedList(body, CHUNK_FACE_LIST, mesh.faceCount, mesh.faces, &FaceListData3ds::faces, &faceList)) {
        return false;
    }
    if (mesh.faceMaterials != nullptr) {
        for (uint32_t i = 0; i < mesh.faceMaterialCount; ++i) {
            if (!AddGroup(faceList, mesh.faceMaterials[i])) return false;
        }
    }
    if (mesh.smoothing != nullptr &&
        !AddCountedList(faceList, CHUNK_FACE_SMOOTHING, mesh.faceCount, mesh.smoothing, &SmoothingData3ds::groups)) {
        return false;
    }
    return !mesh.hasSideMaterials || AddSideMaterials(faceList, mesh);
}

bool AddProcedure(Chunk3ds* body, const MeshRecord3ds& mesh) {
    if (mesh.procedureData == nullptr) return true;
    if (!AddNameChunk3ds(body, CHUNK_PROCEDURE_NAME, mesh.procedureName, kProcedureNameMax3ds, kMeshStoreFailed3ds)) {
        return false;
    }
    auto* record = AddMeshRecord<RawData3ds>(body, CHUNK_PROCEDURE_DATA);
    if (record == nullptr || !CopyBlock3ds(mesh.procedureData, mesh.procedureSize, &record->bytes)) {
        return false;
    }
    record->size = mesh.procedureSize;
    return true;
}

bool AddObjectFlags(Chunk3ds* object, const MeshRecord3ds& mesh) {
    for (int i = 0; i < kObjectFlagCount3ds; ++i) {
        if (mesh.objectFlags[i] != 0 && AddMeshChunk(object, kObjectFlagTags3ds[i]) == nullptr) {
            return false;
        }
    }
    if (mesh.hasFlag4015 == 1 && mesh.procedureData != nullptr) {
        return AddMeshChunk(object, CHUNK_OBJECT_FLAG_4015) != nullptr;
    }
    return true;
}

// The object chunk for the name: the existing one emptied in place, or a new
// one under the scene.
Chunk3ds* ObjectChunkFor(Database3ds* db, const char* name, OwnedChunk3ds* keptExtra) {
    Chunk3ds* object = nullptr;
    LookUpObject3ds(db, name, &object);
    if (ErrorPending3ds()) return nullptr;
    if (object == nullptr) {
        Chunk3ds* scene = FindOrAddScene3ds(db->top, kMeshStoreFailed3ds);
        return scene != nullptr ? AddMeshChunk(scene, CHUNK_OBJECT) : nullptr;
    }
    if (!KeepExtraData3ds(object, keptExtra, kMeshStoreFailed3ds)) return nullptr;
    ResetChunk3ds(object);
    object->tag = CHUNK_OBJECT;
    return object;
}

bool NameObject(Database3ds* db, Chunk3ds* object, const char* name) {
    auto* record = static_cast<StringData3ds*>(NewChunkData3ds(object));
    if (record == nullptr) {
        PushError3ds(kMeshStoreFailed3ds);
        return false;
    }
    record->text = DuplicateBoundedName3ds(name, kObjectNameMax3ds);
    if (record->text == nullptr) return false;
    MarkObjectsChanged3ds(db);
    return !ErrorPending3ds();
}

}  // namespace

bool IsMeshDatabase3ds(const Database3ds* db) { return HasTopChunkOf3ds(db, {CHUNK_MESH_FILE, CHUNK_PROJECT_FILE}); }

void StoreMesh3ds(Database3ds* db, const MeshRecord3ds* mesh) {
    if (db == nullptr || mesh == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    if (!IsMeshDatabase3ds(db)) return;
    if (!ArraysHoldTheirCounts(*mesh)) {
        PushError3ds(ERR_INVALID_DATA);
        return;
    }
    char name[kObjectNameMax3ds + 1];
    CopyBoundedName3ds(name, mesh->name, kObjectNameMax3ds);
    OwnedChunk3ds keptExtra;
    Chunk3ds* object = ObjectChunkFor(db, name, &keptExtra);
    if (object == nullptr || !NameObject(db, object, name)) return;
    Chunk3ds* body = AddMeshChunk(object, CHUNK_TRIANGLE_MESH);
    if (body == nullptr || !AddVertexData(body, *mesh) || !AddFaceData(body, *mesh) || !AddProcedure(body, *mesh) ||
        !AddObjectFlags(object, *mesh)) {
        return;
    }
    if (keptExtra) InsertChild3ds(body, keptExtra.release());
}

void LookUpObject3ds(Database3ds* db, const char* name, Chunk3ds** object) {
    if (db == nullptr || name == nullptr || object == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    *object = nullptr;
    RebuildObjectIndex3ds(db);
    if (ErrorPending3ds()) return;
    *object = FindNamedChunk3ds(db->objectIndex, name);
}
