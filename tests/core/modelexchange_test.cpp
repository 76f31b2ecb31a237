#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "datafile/layouts.h"
#include "exchange/model/modelconversion.h"
#include "framework/commandids.h"
#include "framework/littleendian.h"
#include "framework/pathtext.h"
#include "tests/support/viewfixture.h"
#include "toolkit3ds/toolkit3ds.h"
#include "tools/bfpbuilder.h"

namespace {

using pallix::ReadI32;
using pallix::ReadU16;

// The mesh records of a 3DS file, read back through the toolkit.
std::vector<MeshRecord3ds*> ReadMeshes(const std::filesystem::path& path) {
    ClearErrors3ds();
    File3ds* file = OpenFile3ds(fw::Utf8FromPath(path).c_str(), "r");
    Database3ds* db = nullptr;
    NewDatabase3ds(&db);
    ReadDatabase3ds(file, db);
    std::vector<MeshRecord3ds*> meshes;
    for (uint32_t i = 0; i < CountMeshes3ds(db); ++i) {
        meshes.push_back(nullptr);
        FetchMeshByIndex3ds(db, i, &meshes.back());
    }
    EXPECT_FALSE(ErrorPending3ds());
    ReleaseDatabase3ds(&db);
    CloseAllFiles3ds();
    return meshes;
}

void DiscardAll(std::vector<MeshRecord3ds*>& meshes) {
    for (auto*& mesh : meshes) DiscardMesh3ds(&mesh);
}

struct TestMaterial {
    const char* name;
    const char* texture;
};

void StoreTestMaterial(Database3ds* db, const TestMaterial& wanted) {
    MaterialRecord3ds* material = nullptr;
    PrepareMaterial3ds(&material);
    SetMaterialName3ds(material, wanted.name);
    SetMapFileName3ds(MaterialMapSlot3ds(material, 1), wanted.texture);
    StoreMaterial3ds(db, material);
    DiscardMaterial3ds(&material);
}

// A light object, as editors keep beside the mesh.
void StoreLight(Database3ds* db) {
    Chunk3ds* scene = nullptr;
    FindChunk3ds(db->top, CHUNK_SCENE, &scene);
    if (!scene) {
        NewChunkOfType3ds(&scene, CHUNK_SCENE);
        AppendChild3ds(db->top, scene);
    }
    Chunk3ds* object = nullptr;
    char* name = static_cast<char*>(std::malloc(5));
    std::memcpy(name, "lamp", 5);
    static_cast<StringData3ds*>(NewChunkWithData3ds(&object, CHUNK_OBJECT))->text = name;
    Chunk3ds* light = nullptr;
    static_cast<Floats3Data3ds*>(NewChunkWithData3ds(&light, CHUNK_OBJECT_PART_4600))->value[2] = 10;
    AppendChild3ds(object, light);
    AppendChild3ds(scene, object);
    MarkObjectsChanged3ds(db);
}

// Writes meshes as a 3DS file, as another program would after an edit.
void WriteMeshes(const std::filesystem::path& path, const std::vector<MeshRecord3ds*>& meshes,
                 const std::vector<TestMaterial>& materials = {}, bool light = false) {
    ClearErrors3ds();
    File3ds* file = OpenFile3ds(path.string().c_str(), "w");
    Database3ds* db = nullptr;
    NewDatabase3ds(&db);
    CreateDatabase3ds(db, DatabaseKind3ds::MeshFile);
    for (const TestMaterial& material : materials) StoreTestMaterial(db, material);
    for (const MeshRecord3ds* mesh : meshes) StoreMesh3ds(db, mesh);
    if (light) StoreLight(db);
    WriteDatabase3ds(file, db);
    ASSERT_FALSE(ErrorPending3ds());
    ReleaseDatabase3ds(&db);
    CloseAllFiles3ds();
}

// Puts faces of the mesh into named groups, in order.
void Group(MeshRecord3ds* mesh, const std::vector<std::pair<const char*, std::vector<uint16_t>>>& groups) {
    mesh->faceMaterialCount = uint16_t(groups.size());
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    for (uint16_t g = 0; g < groups.size(); ++g) {
        SizeGroupFaces3ds(mesh, g, std::max<uint16_t>(1, uint16_t(groups[g].second.size())));
        SetGroupMaterialName3ds(&mesh->faceMaterials[g], groups[g].first);
        std::copy(groups[g].second.begin(), groups[g].second.end(), mesh->faceMaterials[g].faceIndices);
        mesh->faceMaterials[g].faceCount = uint16_t(groups[g].second.size());
    }
}

MeshRecord3ds* PlainMesh(const char* name, uint16_t vertices, uint16_t faces) {
    MeshRecord3ds* mesh = nullptr;
    PrepareMesh3ds(&mesh, vertices, faces, 0);
    SetMeshName3ds(mesh, name);
    for (uint16_t k = 0; k < vertices; ++k) mesh->vertices[k] = Point3ds{float(k), float(2 * k), float(3 * k)};
    for (uint16_t k = 0; k < faces; ++k)
        mesh->faces[k] = MeshFace3ds{0, uint16_t(k % vertices), uint16_t((k + 1) % vertices), 7};
    mesh->localAxes[0] = mesh->localAxes[4] = mesh->localAxes[8] = 1.0f;
    return mesh;
}

class ModelExchange : public ViewFixture {
protected:
    void SetUp() override {
        bfp::Model special{
            "special",
            {{100, 200, 300, -65536, 32768}, {1, 2, 3, 65536, -65536}, {5, 7, 10, 0, 1}, {100, -1, -2, 3, -3}},
            {{4 % 4, 5 % 4, 6 % 4, 0, {9, 8, 7, 6}}, {1, 2, 3, 2, {1, 1, 1, 1}}, {3, 2, 1, 7, {2, 2, 2, 2}}},
            400};
        bfp::ImageWriter image;
        image.AddBank(
            {{special, bfp::Cube("box", 50, 3)},
             {{"a", bfp::MakeBmp(4, 4, 24, 1)}, {"b", bfp::MakeBmp(4, 4, 24, 2)}, {"c", bfp::MakeBmp(4, 4, 24, 3)}}});
        image.Filler(1, 1);
        image.AddBank({{bfp::Cube("lonely", 50, 0), bfp::Pyramid("alone", 5, 5, 0)}, {}});
        image.Filler(1, 1);
        ASSERT_TRUE(Open(image.bytes()));
        original_ = Image();
    }

