// Records through a file: prepare, store, write, read, fetch gives back what
// was stored.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "tests/toolkit3ds_records/records_test_support.h"
#include "toolkit3ds/material3ds.h"
#include "toolkit3ds/mesh3ds.h"
#include "toolkit3ds/scenesettings3ds.h"

namespace {

class RoundTripTest : public RecordsTest {
protected:
    void TearDown() override {
        DiscardMesh3ds(&mesh);
        DiscardMesh3ds(&fetched);
        DiscardMaterial3ds(&material);
        DiscardSceneSettings3ds(&settings);
        DiscardSceneSettings3ds(&fetchedSettings);
        RecordsTest::TearDown();
    }

    void FillEveryMeshPart() {
        PrepareMesh3ds(&mesh, 4, 2, MESH_ARRAY_MAP_COORDS | MESH_ARRAY_VERTEX_FLAGS | MESH_ARRAY_SMOOTHING);
        SetMeshName3ds(mesh, "Everything");
        for (uint16_t i = 0; i < 4; ++i) {
            mesh->vertices[i] = {i * 1.5f, -i * 0.25f, 100.0f + i};
            mesh->mapCoords[i] = {i * 0.125f, 1.0f - i * 0.125f};
            mesh->vertexFlags[i] = uint16_t(0x0100 + i);
        }
        mesh->faces[0] = {0, 1, 2, 7};
        mesh->faces[1] = {2, 3, 0, 7};
        mesh->smoothing[0] = 1;
        mesh->smoothing[1] = 0x80000000u;
        mesh->hasMappingSetup = 1;
        mesh->mappingType = 2;
        mesh->mappingValues[3] = 0.5f;
        mesh->mappingMatrix[11] = -3.0f;
        mesh->mappingExtents[2] = 7.0f;
        mesh->vertices[3].x = -8.0f;
        CentreMeshAxes3ds(mesh);
        mesh->colourIndex = 9;
        mesh->faceMaterialCount = 2;
        SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
        SetGroupMaterialName3ds(&mesh->faceMaterials[0], "MAT0");
        SizeGroupFaces3ds(mesh, 0, 2);
        mesh->faceMaterials[0].faceCount = 2;
        mesh->faceMaterials[0].faceIndices[1] = 1;
        SetGroupMaterialName3ds(&mesh->faceMaterials[1], "EMPTY");
        mesh->hasSideMaterials = 1;
        std::strcpy(mesh->sideMaterials[5], "SIDE5");
        mesh->procedureSize = 5;
        SizeMeshArrays3ds(mesh, MESH_ARRAY_PROCEDURE);
        std::memcpy(mesh->procedureData, "\x01\x02\x00\x04\xFF", 5);
        std::strcpy(mesh->procedureName, "PROCNAME");
        mesh->objectFlags[0] = mesh->objectFlags[3] = mesh->objectFlags[6] = 1;
        mesh->hasFlag4015 = 1;
        ASSERT_FALSE(ErrorPending3ds());
    }

    static void GiveData(MapRecord3ds* map, const char* bytes, uint32_t size) {
        map->dataSize = size;
        map->data = static_cast<uint8_t*>(std::malloc(size));
        std::memcpy(map->data, bytes, size);
    }

    void FillMaterial() {
        PrepareMaterial3ds(&material);
        SetMaterialName3ds(material, "Brick wall");
        material->diffuse[0] = 0.5f;
        material->transparencyFalloff = -0.4f;
        material->flagA088 = 1;
        SetMapFileName3ds(&material->maps[0], "BRICK.BMP");
        material->maps[0].strength = 0.75f;
        material->maps[0].tiling = 2;
        material->maps[0].uScale = 4.0f;
        GiveData(&material->maps[0], "abc", 3);
        SetMapFileName3ds(&material->maps[6], "BUMP.BMP");
        material->maps[6].tintMode = 4;
        GiveData(&material->maps[6], "\0\1\2\3", 4);
        SetMapFileName3ds(&material->map16, "LAST.BMP");
        GiveData(&material->map16, "z", 1);
        material->flagA310 = 1;
        material->optionA310b = 1;
    }

