#include "exchange/threeds/read3ds.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

#include "exchange/model/importrules.h"
#include "exchange/threeds/toolkitjob.h"
#include "framework/pathtext.h"
#include "toolkit3ds/toolkit3ds.h"

namespace {

// The sentence first, the toolkit's list under it; the error stream gets the
// list as it always did.
fw::Refusal ToolkitFailure(ToolkitJob& job, const std::filesystem::path& path, const std::string& whatIsWrong) {
    job.Failed();
    return fw::Refuse(ImportSentence(path, whatIsWrong) + "\n" + job.Errors());
}

// The group's texture is its material's; the toolkit finds the material
// by the name the group holds, however long the file's name is.
ImportedGroup NamedGroup(Database3ds* database, const std::string& groupName) {
    char* texture = nullptr;
    FetchTextureFileName3ds(database, groupName.c_str(), &texture);
    ImportedGroup group{groupName, texture ? texture : ""};
    std::free(texture);
    return group;
}

// Groups of the same material name, in one object or several, become one.
uint32_t GroupIndex(Database3ds* database, ImportedMesh& merged, const std::string& groupName) {
    for (uint32_t g = 0; g < merged.groups.size(); ++g) {
        if (merged.groups[g].materialName.substr(0, kMeshMaterialNameMax3ds) == groupName) return g;
    }
    merged.groups.push_back(NamedGroup(database, groupName));
    return uint32_t(merged.groups.size() - 1);
}

void AppendPoints(const MeshRecord3ds& mesh, ImportedMesh& merged) {
    for (uint16_t k = 0; k < mesh.vertexCount; ++k) {
        const Point3ds& v = mesh.vertices[k];
        const bool mapped = k < mesh.mapCoordCount;
        merged.points.push_back(ExchangePoint{v.x, v.y, v.z, mapped ? mesh.mapCoords[k].u : kNoMapping,
                                              mapped ? mesh.mapCoords[k].v : kNoMapping});
    }
}

// False when a face names a vertex its mesh does not have.
bool AppendFaces(Database3ds* database, const MeshRecord3ds& mesh, ImportedMesh& merged) {
    const uint32_t firstPoint = uint32_t(merged.points.size()) - mesh.vertexCount;
    const size_t firstFace = merged.faces.size();
    for (uint16_t k = 0; k < mesh.faceCount; ++k) {
        const MeshFace3ds& f = mesh.faces[k];
        if (f.a >= mesh.vertexCount || f.b >= mesh.vertexCount || f.c >= mesh.vertexCount) return false;
        merged.faces.push_back(ImportedFace{firstPoint + f.a, firstPoint + f.b, firstPoint + f.c, kNoGroup});
    }
    // A face listed in several groups keeps the last.
    for (uint16_t g = 0; g < mesh.faceMaterialCount; ++g) {
        const FaceMaterial3ds& list = mesh.faceMaterials[g];
        const uint32_t group = GroupIndex(database, merged, list.materialName);
        for (uint16_t i = 0; i < list.faceCount; ++i) {
            if (list.faceIndices[i] < mesh.faceCount) merged.faces[firstFace + list.faceIndices[i]].group = group;
        }
    }
    return true;
}

}  // namespace

fw::Expected<ImportedMesh> ReadImported3ds(const std::filesystem::path& path) {
    ToolkitJob job;
    File3ds* file = nullptr;
    if (job.Then([&] { file = OpenFile3ds(fw::Utf8FromPath(path).c_str(), "r"); }).Failed())
        return ToolkitFailure(job, path,
                              "the file cannot be opened. Export the model first, or check that the file "
                              "is there and that you may read it");
    if (job.Then([&] { NewDatabase3ds(&job.database()); })
            .Then([&] { ReadDatabase3ds(file, job.database()); })
            .Failed())
        return ToolkitFailure(job, path,
                              "it is damaged or not a 3DS file. Save it again as a 3DS file from your 3-D "
                              "program and import it again");
    ImportedMesh merged;
    const uint32_t meshes = CountMeshes3ds(job.database());
    for (uint32_t i = 0; i < meshes; ++i) {
        MeshRecord3ds* mesh = nullptr;
        bool whole = true;
        job.Then([&] { FetchMeshByIndex3ds(job.database(), i, &mesh); }).Then([&] {
            if (!mesh) return;
            AppendPoints(*mesh, merged);
            whole = AppendFaces(job.database(), *mesh, merged);
        });
        DiscardMesh3ds(&mesh);
        if (!whole)
            return fw::Refuse(ImportSentence(path,
                                             "a face of its mesh names a vertex the mesh does not have, so the "
                                             "file is damaged. Save it again from your 3-D program"));
    }
    if (job.Failed())
        return ToolkitFailure(job, path,
                              "its mesh cannot be read; the file is damaged. Save it again as a 3DS file "
                              "from your 3-D program and import it again");
    if (meshes == 0)
        return fw::Refuse(ImportSentence(path,
                                         "the file holds no mesh, only other objects such as lights or "
                                         "cameras. Save the model's mesh into it from your 3-D program"));
    return merged;
}
