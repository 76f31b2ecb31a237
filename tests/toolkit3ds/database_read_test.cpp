#include "tests/toolkit3ds/support.h"

using DatabaseReadTest = ToolkitTest;

namespace {

const ByteVector kVersion = Chunk(0x0002, {3, 0, 0, 0});

std::vector<std::uint32_t> ChildTags(const Chunk3ds* parent) {
    std::vector<std::uint32_t> tags;
    for (const Chunk3ds* c = parent->child; c != nullptr; c = c->next) {
        tags.push_back(c->tag);
    }
    return tags;
}

ByteVector Nested(int depth) {
    ByteVector body;
    for (int i = 0; i < depth; ++i) {
        body = Chunk(0x3D3D, body);
    }
    return Chunk(0x4D4D, body);
}

}  // namespace

TEST_F(DatabaseReadTest, SixByteFileGivesABareTop) {
    Database3ds* db = ReadDatabase({0x4D, 0x4D, 0x06, 0x00, 0x00, 0x00});
    ASSERT_NE(db->top, nullptr);
    EXPECT_EQ(db->top->tag, CHUNK_MESH_FILE);
    EXPECT_EQ(db->top->length, 6U);
    EXPECT_EQ(db->top->child, nullptr);
    EXPECT_EQ(DatabaseKind3ds(db), DatabaseKind3ds::MeshFile);
    EXPECT_FALSE(ErrorPending3ds());
}

TEST_F(DatabaseReadTest, OtherTopTagsAreKeptWithoutChildren) {
    Database3ds* db = ReadDatabase(Chunk(0x1234, kVersion));
    EXPECT_EQ(db->top->tag, 0x1234U);
    EXPECT_EQ(db->top->child, nullptr);
    EXPECT_EQ(DatabaseKind3ds(db), DatabaseKind3ds::None);
    EXPECT_FALSE(ErrorPending3ds());

    ReadDatabase(Chunk(0x3DAA, Chunk(0xAFFF, {})));
    EXPECT_EQ(DatabaseKind3ds(database_), DatabaseKind3ds::MaterialLibrary);
    EXPECT_EQ(ChildTags(database_->top), std::vector<std::uint32_t>{0xAFFF});
}

TEST_F(DatabaseReadTest, FilesOfTheWrongModeAreLeftAlone) {
    File3ds* writing = OpenFile3ds(PathOf("w.3ds").c_str(), "w");
    NewDatabase3ds(&database_);
    ReadDatabase3ds(writing, database_);
    EXPECT_EQ(database_->top, nullptr);

    const std::string path = WriteBytes("r.3ds", Chunk(0x4D4D, {}));
    CreateDatabase3ds(database_, DatabaseKind3ds::MeshFile);
    WriteDatabase3ds(OpenFile3ds(path.c_str(), "r"), database_);
    EXPECT_EQ(ReadAll(path), Chunk(0x4D4D, {}));
    EXPECT_FALSE(ErrorPending3ds());
}

TEST_F(DatabaseReadTest, OnlyHeadersAreReadUntilDataIsAskedFor) {
    Database3ds* db = ReadDatabase(Chunk(0x4D4D, Concat({kVersion, Chunk(0x3D3D, Chunk(0x0100, {0, 0, 0x80, 0x3F}))})));
    ASSERT_EQ(ChildTags(db->top), (std::vector<std::uint32_t>{0x0002, 0x3D3D}));
    Chunk3ds* scale = db->top->child->next->child;
    EXPECT_EQ(scale->position, 22U);
    EXPECT_EQ(scale->data, nullptr);
    auto* record = static_cast<FloatData3ds*>(ReadChunkData3ds(scale));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->value, 1.0F);
    DropReloadableData3ds(scale);
    EXPECT_EQ(scale->data, nullptr);
    EXPECT_EQ(static_cast<FloatData3ds*>(ReadChunkData3ds(scale))->value, 1.0F);
}

TEST_F(DatabaseReadTest, APendingErrorStopsTheReadAtItsFirstStep) {
    File3ds* file = OpenFile3ds(WriteBytes("sound.3ds", Chunk(0x4D4D, kVersion)).c_str(), "r");
    NewDatabase3ds(&database_);
    PushError3ds(ERR_NO_MEM);
    ReadDatabase3ds(file, database_);
    EXPECT_EQ(Errors(), (std::vector<ErrorCode3ds>{ERR_NO_MEM, ERR_CREATING_DATABASE}));
    EXPECT_EQ(database_->top, nullptr);
}

TEST_F(DatabaseReadTest, ADamagedChunkReportsEveryLevel) {
    // The mesh container ends in three bytes, too few for a chunk.
    ReadDatabase(Chunk(0x4D4D, Chunk(0x3D3D, Chunk(0x4100, {'a', 'b', 'c'}))));
    EXPECT_EQ(Errors(), (std::vector<ErrorCode3ds>{ERR_INVALID_CHUNK, ERR_READING_DATABASE, ERR_READING_DATABASE,
                                                   ERR_READING_DATABASE, ERR_CREATING_DATABASE}));
    // What was read stays in the database.
    ASSERT_NE(database_->top->child, nullptr);
    EXPECT_EQ(database_->top->child->child->tag, CHUNK_TRIANGLE_MESH);
}

