#include "tests/toolkit3ds/support.h"

using ChunkTreeTest = ToolkitTest;

namespace {

Chunk3ds* Make(std::uint32_t tag) {
    Chunk3ds* chunk = nullptr;
    NewChunkOfType3ds(&chunk, tag);
    return chunk;
}

std::vector<std::uint32_t> ChildTags(const Chunk3ds* parent) {
    std::vector<std::uint32_t> tags;
    for (const Chunk3ds* c = parent->child; c != nullptr; c = c->next) {
        tags.push_back(c->tag);
    }
    return tags;
}

// Owns a tree for the length of a test.
struct Tree {
    Chunk3ds* root;
    explicit Tree(std::uint32_t tag) : root(Make(tag)) {}
    ~Tree() { ReleaseChunk3ds(&root); }
};

}  // namespace

TEST_F(ChunkTreeTest, InsertionFollowsOrderWeights) {
    Tree scene(CHUNK_SCENE);
    for (std::uint32_t tag : {0x3D3Eu, 0xAFFFu, 0x0100u}) {
        AppendChild3ds(scene.root, Make(tag));
    }
    InsertChild3ds(scene.root, Make(CHUNK_OBJECT));
    EXPECT_EQ(ChildTags(scene.root), (std::vector<std::uint32_t>{0x3D3E, 0xAFFF, 0x0100, 0x4000}));
    InsertChild3ds(scene.root, Make(CHUNK_MATERIAL));
    EXPECT_EQ(ChildTags(scene.root), (std::vector<std::uint32_t>{0x3D3E, 0xAFFF, 0xAFFF, 0x0100, 0x4000}));

    Tree colour(CHUNK_AMBIENT_COLOUR);
    InsertChild3ds(colour.root, Make(CHUNK_RGB24_ALT));
    InsertChild3ds(colour.root, Make(CHUNK_RGB24));
    InsertChild3ds(colour.root, Make(CHUNK_RGB_FLOAT));  // weight 0: last
    EXPECT_EQ(ChildTags(colour.root), (std::vector<std::uint32_t>{0x0011, 0x0012, 0x0010}));
}

TEST_F(ChunkTreeTest, FindingStartsWithTheNodeItself) {
    Tree top(CHUNK_MESH_FILE);
    Chunk3ds* scene = Make(CHUNK_SCENE);
    AppendChild3ds(top.root, scene);
    Chunk3ds* inner = Make(CHUNK_SCENE);
    AppendChild3ds(scene, inner);
    Chunk3ds* found = nullptr;
    FindChunk3ds(scene, CHUNK_SCENE, &found);
    EXPECT_EQ(found, scene);
    FindChunk3ds(top.root, CHUNK_SCENE, &found);
    EXPECT_EQ(found, scene);
    FindChunk3ds(top.root, CHUNK_OBJECT, &found);
    EXPECT_EQ(found, nullptr);
    FindNextChunk3ds(scene->child, CHUNK_SCENE, &found);
    EXPECT_EQ(found, inner);
    FindChunk3ds(nullptr, CHUNK_SCENE, &found);
    EXPECT_EQ(found, nullptr);
    FindChunk3ds(top.root, CHUNK_SCENE, nullptr);
    EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{ERR_INVALID_ARG});
}

TEST_F(ChunkTreeTest, ReplaceOrAddKeepsThePlaceAndEmptiesTheNode) {
    Tree scene(CHUNK_SCENE);
    for (std::uint32_t tag : {0x3D3Eu, 0x0100u, 0x4000u}) {
        AppendChild3ds(scene.root, Make(tag));
    }
    Chunk3ds* scale = scene.root->child->next;
    NewChunkData3ds(scale);
    AppendChild3ds(scale, Make(CHUNK_RGB24));
    Chunk3ds* replaced = nullptr;
    ReplaceOrAddChild3ds(scene.root, CHUNK_SCENE_SCALE, &replaced);
    EXPECT_EQ(replaced, scale);
    EXPECT_EQ(replaced->tag, CHUNK_SCENE_SCALE);
    EXPECT_EQ(replaced->data, nullptr);
    EXPECT_EQ(replaced->child, nullptr);
    EXPECT_EQ(ChildTags(scene.root), (std::vector<std::uint32_t>{0x3D3E, 0x0100, 0x4000}));

    ReplaceOrAddChild3ds(scene.root, CHUNK_MATERIAL, &replaced);
    EXPECT_EQ(ChildTags(scene.root), (std::vector<std::uint32_t>{0x3D3E, 0xAFFF, 0x0100, 0x4000}));
}

TEST_F(ChunkTreeTest, CopyingMovesRecordsThatCanBeReadAgain) {
    Database3ds* db = ReadDatabase(Chunk(0x4D4D, Chunk(0x4000, {'B', 'o', 'x', 0})));
    Chunk3ds* object = db->top->child;
    auto* record = static_cast<StringData3ds*>(ReadChunkData3ds(object));
    Chunk3ds* copy = nullptr;
    CopyChunk3ds(object, &copy);
    EXPECT_EQ(copy->data, record);
    EXPECT_EQ(object->data, nullptr);
    EXPECT_EQ(copy->position, object->position);
    EXPECT_STREQ(static_cast<StringData3ds*>(ReadChunkData3ds(object))->text, "Box");
    ReleaseChunk3ds(&copy);

    // Once the file is closed the record is copied instead.
    CloseAllFiles3ds();
    CopyChunk3ds(object, &copy);
    ASSERT_NE(copy->data, nullptr);
    EXPECT_NE(copy->data, object->data);
    EXPECT_STREQ(static_cast<StringData3ds*>(copy->data)->text, "Box");
    EXPECT_STREQ(static_cast<StringData3ds*>(object->data)->text, "Box");
    ReleaseChunk3ds(&copy);
}

TEST_F(ChunkTreeTest, DeepCopiesKeepChildOrderAndSurviveTheSource) {
    Tree faces(CHUNK_FACE_LIST);
    auto* group = static_cast<FaceMaterialData3ds*>(NewChunkData3ds(faces.root));
    (void)group;
    Chunk3ds* material = Make(CHUNK_FACE_MATERIAL);
    auto* data = static_cast<FaceMaterialData3ds*>(NewChunkData3ds(material));
    data->name = DuplicateString3ds("Stone");
    data->count = 2;
    data->faces = static_cast<std::uint16_t*>(std::malloc(2 * sizeof(std::uint16_t)));
    data->faces[0] = 4;
    data->faces[1] = 9;
    AppendChild3ds(faces.root, material);
    AppendChild3ds(faces.root, Make(CHUNK_FACE_SMOOTHING));

    Chunk3ds* copy = nullptr;
    CopyChunk3ds(faces.root, &copy);
    FreeChunkData3ds(material);
    ASSERT_EQ(ChildTags(copy), (std::vector<std::uint32_t>{0x4130, 0x4150}));
    const auto* copied = static_cast<FaceMaterialData3ds*>(copy->child->data);
    EXPECT_STREQ(copied->name, "Stone");
    EXPECT_EQ(copied->faces[1], 9);
    ReleaseChunk3ds(&copy);
}

TEST_F(ChunkTreeTest, LongSiblingChainsAreReleasedWithoutRecursion) {
    Tree scene(CHUNK_SCENE);
    Chunk3ds** link = &scene.root->child;
    for (int i = 0; i < 300000; ++i) {
        *link = Make(CHUNK_OBJECT);
        link = &(*link)->next;
    }
    ResetChunk3ds(scene.root);
    EXPECT_EQ(scene.root->child, nullptr);
    EXPECT_EQ(scene.root->tag, 0U);
}
