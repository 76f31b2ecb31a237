#include "support.h"

using DatabaseWriteTest = ToolkitTest;

namespace {

ByteVector NewMeshFileBytes() {
    return Chunk(0x4D4D, Concat({Chunk(0x0002, {3, 0, 0, 0}), Chunk(0x3D3D, Chunk(0x3D3E, {3, 0, 0, 0})),
                                 Chunk(0xB000, Chunk(0xB00A, {5, 0, 0, 30, 0, 0, 0}))}));
}

Chunk3ds* AddChild(Chunk3ds* parent, std::uint32_t tag) {
    Chunk3ds* chunk = nullptr;
    NewChunkOfType3ds(&chunk, tag);
    InsertChild3ds(parent, chunk);
    return chunk;
}

}  // namespace

TEST_F(DatabaseWriteTest, ANewMeshFileWrittenAtOnce) {
    NewDatabase3ds(&database_);
    CreateDatabase3ds(database_, DatabaseKind3ds::MeshFile);
    EXPECT_EQ(WriteDatabase(database_), NewMeshFileBytes());
    // Lengths are patched into the tree as well.
    EXPECT_EQ(database_->top->length, NewMeshFileBytes().size());
    EXPECT_FALSE(ErrorPending3ds());
}

TEST_F(DatabaseWriteTest, VersionChunksFollowTheReleaseLevel) {
    NewDatabase3ds(&database_);
    CreateDatabase3ds(database_, DatabaseKind3ds::ProjectFile);
    SetReleaseLevel3ds(database_, 3);
    Chunk3ds* chunk = nullptr;
    FindChunk3ds(database_->top, CHUNK_FILE_VERSION, &chunk);
    EXPECT_EQ(chunk, nullptr);  // project files carry no file version
    FindChunk3ds(database_->top, CHUNK_SCENE_VERSION, &chunk);
    EXPECT_EQ(static_cast<LongData3ds*>(chunk->data)->value, 4);
    FindChunk3ds(database_->top, CHUNK_KEYFRAME_HEADER, &chunk);
    EXPECT_EQ(static_cast<KeyframeHeaderData3ds*>(chunk->data)->revision, 6);

    CreateDatabase3ds(database_, DatabaseKind3ds::MaterialLibrary);
    EXPECT_EQ(database_->top->child, nullptr);
}

TEST_F(DatabaseWriteTest, RereadFilesKeepTheirContentAndGetNewVersions) {
    const ByteVector old = Chunk(0x4D4D, Concat({Chunk(0x0002, {2, 0, 0, 0}), Chunk(0x3D3D, Chunk(0x0100, {0, 0, 0x80, 0x3F})),
                                                 Chunk(0x1234, {9, 8, 7, 6, 5})}));
    Database3ds* db = ReadDatabase(old);
    const ByteVector written = WriteDatabase(db);
    const ByteVector expected = Chunk(0x4D4D, Concat({Chunk(0x0002, {3, 0, 0, 0}),
                                                      Chunk(0x3D3D, Concat({Chunk(0x3D3E, {3, 0, 0, 0}),
                                                                            Chunk(0x0100, {0, 0, 0x80, 0x3F})})),
                                                      Chunk(0xB000, Chunk(0xB00A, {5, 0, 0, 30, 0, 0, 0})),
                                                      Chunk(0x1234, {9, 8, 7, 6, 5})}));
    EXPECT_EQ(written, expected);
    // Records that the open source can give again are dropped after writing.
    EXPECT_EQ(db->top->child->next->child->next->data, nullptr);
}

TEST_F(DatabaseWriteTest, ParentNamesAreNotWrittenButGiveParentNumbers) {
    NewDatabase3ds(&database_);
    CreateDatabase3ds(database_, DatabaseKind3ds::MeshFile);
    Chunk3ds* section = nullptr;
    FindChunk3ds(database_->top, CHUNK_KEYFRAME_SECTION, &section);
    const char* names[] = {"Root", "Leaf"};
    Chunk3ds* headers[2];
    for (int i = 0; i < 2; ++i) {
        Chunk3ds* node = AddChild(section, CHUNK_NODE_B002);
        auto* number = static_cast<WordData3ds*>(NewChunkData3ds(AddChild(node, CHUNK_NODE_NUMBER)));
        number->value = 77;
        headers[i] = AddChild(node, CHUNK_NODE_HEADER);
        auto* header = static_cast<NodeHeaderData3ds*>(NewChunkData3ds(headers[i]));
        header->name = DuplicateString3ds(names[i]);
        header->parent = 12;
    }
    auto* parentName = static_cast<StringData3ds*>(NewChunkData3ds(AddChild(headers[1], CHUNK_PARENT_NAME)));
    parentName->text = DuplicateString3ds("Root");

    const ByteVector bytes = WriteDatabase(database_);
    EXPECT_FALSE(ErrorPending3ds());
    EXPECT_EQ(static_cast<NodeHeaderData3ds*>(headers[0]->data)->parent, 0xFFFF);
    EXPECT_EQ(static_cast<NodeHeaderData3ds*>(headers[1]->data)->parent, 0);

    // Read back, the leaf learns its parent's name again.
    Database3ds* reread = nullptr;
    NewDatabase3ds(&reread);
    ReadDatabase3ds(OpenFile3ds(PathOf("out.3ds").c_str(), "r"), reread);
    Chunk3ds* found = nullptr;
    FindChunk3ds(reread->top, CHUNK_PARENT_NAME, &found);
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(static_cast<StringData3ds*>(found->data)->text, "Root");
    ReleaseDatabase3ds(&reread);
    // "Root" is in the file once, as the first node's name.
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.find("Root"), text.rfind("Root"));
}

TEST_F(DatabaseWriteTest, AFailedWriteIsReported) {
    NewDatabase3ds(&database_);
    CreateDatabase3ds(database_, DatabaseKind3ds::MeshFile);
    Chunk3ds* scene = nullptr;
    FindChunk3ds(database_->top, CHUNK_SCENE, &scene);
    auto* vertices = static_cast<VertexListData3ds*>(NewChunkData3ds(AddChild(scene, CHUNK_VERTEX_LIST)));
    vertices->count = 3;  // but no array
    WriteDatabase(database_);
    EXPECT_EQ(Errors(), (std::vector<ErrorCode3ds>{ERR_INVALID_DATA, ERR_WRITING_DATABASE}));
}
