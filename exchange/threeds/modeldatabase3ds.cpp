#include "exchange/threeds/modeldatabase3ds.h"

#include <cstdio>

#include "exchange/threeds/toolkitjob.h"
#include "toolkit3ds/toolkit3ds.h"

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

void StoreSceneSettings(ToolkitJob& job) {
    SceneSettings3ds* settings = nullptr;
    job.Then([&] { PrepareSceneSettings3ds(&settings); }).Then([&] {
        for (float& channel : settings->ambientLight) channel = 0.3f;
        StoreSceneSettings3ds(job.database(), settings);
    });
    DiscardSceneSettings3ds(&settings);
}

void FillMaterial(MaterialRecord3ds* material, size_t index, const std::string& texture) {
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
}

void StoreMaterial(ToolkitJob& job, size_t index, const std::string& texture) {
    MaterialRecord3ds* material = nullptr;
    job.Then([&] { PrepareMaterial3ds(&material); }).Then([&] {
        FillMaterial(material, index, texture);
        StoreMaterial3ds(job.database(), material);
    });
    DiscardMaterial3ds(&material);
}

void FillFaceMaterialGroups(ToolkitJob& job, MeshRecord3ds* mesh, const std::vector<ExchangeFace>& faces,
                            size_t textureCount) {
    std::vector<uint16_t> counts(textureCount, 0);
    for (const ExchangeFace& face : faces) ++counts[face.material];
    job.Then([&] {
        mesh->faceMaterialCount = static_cast<uint16_t>(textureCount);
        SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    });
    for (size_t group = 0; group < textureCount; ++group) {
        // A group without faces still gets a list, of one entry never filled.
        job.Then([&] { SizeGroupFaces3ds(mesh, uint16_t(group), counts[group] ? counts[group] : 1); }).Then([&] {
            SetGroupMaterialName3ds(&mesh->faceMaterials[group], MaterialName(group).c_str());
        });
    }
    job.Then([&] {
        std::vector<uint16_t> filled(textureCount, 0);
        for (size_t k = 0; k < faces.size(); ++k) {
            const uint32_t group = faces[k].material;
            mesh->faceMaterials[group].faceIndices[filled[group]++] = uint16_t(k);
        }
        for (size_t group = 0; group < textureCount; ++group) mesh->faceMaterials[group].faceCount = counts[group];
    });
}

void FillMesh(ToolkitJob& job, MeshRecord3ds* mesh, const std::string& objectName, const ExportedModel& model) {
    const std::vector<ExchangePoint>& points = model.points;
    const std::vector<ExchangeFace>& faces = model.faces;
    job.Then([&] {
        SetMeshName3ds(mesh, objectName.c_str());
        for (size_t k = 0; k < points.size(); ++k)
            mesh->vertices[k] = Point3ds{float(points[k].x), float(points[k].y), float(points[k].z)};
        for (size_t k = 0; k < faces.size(); ++k)
            mesh->faces[k] = MeshFace3ds{uint16_t(faces[k].a), uint16_t(faces[k].b), uint16_t(faces[k].c), 7};
    });
    FillFaceMaterialGroups(job, mesh, faces, model.textures.size());
    job.Then([&] {
           mesh->mapCoordCount = uint16_t(points.size());
           SizeMeshArrays3ds(mesh, MESH_ARRAY_MAP_COORDS);
       })
        .Then([&] {
            for (size_t k = 0; k < points.size(); ++k)
                mesh->mapCoords[k] = MapCoord3ds{float(points[k].u), float(points[k].v)};
            mesh->hasMappingSetup = 1;
            mesh->vertexFlagCount = uint16_t(points.size());
            SizeMeshArrays3ds(mesh, MESH_ARRAY_VERTEX_FLAGS);
        })
        .Then([&] {
            for (size_t k = 0; k < points.size(); ++k) mesh->vertexFlags[k] = 0x0100;
            CentreMeshAxes3ds(mesh);
            // The local axes are the unit axes at the origin.
            mesh->localAxes[9] = mesh->localAxes[10] = mesh->localAxes[11] = 0;
        });
}

}  // namespace

void BuildModelDatabase3ds(ToolkitJob& job, const std::string& objectName, const ExportedModel& model) {
    StoreSceneSettings(job);
    for (size_t i = 0; i < model.textures.size(); ++i) StoreMaterial(job, i, model.textures[i]);
    MeshRecord3ds* mesh = nullptr;
    job.Then([&] { PrepareMesh3ds(&mesh, uint16_t(model.points.size()), uint16_t(model.faces.size()), 0); });
    FillMesh(job, mesh, objectName, model);
    job.Then([&] { StoreMesh3ds(job.database(), mesh); });
    DiscardMesh3ds(&mesh);
}