    // A model of 3 vertices and 1 triangle; merged, a tetrahedron needs 272 bytes.
    bool OpenTightModel(uint32_t recordSize) {
        bfp::ImageWriter image;
        bfp::Model tight{
            "tight", {{0, 0, 0, 0, 0}, {100, 0, 0, 0, 0}, {0, 100, 0, 0, 0}}, {{0, 1, 2, 0, {}}}, recordSize - 168};
        image.AddBank({{tight}, {{"a", bfp::MakeBmp(4, 4, 24, 1)}}});
        return Open(image.bytes());
    }
    std::filesystem::path ModelFile(const std::string& name) const { return ExportDir() / (name + ".3ds"); }
    uint16_t Field16(uint32_t offset) const { return *ReadU16(doc_.Image(), offset); }
    int32_t Field32(uint32_t offset) const { return *ReadI32(doc_.Image(), offset); }
    uint32_t VertexAt(std::initializer_list<int> model, uint32_t k, uint32_t field) const {
        return Record(model).nOffset + 48 + 32 * k + field;
    }
    uint32_t TriangleAt(std::initializer_list<int> model, uint32_t k, uint32_t field) const {
        return Record(model).nOffset + 48 + 32 * Field16(Record(model).nOffset + 16) + 24 * k + field;
    }

    std::vector<uint8_t> original_;
};

TEST_F(ModelExchange, ExportConvertsUnitsAxesWindingAndMappingCoordinates) {
    RunCommand({0, 0}, cmd::kModelExport);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].caption, "Model (3DS) file");
    EXPECT_EQ(ui_.messages[0].text, "The model will be written to\n" + ModelFile("special").string());
    auto meshes = ReadMeshes(ModelFile("special"));
    ASSERT_EQ(meshes.size(), 1u);
    const MeshRecord3ds& mesh = *meshes[0];
    EXPECT_STREQ(mesh.name, "special");
    ASSERT_EQ(mesh.vertexCount, 4);
    EXPECT_FLOAT_EQ(mesh.vertices[0].x, 1.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[0].y, 3.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[0].z, 2.0f);
    ASSERT_EQ(mesh.mapCoordCount, 4);
    EXPECT_FLOAT_EQ(mesh.mapCoords[0].u, 1.0f);
    EXPECT_FLOAT_EQ(mesh.mapCoords[0].v, 0.5f);
    ASSERT_EQ(mesh.faceCount, 3);
    EXPECT_EQ(mesh.faces[0].a, 2);
    EXPECT_EQ(mesh.faces[0].b, 1);
    EXPECT_EQ(mesh.faces[0].c, 0);
    EXPECT_EQ(mesh.faces[0].flags, 7);
    // Three bitmaps: three groups, the third triangle's index 7 falls back to group 0.
    ASSERT_EQ(mesh.faceMaterialCount, 3);
    EXPECT_STREQ(mesh.faceMaterials[0].materialName, "MAT0");
    EXPECT_STREQ(mesh.faceMaterials[2].materialName, "MAT2");
    EXPECT_EQ(mesh.faceMaterials[0].faceCount, 2);
    EXPECT_EQ(mesh.faceMaterials[1].faceCount, 0);
    EXPECT_EQ(mesh.faceMaterials[2].faceCount, 1);
    EXPECT_EQ(mesh.faceMaterials[2].faceIndices[0], 1);
    EXPECT_EQ(mesh.vertexFlagCount, 4);
    EXPECT_EQ(mesh.vertexFlags[3], 0x0100);
    EXPECT_FLOAT_EQ(mesh.localAxes[0], 1.0f);
    EXPECT_FLOAT_EQ(mesh.localAxes[9], 0.0f);
    DiscardAll(meshes);
}

