// Meshes in a database: the chunk trees that storing makes, replacing,
// looking up, counting and fetching.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "tests/toolkit3ds_records/records_test_support.h"
#include "toolkit3ds/mesh3ds.h"

namespace {

class MeshStoreTest : public RecordsTest {
protected:
    void TearDown() override {
        DiscardMesh3ds(&mesh);
        DiscardMesh3ds(&fetched);
        RecordsTest::TearDown();
    }

    // A named mesh of nv vertices (x = index) and nf faces.
    void PrepareNamed(const char* name, uint16_t nv, uint16_t nf, uint16_t extras = 0) {
        PrepareMesh3ds(&mesh, nv, nf, extras);
        SetMeshName3ds(mesh, name);
        for (uint16_t i = 0; i < nv; ++i) mesh->vertices[i] = {float(i), 0.5f, -1.0f};
    }

    Chunk3ds* Object(const char* name) {
        Chunk3ds* object = nullptr;
        LookUpObject3ds(db, name, &object);
        return object;
    }

    Chunk3ds* Body(const char* name) {
        Chunk3ds* object = Object(name);
        return object != nullptr ? ChildOf(object, CHUNK_TRIANGLE_MESH) : nullptr;
    }

    MeshRecord3ds* mesh = nullptr;
    MeshRecord3ds* fetched = nullptr;
};

TEST_F(MeshStoreTest, AMeshOfThreeVerticesAndOneFaceStoresExactlyItsFourParts) {
    PrepareNamed("Tri", 3, 1);
    StoreMesh3ds(db, mesh);
    ExpectNoErrors();
    Chunk3ds* object = Object("Tri");
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(TreeOf(object), "4000{4100{4110 4160 4165 4120}}");
    EXPECT_STREQ(DataOf<StringData3ds>(object)->text, "Tri");
    Chunk3ds* body = ChildOf(object, CHUNK_TRIANGLE_MESH);
    auto* vertices = DataOf<VertexListData3ds>(ChildOf(body, CHUNK_VERTEX_LIST));
    ASSERT_EQ(vertices->count, 3);
    EXPECT_EQ(vertices->vertices[2].x, 2.0f);
    EXPECT_NE(vertices->vertices, mesh->vertices);  // a copy, not the record's block
    EXPECT_EQ(DataOf<ByteData3ds>(ChildOf(body, CHUNK_COLOUR_INDEX))->value, 0);
    auto* faces = DataOf<FaceListData3ds>(ChildOf(body, CHUNK_FACE_LIST));
    ASSERT_EQ(faces->count, 1);
    EXPECT_EQ(faces->faces[0].c, 2);
}

TEST_F(MeshStoreTest, AMeshWithoutFacesStoresNoFaceListEvenWithGroups) {
    PrepareNamed("Cloud", 3, 0);
    mesh->faceMaterialCount = 1;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    StoreMesh3ds(db, mesh);
    ExpectNoErrors();
    EXPECT_EQ(TreeOf(Object("Cloud")), "4000{4100{4110 4160 4165}}");
}

TEST_F(MeshStoreTest, AGroupWithoutFacesIsStoredWithoutIndices) {
    PrepareNamed("Grp", 3, 2);
    mesh->faceMaterialCount = 2;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    SizeGroupFaces3ds(mesh, 0, 2);
    mesh->faceMaterials[0].faceCount = 2;
    mesh->faceMaterials[0].faceIndices[1] = 1;
    SetGroupMaterialName3ds(&mesh->faceMaterials[0], "MAT0");
    SizeGroupFaces3ds(mesh, 1, 1);  // a list of one that stays unused
    SetGroupMaterialName3ds(&mesh->faceMaterials[1], "MAT1");
    StoreMesh3ds(db, mesh);
    ExpectNoErrors();
    Chunk3ds* faceList = ChildOf(Body("Grp"), CHUNK_FACE_LIST);
    EXPECT_EQ(ChildrenOf(faceList), "4130 4130");
    auto* first = DataOf<FaceMaterialData3ds>(faceList->child);
    EXPECT_STREQ(first->name, "MAT0");
    ASSERT_EQ(first->count, 2);
    EXPECT_EQ(first->faces[1], 1);
    auto* second = DataOf<FaceMaterialData3ds>(faceList->child->next);
    EXPECT_STREQ(second->name, "MAT1");
    EXPECT_EQ(second->count, 0);
    EXPECT_EQ(second->faces, nullptr);
}

TEST_F(MeshStoreTest, EveryOptionalPartHasItsPlace) {
    PrepareNamed("Full", 3, 1, MESH_ARRAY_MAP_COORDS | MESH_ARRAY_VERTEX_FLAGS | MESH_ARRAY_SMOOTHING);
    mesh->hasMappingSetup = 1;
    mesh->faceMaterialCount = 1;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    mesh->hasSideMaterials = 1;
    mesh->procedureSize = 4;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_PROCEDURE);
    std::strcpy(mesh->procedureName, "PROC");
    for (uint8_t& flag : mesh->objectFlags) flag = 1;
    mesh->hasFlag4015 = 1;
    StoreMesh3ds(db, mesh);
    ExpectNoErrors();
    EXPECT_EQ(TreeOf(Object("Full")),
              "4000{4100{4110 4140 4170 4111 4160 4165 4120{4130 4150 4190} 4181 4182}"
              " 4010 4011 4013 4012 4014 4017 4016 4015}");
}

