#include <gtest/gtest.h>

#include <sstream>

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "tests/support/testfiles.h"
#include "toolkit3ds/toolkit3ds.h"

namespace {

const char* const kModels[] = {"crate", "pyramid", "bigbox", "tomb"};

Point3ds Minus(const Point3ds& a, const Point3ds& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Point3ds Cross(const Point3ds& a, const Point3ds& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(const Point3ds& a, const Point3ds& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Faces whose normal, from their corner order, does not point away from the
// centre of the mesh's vertices.
int InwardFaces(const MeshRecord3ds& mesh) {
    Point3ds centre{0, 0, 0};
    for (int k = 0; k < mesh.vertexCount; ++k) {
        centre = {centre.x + mesh.vertices[k].x / mesh.vertexCount, centre.y + mesh.vertices[k].y / mesh.vertexCount,
                  centre.z + mesh.vertices[k].z / mesh.vertexCount};
    }
    int inward = 0;
    for (int k = 0; k < mesh.faceCount; ++k) {
        const Point3ds& a = mesh.vertices[mesh.faces[k].a];
        const Point3ds& b = mesh.vertices[mesh.faces[k].b];
        const Point3ds& c = mesh.vertices[mesh.faces[k].c];
        const Point3ds middle{(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
        if (Dot(Cross(Minus(b, a), Minus(c, a)), Minus(middle, centre)) <= 0) ++inward;
    }
    return inward;
}

int InwardFacesOfFile(const std::filesystem::path& path) {
    ClearErrors3ds();
    File3ds* file = OpenFile3ds(path.string().c_str(), "r");
    Database3ds* database = nullptr;
    NewDatabase3ds(&database);
    ReadDatabase3ds(file, database);
    MeshRecord3ds* mesh = nullptr;
    FetchMeshByIndex3ds(database, 0, &mesh);
    const int inward = !ErrorPending3ds() && mesh != nullptr ? InwardFaces(*mesh) : -1;
    DiscardMesh3ds(&mesh);
    ReleaseDatabase3ds(&database);
    CloseAllFiles3ds();
    return inward;
}

}  // namespace

TEST(DemoSample, ExportedModelsFaceOutward) {
    TempDir dir;
    std::filesystem::create_directories(dir / "bfp" / "demo");
    std::string error;
    auto invocation =
        ParseCommandLine({"--program-dir", dir.path().string(), PALLIX_SOURCE_DIR "/samples/demo.bfp", "export-model",
                          "0/0", "export-model", "0/1", "export-model", "1/0", "export-model", "2/0"},
                         error);
    ASSERT_TRUE(invocation) << error;
    std::ostringstream out, err;
    ASSERT_EQ(CliSession(*invocation, out, err).Run(), 0) << err.str();
    for (const char* model : kModels) {
        EXPECT_EQ(InwardFacesOfFile(dir / "bfp" / "demo" / (std::string(model) + ".3ds")), 0) << model;
    }
}