TEST_F(ModelExchange, MaterialsNameTheBitmapsAndCarryTheFixedColours) {
    RunCommand({0, 1}, cmd::kModelExport);
    const auto bytes = ReadFileBytes(ModelFile("box"));
    const auto contains = [&](const std::vector<uint8_t>& needle) {
        return std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end()) != bytes.end();
    };
    for (int i = 0; i < 3; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "O%X.bmp", Record({0, 2 + i}).nOffset);
        EXPECT_TRUE(contains(std::vector<uint8_t>(name, name + std::strlen(name) + 1))) << name;
        const std::string material = "MAT" + std::to_string(i);
        EXPECT_TRUE(contains(std::vector<uint8_t>(material.begin(), material.end())));
    }
    EXPECT_TRUE(contains({0x20, 0xA0, 24, 0, 0, 0, 0x11, 0x00, 9, 0, 0, 0, 255, 0, 0}));
    EXPECT_TRUE(contains({0x30, 0xA0, 24, 0, 0, 0, 0x11, 0x00, 9, 0, 0, 0, 255, 178, 165}));
}

TEST_F(ModelExchange, ExportingTwiceWritesTheSameBytes) {
    RunCommand({0, 1}, cmd::kModelExport);
    const auto first = ReadFileBytes(ModelFile("box"));
    RunCommand({0, 1, 0}, cmd::kModelExport);  // through a leaf: the same model
    EXPECT_EQ(ReadFileBytes(ModelFile("box")), first);
    EXPECT_FALSE(first.empty());
}

TEST_F(ModelExchange, ModelsOfABankWithoutBitmapsAreNotExported) {
    RunCommand({1, 0}, cmd::kModelExport);
    RunCommand({1, 0}, cmd::kModelImport);
    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(ui_.messages[0].text, "Cannot find sibling item (a).");
    EXPECT_EQ(ui_.messages[1].text, "Cannot find sibling item (b).");
    EXPECT_EQ(ui_.messages[1].caption, "Bugger");
    EXPECT_FALSE(std::filesystem::exists(ModelFile("lonely")));
    EXPECT_FALSE(doc_.IsModified());
}

TEST_F(ModelExchange, InvalidModelsAreNeitherExportedNorImported) {
    auto image = original_;
    pallix::WriteLE<uint16_t>(image, Record({0, 0}).nOffset + 16, 1001);
    ASSERT_TRUE(Open(image));
    RunCommand({0, 0}, cmd::kModelExport);
    EXPECT_EQ(ui_.messages.back().text, "Invalid model. Cannot export");
    EXPECT_EQ(ui_.messages.back().caption, "Pallix");
    EXPECT_FALSE(std::filesystem::exists(ModelFile("special")));
    RunCommand({0, 0}, cmd::kModelImport);
    EXPECT_EQ(ui_.messages.back().text, "Invalid model. Cannot export");
    EXPECT_EQ(Image(), image);
}

TEST_F(ModelExchange, ExportAllWritesEveryModelAndBitmapQuietly) {
    RunCommand({0}, cmd::kBankExportAll);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "Object Exported\n2 models and 3 bitmaps written to\n" + ExportDir().string());
    EXPECT_EQ(ui_.messages[0].caption, "Export All");
    EXPECT_TRUE(std::filesystem::exists(ModelFile("special")));
    EXPECT_TRUE(std::filesystem::exists(ModelFile("box")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ExportDir()), std::filesystem::directory_iterator()),
              5);
    EXPECT_EQ(ui_.waitDepth, 0);
    EXPECT_EQ(ui_.statuses.back(), "Exported 2 models and 3 bitmaps to " + ExportDir().string());
    // A single command afterwards still announces its path.
    RunCommand({0, 1}, cmd::kModelExport);
    EXPECT_EQ(ui_.messages.back().caption, "Model (3DS) file");
}

TEST_F(ModelExchange, ExportAllOverABankWithoutBitmapsSaysSoPerModelAndAtTheEnd) {
    RunCommand({1}, cmd::kBankExportAll);
    ASSERT_EQ(ui_.messages.size(), 3u);
    EXPECT_EQ(ui_.messages[0].text, "Cannot find sibling item (a).");
    EXPECT_EQ(ui_.messages[1].text, "Cannot find sibling item (a).");
    // The closing words no longer claim an object that was not written.
    EXPECT_EQ(ui_.messages[2].text, "Nothing was exported.");
}