TEST_F(MeshStoreTest, Flag4015NeedsProcedureData) {
    PrepareNamed("NoProc", 3, 1);
    mesh->hasFlag4015 = 1;
    StoreMesh3ds(db, mesh);
    EXPECT_EQ(TreeOf(Object("NoProc")), "4000{4100{4110 4160 4165 4120}}");
}

TEST_F(MeshStoreTest, StoringUnderAnExistingNameReplacesTheObjectInPlace) {
    PrepareNamed("Box", 3, 1);
    StoreMesh3ds(db, mesh);
    PrepareNamed("Other", 1, 1);
    StoreMesh3ds(db, mesh);
    Chunk3ds* first = Object("Box");
    // Extra data that a 3D program attached to the first object.
    Chunk3ds* extra = nullptr;
    NewChunkOfType3ds(&extra, CHUNK_EXTRA_DATA);
    InsertChild3ds(ChildOf(first, CHUNK_TRIANGLE_MESH), extra);

    PrepareNamed("Box", 5, 2, MESH_ARRAY_MAP_COORDS);
    StoreMesh3ds(db, mesh);
    ExpectNoErrors();
    EXPECT_EQ(CountMeshes3ds(db), 2u);
    EXPECT_EQ(Object("Box"), first);
    Chunk3ds* scene = ChildOf(db->top, CHUNK_SCENE);
    EXPECT_EQ(ChildOf(scene, CHUNK_OBJECT), first);  // still ahead of "Other"
    EXPECT_EQ(TreeOf(first), "4000{4100{4110 4140 4160 4165 4120 8000}}");
    EXPECT_EQ(DataOf<VertexListData3ds>(ChildOf(Body("Box"), CHUNK_VERTEX_LIST))->count, 5);
}

TEST_F(MeshStoreTest, NamesAreCutToTenCharactersEvenWithoutTerminator) {
    PrepareNamed("", 3, 1);
    std::memset(mesh->name, 'N', sizeof mesh->name);  // no terminator at all
    StoreMesh3ds(db, mesh);
    ExpectNoErrors();
    Chunk3ds* object = Object("NNNNNNNNNN");
    ASSERT_NE(object, nullptr);
    EXPECT_STREQ(DataOf<StringData3ds>(object)->text, "NNNNNNNNNN");
}

TEST_F(MeshStoreTest, LongNamesInChunksAreCutWhenFetched) {
    PrepareNamed("Short", 3, 1);
    mesh->faceMaterialCount = 1;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    StoreMesh3ds(db, mesh);
    Chunk3ds* object = Object("Short");
    auto* name = DataOf<StringData3ds>(object);
    std::free(name->text);
    name->text = DuplicateString3ds("AVeryLongObjectName");
    Chunk3ds* faceList = ChildOf(ChildOf(object, CHUNK_TRIANGLE_MESH), CHUNK_FACE_LIST);
    auto* group = DataOf<FaceMaterialData3ds>(ChildOf(faceList, CHUNK_FACE_MATERIAL));
    std::free(group->name);
    group->name = DuplicateString3ds("0123456789abcdefghij");
    FetchMeshFromChunk3ds(object, &fetched);
    ExpectNoErrors();
    EXPECT_STREQ(fetched->name, "AVeryLongO");
    EXPECT_STREQ(fetched->faceMaterials[0].materialName, "0123456789abcdef");

    // Read from a file as other programs write them, the names are cut the same way.
    WriteAndReadBack("long.3ds");
    ASSERT_EQ(CountMeshes3ds(read), 1u);
    FetchMeshByIndex3ds(read, 0, &fetched);
    ExpectNoErrors();
    EXPECT_STREQ(fetched->name, "AVeryLongO");
    EXPECT_STREQ(fetched->faceMaterials[0].materialName, "0123456789abcdef");
}

TEST_F(MeshStoreTest, BadArgumentsAndDatabasesAreRefused) {
    PrepareNamed("X", 3, 1);
    StoreMesh3ds(nullptr, mesh);
    ExpectErrors({ERR_INVALID_ARG});
    ClearErrors3ds();
    StoreMesh3ds(db, nullptr);
    ExpectErrors({ERR_INVALID_ARG});

    Database3ds* empty = nullptr;
    NewDatabase3ds(&empty);
    ClearErrors3ds();
    StoreMesh3ds(empty, mesh);
    ExpectErrors({ERR_INVALID_DATABASE});
    ClearErrors3ds();
    FetchMeshByIndex3ds(empty, 0, &fetched);
    ExpectErrors({ERR_INVALID_DATABASE});
    ClearErrors3ds();
    CreateDatabase3ds(empty, DatabaseKind3ds::MaterialLibrary);
    ClearErrors3ds();
    StoreMesh3ds(empty, mesh);
    ExpectErrors({ERR_WRONG_DATABASE});
    ClearErrors3ds();
    FetchMeshByIndex3ds(empty, 0, &fetched);
    ExpectErrors({ERR_WRONG_DATABASE});
    ReleaseDatabase3ds(&empty);

    Chunk3ds* found = nullptr;
    ClearErrors3ds();
    LookUpObject3ds(db, nullptr, &found);
    ExpectErrors({ERR_INVALID_ARG});
    ClearErrors3ds();
    FetchMeshFromChunk3ds(nullptr, &fetched);
    ExpectErrors({ERR_INVALID_ARG});
}