TEST_F(DatabaseReadTest, DamagedStructuresEndTheReadWithInvalidChunk) {
    ByteVector tooShort = Chunk(0x4D4D, Concat({kVersion, {0x00, 0x01, 0x04, 0, 0, 0}}));
    ByteVector pastParent = Chunk(0x4D4D, Chunk(0x3D3D, Chunk(0x0100, {1, 2, 3, 4})));
    pastParent[14] += 1;  // the scale claims one byte more than its scene holds
    ByteVector pastFile = Chunk(0x4D4D, kVersion);
    pastFile[2] += 1;
    for (const ByteVector& bytes : {tooShort, pastParent, pastFile}) {
        ClearErrors3ds();
        ReadDatabase(bytes);
        const auto errors = Errors();
        ASSERT_FALSE(errors.empty());
        EXPECT_EQ(errors.front(), ERR_INVALID_CHUNK);
        EXPECT_EQ(errors.back(), ERR_CREATING_DATABASE);
    }
}

TEST_F(DatabaseReadTest, NestingHasALimit) {
    ReadDatabase(Nested(kMaxChunkDepth3ds - 1));
    EXPECT_FALSE(ErrorPending3ds());
    ReadDatabase(Nested(kMaxChunkDepth3ds + 5));
    EXPECT_EQ(Errors().front(), ERR_INVALID_CHUNK);
    EXPECT_EQ(Errors().back(), N_ERRORS);
}

TEST_F(DatabaseReadTest, ExtraDataContainersStopAtAForeignEntry) {
    const ByteVector entry =
        Chunk(0x8001, Concat({Chunk(0x8002, {'x', 0}), Chunk(0x8020, {1, 2}), Chunk(0x8003, {'y', 0})}));
    Database3ds* db = ReadDatabase(Chunk(0x4D4D, Chunk(0x8000, entry)));
    EXPECT_FALSE(ErrorPending3ds());
    Chunk3ds* container = db->top->child->child;
    ASSERT_EQ(container->tag, CHUNK_EXTRA_DATA_ENTRY);
    EXPECT_EQ(ChildTags(container), std::vector<std::uint32_t>{0x8002});

    const ByteVector leading = Chunk(0x8001, Concat({Chunk(0x8020, {}), Chunk(0x8002, {'x', 0})}));
    db = ReadDatabase(Chunk(0x4D4D, Chunk(0x8000, leading)));
    EXPECT_EQ(db->top->child->child->child, nullptr);
}

TEST_F(DatabaseReadTest, ExtraDataEntriesBeyondTheirContainerAreDropped) {
    ByteVector entry = Chunk(0x8001, Concat({Chunk(0x8002, {'a', 0}), Chunk(0x8003, {})}));
    entry[16] += 40;  // the second entry claims more than the container has
    Database3ds* db = ReadDatabase(Chunk(0x4D4D, entry));
    EXPECT_FALSE(ErrorPending3ds());
    EXPECT_EQ(ChildTags(db->top->child), std::vector<std::uint32_t>{0x8002});
}

TEST_F(DatabaseReadTest, ReadingAgainReplacesTheTreeAndItsIndexes) {
    Database3ds* db = ReadDatabase(Chunk(0x4D4D, Chunk(0x3D3D, Chunk(0x4000, {'A', 0}))));
    RebuildObjectIndex3ds(db);
    ASSERT_EQ(db->objectIndex->count, 1U);
    EXPECT_STREQ(db->objectIndex->entries[0].name, "A");
    ReadDatabase3ds(
        OpenFile3ds(WriteBytes("b.3ds", Chunk(0x4D4D, Chunk(0x3D3D, Chunk(0x4000, {'B', 0})))).c_str(), "r"), db);
    RebuildObjectIndex3ds(db);
    ASSERT_EQ(db->objectIndex->count, 1U);
    EXPECT_STREQ(db->objectIndex->entries[0].name, "B");
}

TEST_F(DatabaseReadTest, KnownChunksOfAnUnusualLengthAreKeptWholeAndWrittenBack) {
    const ByteVector scene = Chunk(0x3D3D, Concat({Chunk(0x2200, ByteVector(8, 1)),   // fog: 16 bytes of fields
                                                   Chunk(0x2200, ByteVector(20, 2)),  // and 4 that are no chunk
                                                   Chunk(0x3D3E, ByteVector(8, 3)),   // a version of 4 bytes
                                                   Chunk(0x4120, {0xFF, 0x00}),       // 255 faces in no bytes
                                                   Chunk(0x4000, {'a', 'b', 'c'}),    // a name without its end
                                                   Chunk(0x0100, {0, 0, 0x80, 0x3F})}));
    Database3ds* db = ReadDatabase(Chunk(0x4D4D, scene));
    ASSERT_FALSE(ErrorPending3ds()) << Report();
    ASSERT_EQ(ChildTags(db->top->child).size(), 6U);
    Chunk3ds* chunk = db->top->child->child;
    for (int i = 0; i < 5; ++i, chunk = chunk->next) {
        EXPECT_EQ(ReadChunkData3ds(chunk), nullptr) << i;  // the records pass them over
    }
    EXPECT_EQ(static_cast<FloatData3ds*>(ReadChunkData3ds(chunk))->value, 1.0F);
    SceneSettings3ds* settings = nullptr;
    FetchSceneSettings3ds(db, &settings);
    EXPECT_FALSE(ErrorPending3ds()) << Report();
    DiscardSceneSettings3ds(&settings);

    File3ds* out = OpenFile3ds(PathOf("out.3ds").c_str(), "w");
    WriteChunkTree3ds(db->top->child, out->index);
    CloseFile3ds(out);
    EXPECT_EQ(ReadAll(PathOf("out.3ds")), scene);
}