TEST_F(ModelExchange, ExportAllOnTheRootOrAnEmptyBankEndsWithoutAMessage) {
    RunCommand({}, cmd::kBankExportAll);
    EXPECT_EQ(ui_.messages.back().caption, "Bugger");
    bfp::ImageWriter image;
    image.AddBank({});
    ASSERT_TRUE(Open(image.bytes()));
    ui_.messages.clear();
    RunCommand({0}, cmd::kBankExportAll);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(ModelExchange, UnchangedRoundTripKeepsCountsIndicesAndWhatSinglePrecisionKeeps) {
    RunCommand({0, 0}, cmd::kModelExport);
    RunCommand({0, 0}, cmd::kModelImport);
    EXPECT_TRUE(doc_.IsModified());
    const ItemRecord& model = Record({0, 0});
    EXPECT_EQ(Field16(model.nOffset + 16), 4);
    EXPECT_EQ(Field16(model.nOffset + 18), 3);
    // Coordinates: 1 -> 0, 2 -> 1, 3 -> 2; 5, 7, 10, 100 unchanged.
    EXPECT_EQ(Field32(VertexAt({0, 0}, 0, 0)), 100);
    EXPECT_EQ(Field32(VertexAt({0, 0}, 0, 4)), 200);
    EXPECT_EQ(Field32(VertexAt({0, 0}, 0, 8)), 300);
    EXPECT_EQ(Field32(VertexAt({0, 0}, 1, 0)), 0);
    EXPECT_EQ(Field32(VertexAt({0, 0}, 1, 4)), 1);
    EXPECT_EQ(Field32(VertexAt({0, 0}, 1, 8)), 2);
    EXPECT_EQ(Field32(VertexAt({0, 0}, 2, 0)), 5);
    EXPECT_EQ(Field32(VertexAt({0, 0}, 2, 4)), 7);
    EXPECT_EQ(Field32(VertexAt({0, 0}, 2, 8)), 10);
    // u becomes |u|, v becomes -|v|, and a v of 1 or -1 comes back as 1.
    EXPECT_EQ(Field32(VertexAt({0, 0}, 0, 12)), 65536);
    EXPECT_EQ(Field32(VertexAt({0, 0}, 0, 16)), -32768);
    EXPECT_EQ(Field32(VertexAt({0, 0}, 1, 16)), -65536);
    EXPECT_EQ(Field32(VertexAt({0, 0}, 2, 16)), 1);
    EXPECT_EQ(Field32(VertexAt({0, 0}, 3, 12)), 3);
    EXPECT_EQ(Field32(VertexAt({0, 0}, 3, 16)), -3);
    // Triangles: same indices, bitmap indices kept but 7 (no such bitmap) -> 0.
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 0, 2)), 0);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 0, 4)), 1);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 0, 6)), 2);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 1, 8)), 2);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 2, 8)), 0);
    EXPECT_EQ(doc_.Image()[TriangleAt({0, 0}, 0, 10)], 9);
    EXPECT_EQ(doc_.Image()[TriangleAt({0, 0}, 2, 13)], 2);
    // Nothing outside the model changed, and the tree keeps its old labels.
    EXPECT_TRUE(std::equal(original_.begin(), original_.begin() + model.nOffset, doc_.Image().begin()));
    EXPECT_TRUE(std::equal(original_.begin() + model.nOffset + model.nSize, original_.end(),
                           doc_.Image().begin() + model.nOffset + model.nSize));
    EXPECT_EQ(ui_.messages.back().caption, "Opening file Bitmap file");
}

TEST_F(ModelExchange, FaceOfTheSecondGroupGetsBitmapIndexOneWhateverItsName) {
    MeshRecord3ds* mesh = PlainMesh("special", 4, 2);
    mesh->faceMaterialCount = 2;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    SizeGroupFaces3ds(mesh, 0, 1);
    SizeGroupFaces3ds(mesh, 1, 1);
    SetGroupMaterialName3ds(&mesh->faceMaterials[0], "whatever");
    SetGroupMaterialName3ds(&mesh->faceMaterials[1], "stone");
    mesh->faceMaterials[1].faceIndices[0] = 1;
    mesh->faceMaterials[1].faceCount = 1;
    WriteMeshes(ModelFile("special"), {mesh});
    DiscardMesh3ds(&mesh);
    RunCommand({0, 0}, cmd::kModelImport);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 0, 8)), 0);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 1, 8)), 1);
}

TEST_F(ModelExchange, MeshWithoutMappingCoordinatesGetsTheNoneValues) {
    MeshRecord3ds* mesh = PlainMesh("special", 4, 2);
    WriteMeshes(ModelFile("special"), {mesh});
    DiscardMesh3ds(&mesh);
    RunCommand({0, 0}, cmd::kModelImport);
    for (uint32_t k = 0; k < 4; ++k) {
        EXPECT_EQ(Field32(VertexAt({0, 0}, k, 12)), 655294464);
        EXPECT_EQ(Field32(VertexAt({0, 0}, k, 16)), -655294464);
    }
    EXPECT_EQ(Field32(VertexAt({0, 0}, 3, 0)), 300);  // x = 3 units
    EXPECT_EQ(Field32(VertexAt({0, 0}, 3, 4)), 900);  // the file's z is the model's y
}