    MeshRecord3ds* mesh = nullptr;
    MeshRecord3ds* fetched = nullptr;
    MaterialRecord3ds* material = nullptr;
    SceneSettings3ds* settings = nullptr;
    SceneSettings3ds* fetchedSettings = nullptr;
};

template <typename T>
void ExpectSameBlock(const T* expected, const T* actual, size_t count) {
    ASSERT_EQ(expected == nullptr, actual == nullptr);
    if (count > 0) {
        EXPECT_EQ(std::memcmp(expected, actual, count * sizeof(T)), 0);
    }
}

void ExpectSameMesh(const MeshRecord3ds& a, const MeshRecord3ds& b) {
    EXPECT_STREQ(a.name, b.name);
    EXPECT_EQ(std::memcmp(a.objectFlags, b.objectFlags, sizeof a.objectFlags), 0);
    ASSERT_EQ(a.vertexCount, b.vertexCount);
    ExpectSameBlock(a.vertices, b.vertices, a.vertexCount);
    ASSERT_EQ(a.vertexFlagCount, b.vertexFlagCount);
    ExpectSameBlock(a.vertexFlags, b.vertexFlags, a.vertexFlagCount);
    ASSERT_EQ(a.mapCoordCount, b.mapCoordCount);
    ExpectSameBlock(a.mapCoords, b.mapCoords, a.mapCoordCount);
    EXPECT_EQ(a.hasMappingSetup, b.hasMappingSetup);
    EXPECT_EQ(a.mappingType, b.mappingType);
    EXPECT_EQ(std::memcmp(a.mappingValues, b.mappingValues, sizeof a.mappingValues), 0);
    EXPECT_EQ(std::memcmp(a.mappingMatrix, b.mappingMatrix, sizeof a.mappingMatrix), 0);
    EXPECT_EQ(std::memcmp(a.mappingExtents, b.mappingExtents, sizeof a.mappingExtents), 0);
    EXPECT_EQ(std::memcmp(a.localAxes, b.localAxes, sizeof a.localAxes), 0);
    ASSERT_EQ(a.faceCount, b.faceCount);
    ExpectSameBlock(a.faces, b.faces, a.faceCount);
    ExpectSameBlock(a.smoothing, b.smoothing, a.faceCount);
    EXPECT_EQ(a.hasSideMaterials, b.hasSideMaterials);
    EXPECT_EQ(std::memcmp(a.sideMaterials, b.sideMaterials, sizeof a.sideMaterials), 0);
    EXPECT_EQ(a.colourIndex, b.colourIndex);
    ASSERT_EQ(a.faceMaterialCount, b.faceMaterialCount);
    for (int i = 0; i < a.faceMaterialCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(a.faceMaterials[i].materialName, b.faceMaterials[i].materialName);
        ASSERT_EQ(a.faceMaterials[i].faceCount, b.faceMaterials[i].faceCount);
        if (a.faceMaterials[i].faceCount > 0) {
            ExpectSameBlock(a.faceMaterials[i].faceIndices, b.faceMaterials[i].faceIndices,
                            a.faceMaterials[i].faceCount);
        }
    }
    EXPECT_EQ(a.hasFlag4015, b.hasFlag4015);
    ASSERT_EQ(a.procedureSize, b.procedureSize);
    ExpectSameBlock(a.procedureData, b.procedureData, a.procedureSize);
    EXPECT_STREQ(a.procedureName, b.procedureName);
}

TEST_F(RoundTripTest, AMeshWithEveryOptionalPartComesBackEqual) {
    FillEveryMeshPart();
    StoreMesh3ds(db, mesh);
    WriteAndReadBack("mesh.3ds");
    EXPECT_EQ(CountMeshes3ds(read), 1u);
    FetchMeshByIndex3ds(read, 0, &fetched);
    ExpectNoErrors();
    ASSERT_NE(fetched, nullptr);
    ExpectSameMesh(*mesh, *fetched);
    EXPECT_EQ(fetched->localAxes[9], (-8.0f + 3.0f) * 0.5f);

    // The fetched record owns its blocks: fetching again into it and resizing
    // them must neither leak nor free the database's copies.
    FetchMeshByIndex3ds(read, 0, &fetched);
    fetched->vertexCount = 6;
    SizeMeshArrays3ds(fetched, MESH_ARRAY_VERTICES);
    EXPECT_EQ(fetched->vertices[5].x, 0.0f);
    ExpectNoErrors();
}

TEST_F(RoundTripTest, AShortSmoothingChunkIsPaddedToTheFaceCount) {
    PrepareMesh3ds(&mesh, 3, 3, MESH_ARRAY_SMOOTHING);
    SetMeshName3ds(mesh, "Short");
    mesh->smoothing[0] = 4;
    StoreMesh3ds(db, mesh);
    Chunk3ds* object = nullptr;
    LookUpObject3ds(db, "Short", &object);
    Chunk3ds* faceList = ChildOf(ChildOf(object, CHUNK_TRIANGLE_MESH), CHUNK_FACE_LIST);
    DataOf<SmoothingData3ds>(ChildOf(faceList, CHUNK_FACE_SMOOTHING))->count = 1;
    WriteAndReadBack("short.3ds");
    FetchMeshByIndex3ds(read, 0, &fetched);
    ExpectNoErrors();
    ASSERT_NE(fetched->smoothing, nullptr);
    EXPECT_EQ(fetched->smoothing[0], 4u);
    EXPECT_EQ(fetched->smoothing[2], 0u);
}

TEST_F(RoundTripTest, MaterialsKeepTheirChunksMapSlotsAndDataBlocks) {
    FillMaterial();
    StoreMaterial3ds(db, material);
    MaterialRecord3ds* plain = nullptr;
    PrepareMaterial3ds(&plain);
    SetMaterialName3ds(plain, "Plain");
    StoreMaterial3ds(db, plain);
    DiscardMaterial3ds(&plain);
    Chunk3ds* original = nullptr;
    LookUpMaterial3ds(db, "Brick wall", &original);
    const std::string tree = TreeOf(original);
    WriteAndReadBack("materials.3ds");

    Chunk3ds* back = nullptr;
    LookUpMaterial3ds(read, "Brick wall", &back);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(TreeOf(back), tree);
    EXPECT_NE(tree.find("A200{0030 A300 A351 A354 A356} A320"), std::string::npos) << tree;
    auto* data = DataOf<RawData3ds>(ChildOf(back, 0xA324));
    ASSERT_EQ(data->size, 4u);
    EXPECT_EQ(std::memcmp(data->bytes, "\0\1\2\3", 4), 0);
    EXPECT_EQ(PercentUnder(back, 0xA052), 40);
    EXPECT_EQ(DataOf<MapCubeSetupData3ds>(ChildOf(back, 0xA310))->options, 0x11);
    Chunk3ds* plainBack = nullptr;
    LookUpMaterial3ds(read, "Plain", &plainBack);
    EXPECT_NE(plainBack, nullptr);
    ExpectNoErrors();
}

TEST_F(RoundTripTest, SettingsComeBackEqual) {
    PrepareSceneSettings3ds(&settings);
    settings->scale = 0.01f;
    settings->size1420 = 2048;
    settings->ambientLight[0] = 0.3f;
    settings->ambientLight[1] = 0.3f;
    settings->ambientLight[2] = 0.3f;
    settings->constants1500[0] = 12.5f;
    StoreSceneSettings3ds(db, settings);
    WriteAndReadBack("settings.3ds");
    FetchSceneSettings3ds(read, &fetchedSettings);
    ExpectNoErrors();
    ASSERT_NE(fetchedSettings, nullptr);
    EXPECT_EQ(std::memcmp(settings, fetchedSettings, sizeof *settings), 0);
}

// The database a model export builds: settings, one material per texture,
// and one mesh whose faces are grouped by texture.
TEST_F(RoundTripTest, AnExportedModelHoldsTheExpectedChunkTree) {
    PrepareSceneSettings3ds(&settings);
    StoreSceneSettings3ds(db, settings);
    for (const char* name : {"MAT0", "MAT1"}) {
        PrepareMaterial3ds(&material);
        SetMaterialName3ds(material, name);
        SetMapFileName3ds(&material->maps[0], "O1A0.bmp");
        material->maps[0].strength = 1.0f;
        material->maps[0].tiling = 2;
        material->flagA250 = 1;
        StoreMaterial3ds(db, material);
        DiscardMaterial3ds(&material);
    }
    PrepareMesh3ds(&mesh, 3, 1, 0);
    SetMeshName3ds(mesh, "Model");
    mesh->faceMaterialCount = 2;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    SizeGroupFaces3ds(mesh, 0, 1);
    mesh->faceMaterials[0].faceCount = 1;
    SizeGroupFaces3ds(mesh, 1, 1);
    mesh->mapCoordCount = 3;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_MAP_COORDS);
    mesh->hasMappingSetup = 1;
    mesh->vertexFlagCount = 3;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_VERTEX_FLAGS);
    StoreMesh3ds(db, mesh);
    WriteAndReadBack("model.3ds");
    const std::string material =
        "AFFF{A000 A010{0011 0012} A020{0011 0012} A030{0011 0012} A040{0030} A041{0030}"
        " A050{0030} A052{0030} A053{0030} A100 A084{0030} A087 A250 A200{0030 A300 A351}}";
    EXPECT_EQ(TreeOf(read->top), "4D4D{0002 3D3D{3D3E " + material + " " + material +
                                     " 0100 1400 1420 1450 1460 1500 2100{0010 0013}"
                                     " 4000{4100{4110 4140 4170 4111 4160 4165 4120{4130 4130}}}} B000{B00A}}");
    ExpectNoErrors();
}

}  // namespace