TEST_F(MeshStoreTest, CountsThatRunAheadOfTheirArraysAreRefused) {
    PrepareNamed("Ahead", 3, 1);
    mesh->vertexCount = 4;  // the block holds 3
    StoreMesh3ds(db, mesh);
    ExpectErrors({ERR_INVALID_DATA});
    EXPECT_EQ(Object("Ahead"), nullptr);

    PrepareNamed("Ahead", 3, 1);
    mesh->faceMaterialCount = 1;
    SizeMeshArrays3ds(mesh, MESH_ARRAY_FACE_MATERIALS);
    mesh->faceMaterials[0].faceCount = 1;  // but no index list
    ClearErrors3ds();
    StoreMesh3ds(db, mesh);
    ExpectErrors({ERR_INVALID_DATA});
}

TEST_F(MeshStoreTest, OnlyObjectsWithATriangleMeshCount) {
    EXPECT_EQ(CountMeshes3ds(db), 0u);
    PrepareNamed("A", 3, 1);
    StoreMesh3ds(db, mesh);
    PrepareNamed("B", 3, 1);
    StoreMesh3ds(db, mesh);
    Chunk3ds* light = nullptr;
    NewChunkWithData3ds(&light, CHUNK_OBJECT);
    static_cast<StringData3ds*>(light->data)->text = DuplicateString3ds("Lamp");
    InsertChild3ds(ChildOf(db->top, CHUNK_SCENE), light);
    MarkObjectsChanged3ds(db);
    EXPECT_EQ(CountMeshes3ds(db), 2u);
    ClearErrors3ds();
    FetchMeshFromChunk3ds(light, &fetched);
    ExpectErrors({ERR_WRONG_OBJECT});
    EXPECT_EQ(CountMeshes3ds(nullptr), 0u);
}

TEST_F(MeshStoreTest, FetchingByIndexSkipsOtherObjectsAndStopsAtTheCount) {
    PrepareNamed("First", 2, 1);
    StoreMesh3ds(db, mesh);
    PrepareNamed("Second", 4, 1);
    StoreMesh3ds(db, mesh);
    FetchMeshByIndex3ds(db, 1, &fetched);
    ExpectNoErrors();
    ASSERT_NE(fetched, nullptr);
    EXPECT_STREQ(fetched->name, "Second");
    EXPECT_EQ(fetched->vertexCount, 4);

    fetched->colourIndex = 77;
    FetchMeshByIndex3ds(db, 2, &fetched);
    ExpectNoErrors();
    EXPECT_STREQ(fetched->name, "Second");
    EXPECT_EQ(fetched->colourIndex, 77);
    MeshRecord3ds* none = nullptr;
    FetchMeshByIndex3ds(db, 5, &none);
    EXPECT_EQ(none, nullptr);
    ExpectNoErrors();
}

TEST_F(MeshStoreTest, FetchingFromMemoryLeavesTheDatabaseIntact) {
    PrepareNamed("Mem", 3, 1, MESH_ARRAY_SMOOTHING);
    mesh->smoothing[0] = 5;
    StoreMesh3ds(db, mesh);
    FetchMeshByIndex3ds(db, 0, &fetched);
    FetchMeshByIndex3ds(db, 0, &fetched);  // again into the same record
    ExpectNoErrors();
    EXPECT_EQ(fetched->smoothing[0], 5u);
    auto* stored = DataOf<VertexListData3ds>(ChildOf(Body("Mem"), CHUNK_VERTEX_LIST));
    ASSERT_NE(stored->vertices, nullptr);
    EXPECT_NE(stored->vertices, fetched->vertices);
}

TEST_F(MeshStoreTest, FaceMaterialChunksAreCountedAlongTheChain) {
    EXPECT_EQ(CountFaceMaterialChunks3ds(nullptr), 0u);
    Chunk3ds* list = nullptr;
    NewChunkOfType3ds(&list, CHUNK_FACE_LIST);
    for (uint32_t tag : {CHUNK_FACE_SMOOTHING, CHUNK_FACE_MATERIAL, CHUNK_SIDE_MATERIALS, CHUNK_FACE_MATERIAL}) {
        Chunk3ds* child = nullptr;
        NewChunkOfType3ds(&child, tag);
        AppendChild3ds(list, child);
    }
    EXPECT_EQ(CountFaceMaterialChunks3ds(list->child), 2u);
    EXPECT_EQ(CountFaceMaterialChunks3ds(list), 0u);  // the chain of list itself
    ReleaseChunk3ds(&list);
}

}  // namespace
