#include "meshdatabase.h"

#include <cmath>
#include <cstdio>

#include "modelconversion.h"
#include "toolkit3ds.h"

namespace {

std::string MaterialName(size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "MAT%zu", index);
    return name;
}

void FillTextureMap(MapRecord3ds& map, const std::string& fileName) {
    PrepareMap3ds(&map);
    SetMapFileName3ds(&map, fileName.c_str());
    map.strength = 1.0f;
    map.tiling = 2;
    map.option100 = 0;
    map.option20 = 0;
    map.option02 = 0;
    map.option08 = 0;
    map.blur = 0;
    map.uScale = 1.0f;
    map.vScale = 1.0f;
    map.uOffset = 0;
    map.vOffset = 0;
    map.rotation = 0;
    map.tintMode = 0;
    map.dataSize = 0;
    map.data = nullptr;
}

void StoreSceneSettings(Database3ds* database) {
    SceneSettings3ds* settings = nullptr;
    PrepareSceneSettings3ds(&settings);
    if (ErrorPending3ds()) return;
    for (float& channel : settings->ambientLight) channel = 0.3f;
    StoreSceneSettings3ds(database, settings);
    DiscardSceneSettings3ds(&settings);
}

void StoreMaterial(Database3ds* database, size_t index, const std::string& texture) {
    MaterialRecord3ds* material = nullptr;
    PrepareMaterial3ds(&material);
    if (ErrorPending3ds()) return;
    SetMaterialName3ds(material, MaterialName(index).c_str());
    const float ambient[3] = {0, 0, 0}, diffuse[3] = {1.0f, 0, 0}, specular[3] = {1.0f, 0.7f, 0.65f};
    std::copy(ambient, ambient + 3, material->ambient);
    std::copy(diffuse, diffuse + 3, material->diffuse);
    std::copy(specular, specular + 3, material->specular);
    material->shininess = material->shininessStrength = material->reflectionBlur = 0;
    material->transparency = material->transparencyFalloff = material->selfIllumination = 0;
    material->valueA087 = 1.0f;
    material->shading = 3;
    material->flagA250 = 1;
    FillTextureMap(*MaterialMapSlot3ds(material, 1), texture);
    PrepareMap3ds(MaterialMapSlot3ds(material, 2));
    StoreMaterial3ds(database, material);
    DiscardMaterial3ds(&material);
}

void FillFaceMaterialGroups(MeshRecord3ds* mesh, const std::vector<ExchangeFace>& faces, size_t textureCount) {
    std::vector<uint16_t> counts(textureCount, 0);
    for (const ExchangeFace& face : faces) ++counts[face.material];
    mesh->faceMaterialCount = static_cast<uint16_t>(textureCount);
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    if (ErrorPending3ds()) return;
    for (size_t group = 0; group < textureCount; ++group) {
        // A group without faces still gets a list, of one entry never filled.
        SizeGroupFaces3ds(mesh, uint16_t(group), counts[group] ? counts[group] : 1);
        if (ErrorPending3ds()) return;
        SetGroupMaterialName3ds(&mesh->faceMaterials[group], MaterialName(group).c_str());
    }
    std::vector<uint16_t> filled(textureCount, 0);
    for (size_t k = 0; k < faces.size(); ++k) {
        const uint32_t group = faces[k].material;
        mesh->faceMaterials[group].faceIndices[filled[group]++] = uint16_t(k);
    }
    for (size_t group = 0; group < textureCount; ++group) mesh->faceMaterials[group].faceCount = counts[group];
}

void FillMesh(MeshRecord3ds* mesh, const std::string& objectName, const std::vector<ExchangePoint>& points,
              const std::vector<ExchangeFace>& faces, size_t textureCount) {
    SetMeshName3ds(mesh, objectName.c_str());
    for (size_t k = 0; k < points.size(); ++k)
        mesh->vertices[k] = Point3ds{float(points[k].x), float(points[k].y), float(points[k].z)};
    for (size_t k = 0; k < faces.size(); ++k)
        mesh->faces[k] = MeshFace3ds{uint16_t(faces[k].a), uint16_t(faces[k].b), uint16_t(faces[k].c), 7};
    FillFaceMaterialGroups(mesh, faces, textureCount);
    if (ErrorPending3ds()) return;
    mesh->mapCoordCount = uint16_t(points.size());
    SizeMeshArrays3ds(mesh, MESH_ARRAY_MAP_COORDS);
    if (ErrorPending3ds()) return;
    for (size_t k = 0; k < points.size(); ++k) mesh->mapCoords[k] = MapCoord3ds{float(points[k].u), float(points[k].v)};
    mesh->hasMappingSetup = 1;
    mesh->vertexFlagCount = uint16_t(points.size());
    SizeMeshArrays3ds(mesh, MESH_ARRAY_VERTEX_FLAGS);
    if (ErrorPending3ds()) return;
    for (size_t k = 0; k < points.size(); ++k) mesh->vertexFlags[k] = 0x0100;
    CentreMeshAxes3ds(mesh);
    // The local axes are the unit axes at the origin.
    mesh->localAxes[9] = mesh->localAxes[10] = mesh->localAxes[11] = 0;
}

}  // namespace