TEST_F(ModelExchange, SmallerMeshMovesTheTrianglesAndLeavesTheRestOfTheRecord) {
    MeshRecord3ds* mesh = PlainMesh("special", 3, 2);
    WriteMeshes(ModelFile("special"), {mesh});
    DiscardMesh3ds(&mesh);
    const ItemRecord& model = Record({0, 0});
    const auto before = Image();
    RunCommand({0, 0}, cmd::kModelImport);
    EXPECT_EQ(Field16(model.nOffset + 16), 3);
    EXPECT_EQ(Field16(model.nOffset + 18), 2);
    const uint32_t triangles = model.nOffset + 48 + 3 * 32;
    EXPECT_EQ(Field16(triangles + 24 + 4), 1);  // face 1 = (0, 1, 2): c = 2, b = 1, a = 0
    EXPECT_EQ(Field16(triangles + 24 + 2), 2);
    const uint32_t newEnd = triangles + 2 * 24;
    const uint32_t oldEnd = model.nOffset + 48 + 4 * 32 + 3 * 24;
    EXPECT_TRUE(std::equal(before.begin() + newEnd, before.begin() + oldEnd, Image().begin() + newEnd));
    // The bytes nobody names come from the old last vertex and triangle.
    EXPECT_TRUE(std::equal(before.begin() + model.nOffset + 48 + 3 * 32 + 20,
                           before.begin() + model.nOffset + 48 + 4 * 32, Image().begin() + model.nOffset + 48 + 20));
}

// Several objects.

TEST_F(ModelExchange, ObjectsOfTheFileMergeIntoOneMeshAndALightIsPassedOver) {
    std::vector<MeshRecord3ds*> meshes = {PlainMesh("one", 3, 1), PlainMesh("two", 3, 1)};
    for (uint16_t k = 0; k < 3; ++k) meshes[1]->vertices[k].x += 10;  // apart, so nothing welds
    Group(meshes[0], {{"MAT2", {0}}});
    Group(meshes[1], {{"MAT1", {0}}});
    WriteMeshes(ModelFile("special"), meshes, {}, true);
    DiscardAll(meshes);
    RunCommand({0, 0}, cmd::kModelImport);
    EXPECT_FALSE(view_.LastResult().Failed());
    EXPECT_EQ(Field16(Record({0, 0}).nOffset + 16), 6);
    EXPECT_EQ(Field16(Record({0, 0}).nOffset + 18), 2);
    // The second object's face (0, 0, 1) comes after the first's three points, corners reversed.
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 1, 2)), 4);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 1, 6)), 3);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 0, 8)), 2);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 1, 8)), 1);
    EXPECT_EQ(ui_.messages.back().caption, "Opening file Bitmap file");  // no note: the names decided
}

TEST_F(ModelExchange, FileWithOnlyALightIsRefusedInWordsAndChangesNothing) {
    WriteMeshes(ModelFile("special"), {}, {}, true);
    doc_.SetModifiedFlag(false);
    RunCommand({0, 0}, cmd::kModelImport);
    EXPECT_TRUE(view_.LastResult().Failed());
    EXPECT_EQ(ui_.messages.back().caption, "Import Model");
    EXPECT_EQ(ui_.messages.back().text.rfind("Cannot import \"special.3ds\": the file holds no mesh", 0), 0u);
    EXPECT_EQ(Image(), original_);
    EXPECT_FALSE(doc_.IsModified());
}

// Corners merged before the room check.

// A tetrahedron as writers that give every face its own corners store it.
MeshRecord3ds* CornerPerFaceMesh() {
    const Point3ds corners[4] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const uint16_t faces[4][3] = {{0, 1, 2}, {0, 3, 1}, {1, 3, 2}, {2, 3, 0}};
    MeshRecord3ds* mesh = PlainMesh("tight", 12, 4);
    mesh->mapCoordCount = 12;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_MAP_COORDS);
    for (uint16_t k = 0; k < 12; ++k) {
        const uint16_t corner = faces[k / 3][k % 3];
        mesh->vertices[k] = corners[corner];
        mesh->mapCoords[k] = MapCoord3ds{corner * 0.25f, 0.5f};
    }
    for (uint16_t f = 0; f < 4; ++f)
        mesh->faces[f] = MeshFace3ds{uint16_t(3 * f), uint16_t(3 * f + 1), uint16_t(3 * f + 2), 7};
    return mesh;
}

