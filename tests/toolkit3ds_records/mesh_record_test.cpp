// Mesh records in memory: defaults, array sizing and dropping, group lists,
// centring and names.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "tests/toolkit3ds_records/records_test_support.h"
#include "toolkit3ds/mesh3ds.h"

namespace {

class MeshRecordTest : public RecordsTest {
protected:
    void TearDown() override {
        DiscardMesh3ds(&mesh);
        RecordsTest::TearDown();
    }
    MeshRecord3ds* mesh = nullptr;
};

TEST_F(MeshRecordTest, PrepareGivesTheDefaultsAndSizesVerticesAndFaces) {
    PrepareMesh3ds(&mesh, 3, 2, 0);
    ASSERT_NE(mesh, nullptr);
    ExpectNoErrors();
    EXPECT_STREQ(mesh->name, "");
    for (uint8_t flag : mesh->objectFlags) EXPECT_EQ(flag, 0);
    EXPECT_EQ(mesh->vertexCount, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(mesh->vertices[i].x, 0.0f);
        EXPECT_EQ(mesh->vertices[i].y, 0.0f);
        EXPECT_EQ(mesh->vertices[i].z, 0.0f);
    }
    EXPECT_EQ(mesh->faceCount, 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(mesh->faces[i].a, 0);
        EXPECT_EQ(mesh->faces[i].b, 1);
        EXPECT_EQ(mesh->faces[i].c, 2);
        EXPECT_EQ(mesh->faces[i].flags, 0);
    }
    EXPECT_EQ(mesh->mapCoords, nullptr);
    EXPECT_EQ(mesh->vertexFlags, nullptr);
    EXPECT_EQ(mesh->smoothing, nullptr);
    EXPECT_EQ(mesh->faceMaterials, nullptr);
    EXPECT_EQ(mesh->procedureData, nullptr);
    EXPECT_EQ(mesh->hasMappingSetup, 0);
    const float values[6] = {1, 1, 0, 0, 0, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(mesh->mappingValues[i], values[i]);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(mesh->mappingMatrix[i], (i == 1 || i == 5) ? 1.0f : 0.0f) << i;
        EXPECT_EQ(mesh->localAxes[i], 0.0f);
    }
    for (float extent : mesh->mappingExtents) EXPECT_EQ(extent, 1.0f);
    EXPECT_EQ(mesh->hasFlag4015, 0);
    EXPECT_STREQ(mesh->procedureName, "");
}

TEST_F(MeshRecordTest, PrepareExtrasSizeTheOptionalArraysToMatch) {
    PrepareMesh3ds(&mesh, 4, 2, MESH_ARRAY_MAP_COORDS | MESH_ARRAY_VERTEX_FLAGS | MESH_ARRAY_SMOOTHING);
    ExpectNoErrors();
    EXPECT_EQ(mesh->mapCoordCount, 4);
    ASSERT_NE(mesh->mapCoords, nullptr);
    EXPECT_EQ(mesh->mapCoords[3].u, 0.0f);
    EXPECT_EQ(mesh->vertexFlagCount, 4);
    ASSERT_NE(mesh->vertexFlags, nullptr);
    EXPECT_EQ(mesh->vertexFlags[3], 0);
    ASSERT_NE(mesh->smoothing, nullptr);
    EXPECT_EQ(mesh->smoothing[1], 0u);
}

TEST_F(MeshRecordTest, PrepareOnAReusedRecordLeavesNothingOfTheOldContent) {
    PrepareMesh3ds(&mesh, 2, 1, MESH_ARRAY_MAP_COORDS | MESH_ARRAY_SMOOTHING);
    mesh->vertices[1] = {5, 6, 7};
    mesh->faceMaterialCount = 2;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    SizeGroupFaces3ds(mesh, 1, 3);
    mesh->hasFlag4015 = 1;
    MeshRecord3ds* before = mesh;

    PrepareMesh3ds(&mesh, 2, 1, 0);  // ASan reports any block left behind
    ExpectNoErrors();
    EXPECT_EQ(mesh, before);
    EXPECT_EQ(mesh->vertices[1].x, 0.0f);
    EXPECT_EQ(mesh->mapCoords, nullptr);
    EXPECT_EQ(mesh->smoothing, nullptr);
    EXPECT_EQ(mesh->faceMaterials, nullptr);
    EXPECT_EQ(mesh->hasFlag4015, 0);
}

TEST_F(MeshRecordTest, NullRecordPointersAreInvalidArguments) {
    PrepareMesh3ds(nullptr, 1, 1, 0);
    ExpectErrors({ERR_INVALID_ARG});
    for (auto call :
         {+[] { SizeMeshArrays3ds(nullptr, MESH_ARRAY_ALL); }, +[] { DropMeshArrays3ds(nullptr, MESH_ARRAY_ALL); },
          +[] { SizeGroupFaces3ds(nullptr, 0, 1); }, +[] { CentreMeshAxes3ds(nullptr); }}) {
        ClearErrors3ds();
        call();
        ExpectErrors({ERR_INVALID_ARG});
    }
}

TEST_F(MeshRecordTest, SizingKeepsElementsAndFillsNewOnesWithTheNeutralElement) {
    PrepareMesh3ds(&mesh, 2, 1, 0);
    mesh->vertices[1] = {1, 2, 3};
    mesh->faces[0] = {7, 8, 9, 7};
    mesh->vertexCount = 4;
    mesh->faceCount = 3;
    mesh->procedureSize = 5;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_VERTICES | MESH_ARRAY_FACES | MESH_ARRAY_PROCEDURE);
    ExpectNoErrors();
    EXPECT_EQ(mesh->vertices[1].z, 3.0f);
    EXPECT_EQ(mesh->vertices[3].x, 0.0f);
    EXPECT_EQ(mesh->faces[0].a, 7);
    EXPECT_EQ(mesh->faces[2].b, 1);
    EXPECT_EQ(mesh->faces[2].c, 2);
    ASSERT_NE(mesh->procedureData, nullptr);
    EXPECT_EQ(mesh->procedureData[4], 0);