void BuildMeshDatabase(const std::string& objectName, Database3ds* database, const ExportedModel& model) {
    StoreSceneSettings(database);
    for (size_t i = 0; i < model.textures.size() && !ErrorPending3ds(); ++i) StoreMaterial(database, i, model.textures[i]);
    if (ErrorPending3ds()) return;
    MeshRecord3ds* mesh = nullptr;
    PrepareMesh3ds(&mesh, uint16_t(model.points.size()), uint16_t(model.faces.size()), 0);
    if (!ErrorPending3ds()) FillMesh(mesh, objectName, model.points, model.faces, model.textures.size());
    if (!ErrorPending3ds()) StoreMesh3ds(database, mesh);
    DiscardMesh3ds(&mesh);
}

namespace {

ExchangePoint ThroughLocalAxes(const Point3ds& vertex, const float* m) {
    const double x = vertex.x, y = vertex.y, z = vertex.z;
    ExchangePoint point;
    point.x = (x * m[0] + y * m[1] + z * m[2]) / (double(m[0]) * m[0] + double(m[3]) * m[3] + double(m[6]) * m[6]) - m[9];
    point.y = (x * m[3] + y * m[4] + z * m[5]) / (double(m[1]) * m[1] + double(m[4]) * m[4] + double(m[7]) * m[7]) - m[10];
    point.z = (x * m[6] + y * m[7] + z * m[8]) / (double(m[2]) * m[2] + double(m[5]) * m[5] + double(m[8]) * m[8]) - m[11];
    return point;
}

std::string CopyMesh(const MeshRecord3ds& mesh, std::vector<ExchangePoint>& points, std::vector<ExchangeFace>& faces) {
    if (mesh.vertexCount > kMaxExchangeEntries || mesh.faceCount > kMaxExchangeEntries)
        return "The mesh has more than 1000 vertices or faces; the model is left as it was.";
    if (mesh.vertexCount == 0 || mesh.faceCount == 0)
        return "The mesh has no vertices or no faces; the model is left as it was.";
    for (uint16_t k = 0; k < mesh.vertexCount; ++k) {
        const ExchangePoint moved = ThroughLocalAxes(mesh.vertices[k], mesh.localAxes);
        points[k].x = moved.x;
        points[k].y = moved.y;
        points[k].z = moved.z;
    }
    for (uint16_t k = 0; k < mesh.faceCount; ++k) {
        const MeshFace3ds& face = mesh.faces[k];
        if (face.a >= mesh.vertexCount || face.b >= mesh.vertexCount || face.c >= mesh.vertexCount)
            return "A face of the mesh names a vertex the mesh does not have; the model is left as it was.";
        faces[k].a = mesh.faces[k].a;
        faces[k].b = mesh.faces[k].b;
        faces[k].c = mesh.faces[k].c;
        faces[k].material = 0;
    }
    for (uint16_t group = 0; group < mesh.faceMaterialCount; ++group) {
        const FaceMaterial3ds& list = mesh.faceMaterials[group];
        for (uint16_t i = 0; i < list.faceCount; ++i) {
            if (list.faceIndices[i] < mesh.faceCount) faces[list.faceIndices[i]].material = group;
        }
    }
    for (uint16_t k = 0; k < mesh.mapCoordCount && k < mesh.vertexCount; ++k) {
        points[k].u = mesh.mapCoords[k].u;
        points[k].v = mesh.mapCoords[k].v;
    }
    for (uint16_t k = 0; k < mesh.vertexCount; ++k) {
        if (!PointFitsModel(points[k]))
            return "The mesh has a point that the model cannot store (not a number, or too far out: check the "
                   "object's local axes and scale); the model is left as it was.";
    }
    return {};
}

}  // namespace

FetchedMesh FetchMeshIntoTables(Database3ds* database, std::vector<ExchangePoint>& points,
                                std::vector<ExchangeFace>& faces) {
    FetchedMesh fetched;
    MeshRecord3ds* mesh = nullptr;
    FetchMeshByIndex3ds(database, 0, &mesh);
    if (!ErrorPending3ds() && mesh) {
        fetched.vertexCount = mesh->vertexCount;
        fetched.faceCount = mesh->faceCount;
        fetched.refusal = CopyMesh(*mesh, points, faces);
    } else if (!ErrorPending3ds()) {
        fetched.refusal = "The file holds no mesh the model can take; the model is left as it was.";
    }
    DiscardMesh3ds(&mesh);
    return fetched;
}