TEST_F(ModelExchange, MeshThatFitsOnlyAfterMergingCornersImportsWithItsWinding) {
    ASSERT_TRUE(OpenTightModel(272));
    MeshRecord3ds* mesh = CornerPerFaceMesh();
    WriteMeshes(ModelFile("tight"), {mesh});
    DiscardMesh3ds(&mesh);
    RunCommand({0, 0}, cmd::kModelImport);
    ASSERT_FALSE(view_.LastResult().Failed()) << ui_.messages.back().text;
    EXPECT_EQ(Field16(Record({0, 0}).nOffset + 16), 4);
    EXPECT_EQ(Field16(Record({0, 0}).nOffset + 18), 4);
    // Face (0, 3, 1) keeps its order: c, b, a = 1, 3, 0.
    std::vector<std::array<uint16_t, 3>> triangles;
    for (uint32_t k = 0; k < 4; ++k)
        triangles.push_back(
            {Field16(TriangleAt({0, 0}, k, 2)), Field16(TriangleAt({0, 0}, k, 4)), Field16(TriangleAt({0, 0}, k, 6))});
    EXPECT_NE(std::find(triangles.begin(), triangles.end(), std::array<uint16_t, 3>{1, 3, 0}), triangles.end());
    EXPECT_EQ(Field32(VertexAt({0, 0}, 3, 4)), 100);     // corner 3 is z = 1: the model's y
    EXPECT_EQ(Field32(VertexAt({0, 0}, 3, 12)), 49152);  // u = 0.75
}

TEST_F(ModelExchange, MergedMeshOneByteTooBigIsRefusedWithTheRoomAndTheRecordStays) {
    ASSERT_TRUE(OpenTightModel(271));
    const auto before = Image();
    MeshRecord3ds* mesh = CornerPerFaceMesh();
    WriteMeshes(ModelFile("tight"), {mesh});
    DiscardMesh3ds(&mesh);
    RunCommand({0, 0}, cmd::kModelImport);
    EXPECT_TRUE(view_.LastResult().Failed());
    EXPECT_EQ(ui_.messages.back().text,
              "Cannot import \"tight.3ds\": after merging shared corners its mesh has 4 vertices and 4 faces, but the "
              "model has room for 3 vertices and 1 face (or any mix within its 271 bytes: 48 for the header, 32 a "
              "vertex, 24 a face, at most 1000 of each). Simplify the mesh in your 3-D program and import it again. "
              "The model is left as it was.");
    EXPECT_EQ(Image(), before);
}

// The bitmap of each group.

TEST_F(ModelExchange, GroupsTakeTheBitmapTheirTextureMapNamesWhateverTheirOrder) {
    char stone[32], wood[32];
    std::snprintf(stone, sizeof stone, "MAPS\\O%X.BMP", Record({0, 4}).nOffset);
    std::snprintf(wood, sizeof wood, "o%x.png", Record({0, 2}).nOffset);
    MeshRecord3ds* mesh = PlainMesh("special", 4, 2);
    Group(mesh, {{"stone", {0}}, {"wood", {1}}});
    WriteMeshes(ModelFile("special"), {mesh}, {{"wood", wood}, {"stone", stone}});
    DiscardMesh3ds(&mesh);
    RunCommand({0, 0}, cmd::kModelImport);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 0, 8)), 2);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 1, 8)), 0);
    EXPECT_EQ(ui_.messages.back().caption, "Opening file Bitmap file");
}

TEST_F(ModelExchange, TextureThatNamesNoBankBitmapLeavesTheGroupsPositionToDecideAndSaysSo) {
    MeshRecord3ds* mesh = PlainMesh("special", 4, 2);
    Group(mesh, {{"MAT2", {0}}, {"paint", {1}}});
    WriteMeshes(ModelFile("special"), {mesh}, {{"paint", "other.bmp"}});
    DiscardMesh3ds(&mesh);
    RunCommand({0, 0}, cmd::kModelImport);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 0, 8)), 2);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 1, 8)), 1);
    EXPECT_EQ(ui_.messages.back().caption, "Import Model");
    EXPECT_NE(ui_.messages.back().text.find("by the order of the file's materials"), std::string::npos);
}

TEST_F(ModelExchange, GroupNamedWithALeadingZeroIsNoBitmapNumber) {
    MeshRecord3ds* mesh = PlainMesh("special", 4, 2);
    Group(mesh, {{"MAT1", {0}}, {"MAT00", {1}}});
    WriteMeshes(ModelFile("special"), {mesh});
    DiscardMesh3ds(&mesh);
    RunCommand({0, 0}, cmd::kModelImport);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 0, 8)), 1);
    EXPECT_EQ(Field16(TriangleAt({0, 0}, 1, 8)), 1);
    EXPECT_NE(ui_.messages.back().text.find("by the order of the file's materials"), std::string::npos);
}

// Vertices as stored.