    mesh->vertexCount = 1;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_VERTICES);
    mesh->vertexCount = 3;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_VERTICES);
    EXPECT_EQ(mesh->vertices[1].z, 0.0f);  // regrown, not the old value
}

TEST_F(MeshRecordTest, ACountOfZeroFreesTheArray) {
    PrepareMesh3ds(&mesh, 2, 1, MESH_ARRAY_MAP_COORDS);
    mesh->mapCoordCount = 0;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_MAP_COORDS);
    ExpectNoErrors();
    EXPECT_EQ(mesh->mapCoords, nullptr);
    EXPECT_NE(mesh->vertices, nullptr);
}

TEST_F(MeshRecordTest, FaceMaterialGroupsResizeWithoutLosingOrLeakingIndexLists) {
    PrepareMesh3ds(&mesh, 3, 1, 0);
    mesh->faceMaterialCount = 3;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    for (uint16_t g = 0; g < 3; ++g) SizeGroupFaces3ds(mesh, g, 2);
    mesh->faceMaterials[0].faceIndices[1] = 9;

    mesh->faceMaterialCount = 1;  // the lists of groups 1 and 2 must be freed
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    mesh->faceMaterialCount = 2;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    ExpectNoErrors();
    EXPECT_EQ(mesh->faceMaterials[0].faceIndices[1], 9);
    EXPECT_EQ(mesh->faceMaterials[1].faceIndices, nullptr);
    EXPECT_EQ(mesh->faceMaterials[1].faceCount, 0);
    EXPECT_STREQ(mesh->faceMaterials[1].materialName, "");
    SizeGroupFaces3ds(mesh, 1, 1);  // a fresh group has nothing to free
    ExpectNoErrors();
}

