// The interop test's view of a 3DS file, through the toolkit alone (not the
// import under test): every face of every mesh with its corners' positions
// and mapping coordinates and its texture map's file name, or one vertex
// moved as a user would move it in an editor.
// Usage: interop_meshfaces faces FILE | interop_meshfaces move FILE
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "toolkit3ds/toolkit3ds.h"

namespace {

bool ReadFile(const char* path, Database3ds*& db) {
    ClearErrors3ds();
    File3ds* file = OpenFile3ds(path, "r");
    if (!ErrorPending3ds()) NewDatabase3ds(&db);
    if (!ErrorPending3ds()) ReadDatabase3ds(file, db);
    return !ErrorPending3ds();
}

const char* TextureOf(Database3ds* db, const char* materialName) {
    Chunk3ds *material = nullptr, *map = nullptr, *name = nullptr;
    LookUpMaterial3ds(db, materialName, &material);
    if (material) FindChunk3ds(material, CHUNK_MAP_SLOT_A200, &map);
    if (map) FindChunk3ds(map, CHUNK_MAP_FILE_NAME, &name);
    const auto* text = name ? static_cast<const StringData3ds*>(ReadChunkData3ds(name)) : nullptr;
    return text && text->text && *text->text ? text->text : "-";
}

void PrintCorner(const MeshRecord3ds& mesh, uint16_t k) {
    const Point3ds& p = mesh.vertices[k];
    std::printf("%.7g %.7g %.7g ", p.x, p.y, p.z);
    if (k < mesh.mapCoordCount)
        std::printf("%.7g %.7g | ", mesh.mapCoords[k].u, mesh.mapCoords[k].v);
    else
        std::printf("none none | ");
}

void PrintFaces(Database3ds* db) {
    for (uint32_t i = 0; i < CountMeshes3ds(db) && !ErrorPending3ds(); ++i) {
        MeshRecord3ds* mesh = nullptr;
        FetchMeshByIndex3ds(db, i, &mesh);
        if (!mesh) continue;
        std::vector<std::string> textures(mesh->faceCount, "-");
        for (uint16_t g = 0; g < mesh->faceMaterialCount; ++g) {
            const FaceMaterial3ds& group = mesh->faceMaterials[g];
            for (uint16_t f = 0; f < group.faceCount; ++f) {
                if (group.faceIndices[f] < mesh->faceCount)
                    textures[group.faceIndices[f]] = TextureOf(db, group.materialName);
            }
        }
        for (uint16_t f = 0; f < mesh->faceCount; ++f) {
            PrintCorner(*mesh, mesh->faces[f].a);
            PrintCorner(*mesh, mesh->faces[f].b);
            PrintCorner(*mesh, mesh->faces[f].c);
            std::printf("%s\n", textures[f].c_str());
        }
        DiscardMesh3ds(&mesh);
    }
}

// Moves the first vertex of the first mesh half a unit along x.
void MoveVertex(Database3ds* db, const std::string& path) {
    MeshRecord3ds* mesh = nullptr;
    FetchMeshByIndex3ds(db, 0, &mesh);
    if (!mesh || mesh->vertexCount == 0) {
        PushError3ds(ERR_WRONG_OBJECT);
    } else {
        mesh->vertices[0].x += 0.5f;
        StoreMesh3ds(db, mesh);
    }
    DiscardMesh3ds(&mesh);
    const std::string moved = path + ".moved";
    File3ds* out = ErrorPending3ds() ? nullptr : OpenFile3ds(moved.c_str(), "w");
    if (out) WriteDatabase3ds(out, db);
    CloseAllFiles3ds();
    if (!ErrorPending3ds()) std::filesystem::rename(moved, path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "faces") != 0 && std::strcmp(argv[1], "move") != 0)) {
        std::fprintf(stderr, "usage: interop_meshfaces faces|move FILE\n");
        return 2;
    }
    Database3ds* db = nullptr;
    if (ReadFile(argv[2], db)) {
        if (std::strcmp(argv[1], "faces") == 0)
            PrintFaces(db);
        else
            MoveVertex(db, argv[2]);
    }
    const bool failed = ErrorPending3ds();
    if (failed) ReportErrors3ds(stderr);
    ClearErrors3ds();
    if (db) ReleaseDatabase3ds(&db);
    CloseAllFiles3ds();
    return failed ? 1 : 0;
}