TEST_F(ModelExchange, LocalAxesTurnedOrZeroDoNotMoveTheModel) {
    MeshRecord3ds* turned = PlainMesh("special", 4, 2);
    const float quarterTurn[12] = {0, 1, 0, -1, 0, 0, 0, 0, 1, 5, 5, 5};
    std::copy(quarterTurn, quarterTurn + 12, turned->localAxes);
    MeshRecord3ds* flat = PlainMesh("special", 4, 2);
    std::fill(flat->localAxes, flat->localAxes + 12, 0.0f);
    for (MeshRecord3ds* mesh : {turned, flat}) {
        WriteMeshes(ModelFile("special"), {mesh});
        DiscardMesh3ds(&mesh);
        RunCommand({0, 0}, cmd::kModelImport);
        EXPECT_FALSE(view_.LastResult().Failed());
        EXPECT_EQ(Field32(VertexAt({0, 0}, 3, 0)), 300);
        EXPECT_EQ(Field32(VertexAt({0, 0}, 3, 4)), 900);
        EXPECT_EQ(Field32(VertexAt({0, 0}, 3, 8)), 600);
    }
}

TEST_F(ModelExchange, MeshesTheRecordCannotHoldAreRefused) {
    const auto refuse = [&](MeshRecord3ds* mesh) {
        WriteMeshes(ModelFile("special"), {mesh});
        DiscardMesh3ds(&mesh);
        ui_.messages.clear();
        view_.SetAnnouncePaths(false);
        RunCommand({0, 0}, cmd::kModelImport);
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].caption, "Import Model");
        EXPECT_EQ(Image(), original_);
    };
    refuse(PlainMesh("special", 20, 20));   // more bytes than the record has
    refuse(PlainMesh("special", 1001, 1));  // more than 1000 vertices
    MeshRecord3ds* far = PlainMesh("special", 3, 1);
    far->vertices[1].x = 3.0e8f;  // beyond a 32-bit coordinate once in hundredths
    refuse(far);
    refuse(PlainMesh("special", 3, 0));  // no faces: the model would become unusable
    MeshRecord3ds* stray = PlainMesh("special", 3, 1);
    stray->faces[0].c = 3;  // no such vertex
    refuse(stray);
}

TEST_F(ModelExchange, ToolkitFailuresAreReportedAndChangeNothing) {
    BlockExportDir();
    doc_.SetModifiedFlag(false);
    RunCommand({0, 1}, cmd::kModelExport);
    EXPECT_TRUE(view_.LastResult().Failed());
    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(ui_.messages[1].caption, "Model (3DS) file");
    EXPECT_NE(ui_.messages[1].text.find("ERR_OPENING_FILE"), std::string::npos);
    EXPECT_FALSE(ErrorPending3ds());
    RunCommand({0, 1}, cmd::kModelImport);
    EXPECT_TRUE(view_.LastResult().Failed());
    EXPECT_EQ(ui_.messages.back().caption, "Import Model");
    EXPECT_EQ(Image(), original_);
    EXPECT_FALSE(doc_.IsModified());
    // The next job starts clean.
    UnblockExportDir();
    RunCommand({0, 1}, cmd::kModelExport);
    EXPECT_FALSE(view_.LastResult().Failed());
}

TEST_F(ModelExchange, DamagedFileFailsTheImportCleanly) {
    RunCommand({0, 1}, cmd::kModelExport);
    auto bytes = ReadFileBytes(ModelFile("box"));
    bytes.resize(bytes.size() / 2);
    WriteFileBytes(ModelFile("box"), bytes);
    RunCommand({0, 1}, cmd::kModelImport);
    EXPECT_TRUE(view_.LastResult().Failed());
    const std::string& text = ui_.messages.back().text;
    EXPECT_EQ(text.rfind("Cannot import \"box.3ds\": it is damaged or not a 3DS file.", 0), 0u);
    EXPECT_NE(text.find("\nERR_"), std::string::npos);
    EXPECT_EQ(Image(), original_);
}

TEST_F(ModelExchange, LongAndUnsafeNamesStayInsideTheExportFolder) {
    bfp::ImageWriter image;
    image.AddBank({{bfp::Cube("../escape", 5, 1), bfp::Cube("twelvechars_", 5, 1), bfp::Cube("abcdefghi\xE9", 5, 1)},
                   {{"a", bfp::MakeBmp(4, 4, 24, 1)}}});
    ASSERT_TRUE(Open(image.bytes()));
    RunCommand({0, 0}, cmd::kModelExport);
    RunCommand({0, 1}, cmd::kModelExport);
    EXPECT_TRUE(std::filesystem::exists(ExportDir() / ".._escape.3ds"));
    EXPECT_FALSE(std::filesystem::exists(ExportDir().parent_path() / "escape.3ds"));
    ASSERT_TRUE(std::filesystem::exists(ModelFile("twelvechars_")));
    auto meshes = ReadMeshes(ModelFile("twelvechars_"));
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_STREQ(meshes[0]->name, "twelvechar");
    DiscardAll(meshes);
    // The object name takes the model's own ten bytes, not a cut UTF-8 file name.
    RunCommand({0, 2}, cmd::kModelExport);
    meshes = ReadMeshes(ExportDir() / fw::PathFromUtf8("abcdefghi\xC3\xA9.3ds"));
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_STREQ(meshes[0]->name, "abcdefghi\xE9");
    DiscardAll(meshes);
    RunCommand({0, 0}, cmd::kModelImport);
    EXPECT_FALSE(view_.LastResult().Failed());
}

