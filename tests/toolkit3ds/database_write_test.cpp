#include "tests/toolkit3ds/support.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <csignal>
#endif

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

// A keyframe node with a number and a header of that name; gives the header.
Chunk3ds* AddNode(Chunk3ds* section, const char* name) {
    Chunk3ds* node = AddChild(section, CHUNK_NODE_B002);
    static_cast<WordData3ds*>(NewChunkData3ds(AddChild(node, CHUNK_NODE_NUMBER)))->value = 77;
    Chunk3ds* header = AddChild(node, CHUNK_NODE_HEADER);
    auto* record = static_cast<NodeHeaderData3ds*>(NewChunkData3ds(header));
    record->name = DuplicateString3ds(name);
    record->parent = 12;
    return header;
}

void SetParentName(Chunk3ds* header, const char* name) {
    static_cast<StringData3ds*>(NewChunkData3ds(AddChild(header, CHUNK_PARENT_NAME)))->text = DuplicateString3ds(name);
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
    const ByteVector old =
        Chunk(0x4D4D, Concat({Chunk(0x0002, {2, 0, 0, 0}), Chunk(0x3D3D, Chunk(0x0100, {0, 0, 0x80, 0x3F})),
                              Chunk(0x1234, {9, 8, 7, 6, 5})}));
    Database3ds* db = ReadDatabase(old);
    const ByteVector written = WriteDatabase(db);
    const ByteVector expected =
        Chunk(0x4D4D, Concat({Chunk(0x0002, {3, 0, 0, 0}),
                              Chunk(0x3D3D, Concat({Chunk(0x3D3E, {3, 0, 0, 0}), Chunk(0x0100, {0, 0, 0x80, 0x3F})})),
                              Chunk(0xB000, Chunk(0xB00A, {5, 0, 0, 30, 0, 0, 0})), Chunk(0x1234, {9, 8, 7, 6, 5})}));
    EXPECT_EQ(written, expected);
    // Records that the open source can give again are dropped after writing.
    EXPECT_EQ(db->top->child->next->child->next->data, nullptr);
}

TEST_F(DatabaseWriteTest, ParentNamesAreNotWrittenButGiveParentNumbers) {
    NewDatabase3ds(&database_);
    CreateDatabase3ds(database_, DatabaseKind3ds::MeshFile);
    Chunk3ds* section = nullptr;
    FindChunk3ds(database_->top, CHUNK_KEYFRAME_SECTION, &section);
    Chunk3ds* headers[2] = {AddNode(section, "Root"), AddNode(section, "Leaf")};
    SetParentName(headers[1], "Root");

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

TEST_F(DatabaseWriteTest, AFailedWriteLeavesThePreviousFileAndNoLeftovers) {
    NewDatabase3ds(&database_);
    CreateDatabase3ds(database_, DatabaseKind3ds::MeshFile);
    const ByteVector complete = WriteDatabase(database_, "model.3ds");
    Chunk3ds* scene = nullptr;
    FindChunk3ds(database_->top, CHUNK_SCENE, &scene);
    static_cast<VertexListData3ds*>(NewChunkData3ds(AddChild(scene, CHUNK_VERTEX_LIST)))->count = 3;  // no array
    File3ds* file = OpenFile3ds(PathOf("model.3ds").c_str(), "w");
    WriteDatabase3ds(file, database_);
    ASSERT_TRUE(ErrorPending3ds());
    // A caller's clean-up clears the errors before closing: the write stays incomplete all the same.
    ClearErrors3ds();
    CloseAllFiles3ds();
    EXPECT_EQ(ReadAll(PathOf("model.3ds")), complete);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), std::filesystem::directory_iterator()), 1);
}

TEST_F(DatabaseWriteTest, ANodeNameWithADotStillNamesItsNode) {
    NewDatabase3ds(&database_);
    CreateDatabase3ds(database_, DatabaseKind3ds::MeshFile);
    Chunk3ds* section = nullptr;
    FindChunk3ds(database_->top, CHUNK_KEYFRAME_SECTION, &section);
    Chunk3ds* headers[3] = {AddNode(section, "c"), AddNode(section, "c.obj"), AddNode(section, "child")};
    SetParentName(headers[2], "c.obj");
    WriteDatabase(database_);
    EXPECT_FALSE(ErrorPending3ds());
    EXPECT_EQ(static_cast<NodeHeaderData3ds*>(headers[2]->data)->parent, 1);
}

#ifndef _WIN32
TEST_F(DatabaseWriteTest, AWriteCutShortByAFullDiskLeavesThePreviousFile) {
    NewDatabase3ds(&database_);
    CreateDatabase3ds(database_, DatabaseKind3ds::MeshFile);
    const ByteVector complete = WriteDatabase(database_, "model.3ds");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &tiny);
    WriteDatabase(database_, "model.3ds");
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(ErrorPending3ds());
    EXPECT_EQ(ReadAll(PathOf("model.3ds")), complete);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), std::filesystem::directory_iterator()), 1);
}
#endif