TEST_F(MeshRecordTest, DroppingFreesArraysButKeepsCounts) {
    PrepareMesh3ds(&mesh, 3, 1, MESH_ARRAY_SMOOTHING);
    mesh->faceMaterialCount = 2;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    SizeGroupFaces3ds(mesh, 0, 4);
    DropMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS | MESH_ARRAY_SMOOTHING);
    ExpectNoErrors();
    EXPECT_EQ(mesh->faceMaterials, nullptr);
    EXPECT_EQ(mesh->smoothing, nullptr);
    EXPECT_EQ(mesh->faceMaterialCount, 2);
    EXPECT_EQ(mesh->faceCount, 1);
    EXPECT_NE(mesh->vertices, nullptr);
}

TEST_F(MeshRecordTest, GroupListsNeedFacesAGroupAndACount) {
    PrepareMesh3ds(&mesh, 3, 0, 0);
    mesh->faceMaterialCount = 1;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    SizeGroupFaces3ds(mesh, 0, 1);
    ExpectErrors({ERR_INVALID_DATA});  // no faces

    PrepareMesh3ds(&mesh, 3, 2, 0);
    mesh->faceMaterialCount = 1;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    ClearErrors3ds();
    SizeGroupFaces3ds(mesh, 1, 1);
    ExpectErrors({ERR_INVALID_DATA});  // group index not below the count
    ClearErrors3ds();
    SizeGroupFaces3ds(mesh, 0, 0);
    ExpectErrors({ERR_INVALID_ARG});
    ClearErrors3ds();
    SizeGroupFaces3ds(mesh, 0, 3);
    ExpectNoErrors();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(mesh->faceMaterials[0].faceIndices[i], 0);
    EXPECT_EQ(mesh->faceMaterials[0].faceCount, 0);
}

TEST_F(MeshRecordTest, AGroupCountBeyondTheSizedGroupsIsRefused) {
    PrepareMesh3ds(&mesh, 3, 2, 0);
    mesh->faceMaterialCount = 5;  // counted but never sized
    SizeGroupFaces3ds(mesh, 0, 1);
    ExpectErrors({ERR_INVALID_DATA});
}

TEST_F(MeshRecordTest, CentringPutsTheUnitAxesAtTheBoundingBoxCentre) {
    PrepareMesh3ds(&mesh, 3, 1, 0);
    mesh->vertices[0] = {0, 0, 0};
    mesh->vertices[1] = {2, 4, -6};
    mesh->vertices[2] = {1, 1, -1};
    CentreMeshAxes3ds(mesh);
    ExpectNoErrors();
    const float expected[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 2, -3};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(mesh->localAxes[i], expected[i]) << i;
}

TEST_F(MeshRecordTest, CentringWithoutVerticesIsInvalidData) {
    PrepareMesh3ds(&mesh, 0, 1, 0);
    CentreMeshAxes3ds(mesh);
    ExpectErrors({ERR_INVALID_DATA});
}

TEST_F(MeshRecordTest, LongNamesAreTruncatedToTheirFields) {
    PrepareMesh3ds(&mesh, 1, 1, 0);
    SetMeshName3ds(mesh, "ABCDEFGHIJKLMNOP");
    EXPECT_STREQ(mesh->name, "ABCDEFGHIJ");
    mesh->faceMaterialCount = 1;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    SetGroupMaterialName3ds(&mesh->faceMaterials[0], "0123456789abcdefXYZ");
    EXPECT_STREQ(mesh->faceMaterials[0].materialName, "0123456789abcdef");
    ExpectNoErrors();
}

TEST_F(MeshRecordTest, DiscardFreesEverythingAndClearsThePointer) {
    PrepareMesh3ds(&mesh, 3, 2, MESH_ARRAY_ALL);
    mesh->faceMaterialCount = 1;
    mesh->procedureSize = 3;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS | MESH_ARRAY_PROCEDURE);
    SizeGroupFaces3ds(mesh, 0, 2);
    DiscardMesh3ds(&mesh);
    EXPECT_EQ(mesh, nullptr);
    DiscardMesh3ds(&mesh);
    DiscardMesh3ds(nullptr);
    ExpectNoErrors();
}

}  // namespace
