// Preparing, sizing, dropping and centring mesh records.
#include <cstdlib>
#include <cstring>

#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/mesh3ds.h"
#include "toolkit3ds/meshshared3ds.h"
#include "toolkit3ds/recordnames3ds.h"

namespace {

constexpr float kDefaultMappingValues[6] = {1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
constexpr float kDefaultMappingExtents[3] = {1.0f, 1.0f, 1.0f};

int KindOf(uint16_t bit) {
    int kind = 0;
    while ((1u << kind) != bit) ++kind;
    return kind;
}

// Resizes one block to count elements; elements beyond the old length get
// fresh. Returns false (and leaves the block as it was) when memory runs out.
template <typename T>
bool ResizeBlock(T*& block, uint32_t oldLength, uint32_t count, const T& fresh) {
    void* grown = std::realloc(block, size_t(count) * sizeof(T));
    if (grown == nullptr) return false;
    block = static_cast<T*>(grown);
    for (uint32_t i = oldLength; i < count; ++i) block[i] = fresh;
    return true;
}

template <typename T>
void FreeBlock(T*& block) {
    std::free(block);
    block = nullptr;
}

void DropGroups(MeshRecord3ds* mesh, uint32_t from, uint32_t to) {
    for (uint32_t i = from; i < to; ++i) FreeBlock(mesh->faceMaterials[i].faceIndices);
}

const void* BlockOf(const MeshRecord3ds* mesh, uint16_t bit) {
    switch (bit) {
        case MESH_ARRAY_VERTICES: return mesh->vertices;
        case MESH_ARRAY_MAP_COORDS: return mesh->mapCoords;
        case MESH_ARRAY_FACES: return mesh->faces;
        case MESH_ARRAY_FACE_MATERIALS: return mesh->faceMaterials;
        case MESH_ARRAY_SMOOTHING: return mesh->smoothing;
        case MESH_ARRAY_PROCEDURE: return mesh->procedureData;
        default: return mesh->vertexFlags;
    }
}

void DropOne(MeshRecord3ds* mesh, uint16_t bit) {
    switch (bit) {
        case MESH_ARRAY_VERTICES: FreeBlock(mesh->vertices); break;
        case MESH_ARRAY_MAP_COORDS: FreeBlock(mesh->mapCoords); break;
        case MESH_ARRAY_FACES: FreeBlock(mesh->faces); break;
        case MESH_ARRAY_FACE_MATERIALS:
            DropGroups(mesh, 0, MeshArrayLength3ds(mesh, bit));
            FreeBlock(mesh->faceMaterials);
            break;
        case MESH_ARRAY_SMOOTHING: FreeBlock(mesh->smoothing); break;
        case MESH_ARRAY_PROCEDURE: FreeBlock(mesh->procedureData); break;
        default: FreeBlock(mesh->vertexFlags); break;
    }
    SetMeshArrayLength3ds(mesh, bit, 0);
}

bool ResizeOne(MeshRecord3ds* mesh, uint16_t bit, uint32_t oldLength, uint32_t count) {
    switch (bit) {
        case MESH_ARRAY_VERTICES: return ResizeBlock(mesh->vertices, oldLength, count, Point3ds{0, 0, 0});
        case MESH_ARRAY_MAP_COORDS: return ResizeBlock(mesh->mapCoords, oldLength, count, MapCoord3ds{0, 0});
        case MESH_ARRAY_FACES: return ResizeBlock(mesh->faces, oldLength, count, MeshFace3ds{0, 1, 2, 0});
        case MESH_ARRAY_FACE_MATERIALS:
            // Groups cut off must not take their index lists with them.
            if (count < oldLength) DropGroups(mesh, count, oldLength);
            return ResizeBlock(mesh->faceMaterials, oldLength, count, FaceMaterial3ds{});
        case MESH_ARRAY_SMOOTHING: return ResizeBlock(mesh->smoothing, oldLength, count, uint32_t{0});
        case MESH_ARRAY_PROCEDURE: return ResizeBlock(mesh->procedureData, oldLength, count, uint8_t{0});
        default: return ResizeBlock(mesh->vertexFlags, oldLength, count, uint16_t{0});
    }
}

void SizeOne(MeshRecord3ds* mesh, uint16_t bit) {
    uint32_t count = MeshArrayCount3ds(mesh, bit);
    if (count == 0) {
        DropOne(mesh, bit);
        return;
    }
    uint32_t oldLength = MeshArrayLength3ds(mesh, bit);
    if (!ResizeOne(mesh, bit, oldLength, count)) {
        PushError3ds(ERR_NO_MEM);
        return;
    }
    SetMeshArrayLength3ds(mesh, bit, count);
}

void ResetFields(MeshRecord3ds* mesh, uint16_t vertexCount, uint16_t faceCount) {
    mesh->name[0] = '\0';
    std::memset(mesh->objectFlags, 0, sizeof mesh->objectFlags);
    mesh->vertexCount = vertexCount;
    mesh->vertexFlagCount = 0;
    mesh->mapCoordCount = 0;
    mesh->hasMappingSetup = 0;
    mesh->mappingType = 0;
    std::memcpy(mesh->mappingValues, kDefaultMappingValues, sizeof mesh->mappingValues);
    std::memset(mesh->mappingMatrix, 0, sizeof mesh->mappingMatrix);
    mesh->mappingMatrix[1] = 1.0f;
    mesh->mappingMatrix[5] = 1.0f;
    std::memcpy(mesh->mappingExtents, kDefaultMappingExtents, sizeof mesh->mappingExtents);
    std::memset(mesh->localAxes, 0, sizeof mesh->localAxes);
    mesh->faceCount = faceCount;
    mesh->hasSideMaterials = 0;
    std::memset(mesh->sideMaterials, 0, sizeof mesh->sideMaterials);
    mesh->colourIndex = 0;
    mesh->faceMaterialCount = 0;
    mesh->hasFlag4015 = 0;
    mesh->procedureSize = 0;
    mesh->procedureName[0] = '\0';
}

}  // namespace

uint32_t MeshArrayCount3ds(const MeshRecord3ds* mesh, uint16_t bit) {
    switch (bit) {
        case MESH_ARRAY_VERTICES: return mesh->vertexCount;
        case MESH_ARRAY_MAP_COORDS: return mesh->mapCoordCount;
        case MESH_ARRAY_FACES: return mesh->faceCount;
        case MESH_ARRAY_FACE_MATERIALS: return mesh->faceMaterialCount;
        case MESH_ARRAY_SMOOTHING: return mesh->faceCount;
        case MESH_ARRAY_PROCEDURE: return mesh->procedureSize;
        default: return mesh->vertexFlagCount;
    }
}

uint32_t MeshArrayLength3ds(const MeshRecord3ds* mesh, uint16_t bit) {
    if (BlockOf(mesh, bit) == nullptr) return 0;
    uint32_t held = mesh->heldLengths[KindOf(bit)];
    return held != 0 ? held : MeshArrayCount3ds(mesh, bit);
}

void SetMeshArrayLength3ds(MeshRecord3ds* mesh, uint16_t bit, uint32_t length) {
    mesh->heldLengths[KindOf(bit)] = length;
}

void SizeMeshArrays3ds(MeshRecord3ds* mesh, uint16_t mask) {
    if (mesh == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    for (uint16_t bit = 1; bit <= MESH_ARRAY_VERTEX_FLAGS; bit <<= 1) {
        if ((mask & bit) == 0) continue;
        SizeOne(mesh, bit);
        if (ErrorPending3ds()) return;
    }
}

void DropMeshArrays3ds(MeshRecord3ds* mesh, uint16_t mask) {
    if (mesh == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    for (uint16_t bit = 1; bit <= MESH_ARRAY_VERTEX_FLAGS; bit <<= 1) {
        if ((mask & bit) != 0) DropOne(mesh, bit);
    }
}

void PrepareMesh3ds(MeshRecord3ds** mesh, uint16_t vertexCount, uint16_t faceCount, uint16_t extras) {
    bool reused = false;
    MeshRecord3ds* m = ObtainRecord3ds(mesh, &reused);
    if (m == nullptr) return;
    if (reused) DropMeshArrays3ds(m, MESH_ARRAY_ALL);
    ResetFields(m, vertexCount, faceCount);
    SizeMeshArrays3ds(m, MESH_ARRAY_VERTICES | MESH_ARRAY_FACES);
    if (ErrorPending3ds()) return;
    if ((extras & MESH_ARRAY_MAP_COORDS) != 0) {
        m->mapCoordCount = vertexCount;
        SizeMeshArrays3ds(m, MESH_ARRAY_MAP_COORDS);
        if (ErrorPending3ds()) return;
    }
    if ((extras & MESH_ARRAY_VERTEX_FLAGS) != 0) {
        m->vertexFlagCount = vertexCount;
        SizeMeshArrays3ds(m, MESH_ARRAY_VERTEX_FLAGS);
        if (ErrorPending3ds()) return;
    }
    if ((extras & MESH_ARRAY_SMOOTHING) != 0) SizeMeshArrays3ds(m, MESH_ARRAY_SMOOTHING);
}

void DiscardMesh3ds(MeshRecord3ds** mesh) {
    if (mesh == nullptr || *mesh == nullptr) return;
    DropMeshArrays3ds(*mesh, MESH_ARRAY_ALL);
    std::free(*mesh);
    *mesh = nullptr;
}

void SizeGroupFaces3ds(MeshRecord3ds* mesh, uint16_t group, uint16_t count) {
    if (mesh == nullptr || count == 0) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    uint32_t groups = MeshArrayLength3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    if (mesh->faceCount == 0 || group >= mesh->faceMaterialCount || group >= groups) {
        PushError3ds(ERR_INVALID_DATA);
        return;
    }
    FaceMaterial3ds& target = mesh->faceMaterials[group];
    FreeBlock(target.faceIndices);
    target.faceIndices = static_cast<uint16_t*>(std::calloc(count, sizeof(uint16_t)));
    if (target.faceIndices == nullptr) PushError3ds(ERR_NO_MEM);
}

void CentreMeshAxes3ds(MeshRecord3ds* mesh) {
    if (mesh == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    if (mesh->vertexCount == 0 || mesh->vertices == nullptr) {
        PushError3ds(ERR_INVALID_DATA);
        return;
    }
    Point3ds low = mesh->vertices[0];
    Point3ds high = low;
    for (uint32_t i = 1; i < mesh->vertexCount; ++i) {
        const Point3ds& p = mesh->vertices[i];
        float Point3ds::*axes[3] = {&Point3ds::x, &Point3ds::y, &Point3ds::z};
        for (auto axis : axes) {
            if (p.*axis < low.*axis) low.*axis = p.*axis;
            if (p.*axis > high.*axis) high.*axis = p.*axis;
        }
    }
    const float unitAxes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    std::memcpy(mesh->localAxes, unitAxes, sizeof unitAxes);
    mesh->localAxes[9] = (low.x + high.x) * 0.5f;
    mesh->localAxes[10] = (low.y + high.y) * 0.5f;
    mesh->localAxes[11] = (low.z + high.z) * 0.5f;
}

void SetMeshName3ds(MeshRecord3ds* mesh, const char* name) {
    SetNameField3ds(mesh != nullptr ? mesh->name : nullptr, name, kObjectNameMax3ds);
}

void SetGroupMaterialName3ds(FaceMaterial3ds* group, const char* name) {
    SetNameField3ds(group != nullptr ? group->materialName : nullptr, name, kMeshMaterialNameMax3ds);
}