TEST_F(ModelExchange, ModelsWhoseSafeNamesMeetExportToFilesOfTheirOwn) {
    bfp::ImageWriter image;
    image.AddBank({{bfp::Cube("CON", 5, 1), bfp::Pyramid("_ON", 5, 8, 1)}, {{"a", bfp::MakeBmp(4, 4, 24, 1)}}});
    ASSERT_TRUE(Open(image.bytes()));
    RunCommand({0, 0}, cmd::kModelExport);
    RunCommand({0, 1}, cmd::kModelExport);
    ASSERT_TRUE(std::filesystem::exists(ModelFile("_ON")));
    ASSERT_TRUE(std::filesystem::exists(ModelFile("_ON~2")));
    EXPECT_NE(ReadFileBytes(ModelFile("_ON")), ReadFileBytes(ModelFile("_ON~2")));
}

TEST_F(ModelExchange, EditedFileImportedSavedAndReopenedShowsTheNewCounts) {
    RunCommand({0, 1}, cmd::kModelExport);
    auto meshes = ReadMeshes(ModelFile("box"));
    ASSERT_EQ(meshes.size(), 1u);
    // Another program adds two vertices and two faces.
    MeshRecord3ds* edited = PlainMesh("box", 10, 14);
    std::copy(meshes[0]->localAxes, meshes[0]->localAxes + 12, edited->localAxes);
    WriteMeshes(ModelFile("box"), {edited});
    DiscardMesh3ds(&edited);
    DiscardAll(meshes);
    RunCommand({0, 1}, cmd::kModelImport);
    ASSERT_TRUE(template_.OnFileSave());
    ASSERT_TRUE(template_.OpenDocumentFile((dir_ / "data.bfp").string()));
    EXPECT_EQ(Item({0, 1, 0})->text, "Vertices:    10 ");
    EXPECT_EQ(Item({0, 1, 1})->text, "Triangles:  14");
    EXPECT_EQ(Item({0, 2})->text, "0:a");  // the bank's chain is intact
}

TEST_F(ModelExchange, AnotherReaderSeesOurMeshAndOneMaterialPerBitmap) {
    if (std::system("assimp version > /dev/null 2>&1") != 0) GTEST_SKIP() << "assimp is not installed";
    RunCommand({0, 1}, cmd::kModelExport);
    const auto report = dir_ / "assimp.txt";
    ASSERT_EQ(
        std::system(("assimp info '" + ModelFile("box").string() + "' -r > '" + report.string() + "' 2>&1").c_str()),
        0);
    const auto bytes = ReadFileBytes(report);
    const std::string text(bytes.begin(), bytes.end());
    const auto line = [&](const std::string& key) {
        const auto at = text.find("\n" + key + ":");
        return at == std::string::npos ? std::string() : text.substr(at + 1, text.find('\n', at + 1) - at - 1);
    };
    // The reader splits a mesh by material: the cube's faces use all three.
    EXPECT_EQ(line("Faces"), "Faces:              12");
    EXPECT_EQ(line("Materials"), "Materials:          3");
    EXPECT_EQ(line("Meshes"), "Meshes:             3");
    char texture[32];
    std::snprintf(texture, sizeof texture, "'O%X.bmp'", Record({0, 4}).nOffset);
    EXPECT_NE(text.find(texture), std::string::npos);
    EXPECT_NE(text.find("Minimum point      (-0.500000 -0.500000 -0.500000)"), std::string::npos);
}

TEST(ExchangeTables, ConversionsOfTheExamples) {
    bfp::Model model{"m", {{100, 200, 300, -65536, 32768}}, {{4, 5, 6, 9, {1, 2, 3, 4}}, {1, 1, 1, 2, {}}}, 0};
    const auto bytes = bfp::ModelRecordBytes(model);
    const auto arrays = LocateModelArrays(bytes);
    ASSERT_TRUE(arrays);
    const ExchangePoint p = PointFromVertex(*arrays, 0);
    EXPECT_DOUBLE_EQ(p.x, 1.0);
    EXPECT_DOUBLE_EQ(p.y, 3.0);
    EXPECT_DOUBLE_EQ(p.z, 2.0);
    EXPECT_DOUBLE_EQ(p.u, 1.0);
    EXPECT_DOUBLE_EQ(p.v, 0.5);
    const ExchangeFace f = FaceFromTriangle(*arrays, 0, 3);
    EXPECT_EQ(f.a, 6u);
    EXPECT_EQ(f.b, 5u);
    EXPECT_EQ(f.c, 4u);
    EXPECT_EQ(f.carried, (std::array<uint8_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(f.material, 0u);
    EXPECT_EQ(FaceFromTriangle(*arrays, 1, 3).material, 2u);
}

}  // namespace
