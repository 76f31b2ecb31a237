#include "tests/toolkit3ds/support.h"

// Reads one chunk (the first child of a mesh-file top) and writes it again.
class CatalogueTest : public ToolkitTest {
protected:
    Chunk3ds* ReadOne(const ByteVector& chunk) {
        Database3ds* db = ReadDatabase(Chunk(0x4D4D, chunk));
        EXPECT_FALSE(ErrorPending3ds());
        return db->top->child;
    }
    ByteVector WriteOne(Chunk3ds* chunk) {
        File3ds* file = OpenFile3ds(PathOf("one.3ds").c_str(), "w");
        WriteChunkTree3ds(chunk, file->index);
        CloseFile3ds(file);
        return ReadAll(PathOf("one.3ds"));
    }
};

TEST_F(CatalogueTest, AnEmptyVertexListReadsAndWritesBack) {
    const ByteVector bytes = Chunk(0x4110, {0, 0});
    Chunk3ds* chunk = ReadOne(bytes);
    auto* record = static_cast<VertexListData3ds*>(ReadChunkData3ds(chunk));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->count, 0);
    EXPECT_EQ(WriteOne(chunk), bytes);
}

TEST_F(CatalogueTest, BytesBeyondTheCountedItemsAreWrittenBack) {
    ByteVector body;
    AppendWord(body, 1);
    AppendFloat(body, 1.0F);
    AppendFloat(body, 2.0F);
    body.insert(body.end(), {0xAA, 0xBB, 0xCC});
    Chunk3ds* chunk = ReadOne(Chunk(0x4140, body));
    auto* record = static_cast<MapCoordsData3ds*>(ReadChunkData3ds(chunk));
    ASSERT_EQ(record->count, 1);
    EXPECT_EQ(record->coords[0].v, 2.0F);
    ASSERT_EQ(record->trailing.size, 3U);
    EXPECT_EQ(record->trailing.bytes[2], 0xCC);
    EXPECT_EQ(WriteOne(chunk), Chunk(0x4140, body));
}

TEST_F(CatalogueTest, SmoothingCountComesFromTheLength) {
    Chunk3ds* even = ReadOne(Chunk(0x4150, {1, 0, 0, 0, 2, 0, 0, 0}));
    auto* record = static_cast<SmoothingData3ds*>(ReadChunkData3ds(even));
    ASSERT_EQ(record->count, 2);
    EXPECT_EQ(record->groups[1], 2U);

    // Bytes left over after the last whole mask keep the chunk whole.
    Chunk3ds* odd = ReadOne(Chunk(0x4150, {5, 0, 0, 0, 9, 9, 9}));
    EXPECT_EQ(ReadChunkData3ds(odd), nullptr);
    EXPECT_EQ(WriteOne(odd), Chunk(0x4150, {5, 0, 0, 0, 9, 9, 9}));
}

TEST_F(CatalogueTest, NamesOfAnyLengthReadWholeAndWriteBackWhole) {
    const std::string longName(300, 'n');
    ByteVector named;
    AppendText(named, longName);
    const ByteVector object = Chunk(0x4000, Concat({named, Chunk(0x4100, Chunk(0x4110, {0, 0}))}));
    ByteVector material = named;
    AppendWord(material, 0);
    ByteVector node = named;
    node.insert(node.end(), {0, 0, 0, 0, 0xFF, 0xFF});
    for (const ByteVector& bytes : {object, Chunk(0xA000, named), Chunk(0x4130, material), Chunk(0xB010, node)}) {
        Chunk3ds* chunk = ReadOne(bytes);
        ASSERT_FALSE(ErrorPending3ds()) << Report();
        const auto* record = static_cast<StringData3ds*>(ReadChunkData3ds(chunk));
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->text, longName);  // every record of these starts with its name
        EXPECT_EQ(WriteOne(chunk), bytes);
    }
}

TEST_F(CatalogueTest, MapFileNamesAsLongAsTheirRecordAllowsRead) {
    const ByteVector name = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P', 0};
    Chunk3ds* chunk = ReadOne(Chunk(0xA300, name));
    EXPECT_STREQ(static_cast<StringData3ds*>(ReadChunkData3ds(chunk))->text, "ABCDEFGHIJKLMNOP");
    EXPECT_FALSE(ErrorPending3ds());
}

TEST_F(CatalogueTest, UnknownTagsTravelAsRawBytes) {
    const ByteVector five = Chunk(0x7777, {1, 2, 3, 4, 5});
    Chunk3ds* chunk = ReadOne(five);
    auto* record = static_cast<RawData3ds*>(ReadChunkData3ds(chunk));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->size, 5U);
    EXPECT_EQ(WriteOne(chunk), five);

    const ByteVector bare = Chunk(0x7777, {});
    chunk = ReadOne(bare);
    EXPECT_EQ(ReadChunkData3ds(chunk), nullptr);
    EXPECT_EQ(WriteOne(chunk), bare);
    EXPECT_EQ(ChunkTagName3ds(0x7777), nullptr);
    EXPECT_STREQ(ChunkTagName3ds(0x4D4D), "CHUNK_MESH_FILE");
}

TEST_F(CatalogueTest, KeyHeadersHoldAFloatPerFlagBit) {
    ByteVector body;
    AppendWord(body, 0);  // track flags
    AppendDword(body, 0);
    AppendDword(body, 0);
    AppendDword(body, 1);      // one key
    AppendDword(body, 10);     // frame
    AppendWord(body, 0x0005);  // bits 0 and 2
    AppendFloat(body, 0.5F);
    AppendFloat(body, 2.0F);
    AppendFloat(body, 45.0F);  // the value of a 0xB024 key
    ASSERT_EQ(body.size(), 14U + 6 + 2 * 4 + 4);
    Chunk3ds* track = ReadOne(Chunk(0xB024, body));
    auto* record = static_cast<KeyTrackData3ds*>(ReadChunkData3ds(track));
    ASSERT_EQ(record->keyCount, 1U);
    EXPECT_EQ(record->keys[0].frame, 10U);
    EXPECT_EQ(record->keys[0].values[0], 0.5F);
    EXPECT_EQ(record->keys[0].values[1], 0.0F);
    EXPECT_EQ(record->keys[0].values[2], 2.0F);
    EXPECT_EQ(record->values[0], 45.0F);
    EXPECT_EQ(WriteOne(track), Chunk(0xB024, body));
}

TEST_F(CatalogueTest, CountsBeyondTheChunkAreRefusedBeforeAllocatingAndKeepTheChunkWhole) {
    ByteVector vertices = {0xFF, 0xFF};
    vertices.resize(20);
    ByteVector track(14, 0);
    track[10] = track[11] = track[12] = track[13] = 0xFF;  // four thousand million keys
    for (const ByteVector& bytes : {Chunk(0x4110, vertices), Chunk(0xB020, track)}) {
        Chunk3ds* chunk = ReadOne(bytes);
        EXPECT_EQ(ReadChunkData3ds(chunk), nullptr);
        EXPECT_EQ(Errors(), std::vector<ErrorCode3ds>{});
        EXPECT_EQ(chunk->keptWhole, 1);
        EXPECT_EQ(WriteOne(chunk), bytes);
    }
}

TEST_F(CatalogueTest, CopiedRecordsOwnTheirBlocks) {
    ByteVector body = {'S', 't', 'o', 'n', 'e', 0};
    AppendWord(body, 2);
    AppendWord(body, 7);
    AppendWord(body, 8);
    Chunk3ds* source = ReadOne(Chunk(0x4130, body));
    ReadChunkData3ds(source);
    Chunk3ds* copy = nullptr;
    NewChunkOfType3ds(&copy, CHUNK_FACE_MATERIAL);
    CopyChunkData3ds(source, copy);
    FreeChunkData3ds(source);
    const auto* record = static_cast<FaceMaterialData3ds*>(copy->data);
    EXPECT_STREQ(record->name, "Stone");
    ASSERT_EQ(record->count, 2);
    EXPECT_EQ(record->faces[1], 8);
    ReleaseChunk3ds(&copy);
}

TEST_F(CatalogueTest, ExtraDataEntriesAreWrittenOnceAndWhole) {
    // An entry with a foreign tag in the middle, which the tree leaves out.
    const ByteVector entry =
        Chunk(0x8001, Concat({Chunk(0x8002, {'a', 0}), Chunk(0x8020, {1, 2, 3}), Chunk(0x8003, {'b', 0})}));
    const ByteVector file = Chunk(0x4D4D, Concat({Chunk(0x0002, {3, 0, 0, 0}), Chunk(0x8000, entry)}));
    Database3ds* db = ReadDatabase(file);
    const ByteVector written = WriteDatabase(db);
    const std::string text(written.begin(), written.end());
    const std::string expected(entry.begin(), entry.end());
    EXPECT_NE(text.find(expected), std::string::npos);
    EXPECT_EQ(text.find(expected), text.rfind(expected));
    EXPECT_FALSE(ErrorPending3ds());
}

TEST_F(CatalogueTest, FixedRecordsFollowTheirLayout) {
    ByteVector view;
    AppendFloat(view, 3.0F);  // the float comes first in the file
    for (float v : {1.0F, 2.0F, 4.0F}) {
        AppendFloat(view, v);
    }
    Chunk3ds* chunk = ReadOne(Chunk(0x3010, view));
    auto* record = static_cast<ViewData3ds*>(ReadChunkData3ds(chunk));
    EXPECT_EQ(record->value, 3.0F);
    EXPECT_EQ(record->vector[2], 4.0F);
    EXPECT_EQ(WriteOne(chunk), Chunk(0x3010, view));

    const ByteVector cube = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    chunk = ReadOne(Chunk(0xA310, cube));
    auto* setup = static_cast<MapCubeSetupData3ds*>(ReadChunkData3ds(chunk));
    EXPECT_EQ(setup->second, 2);
    EXPECT_EQ(setup->options, 0x0403);
    EXPECT_EQ(setup->valueB, 0x0C0B0A09U);
    EXPECT_EQ(WriteOne(chunk), Chunk(0xA310, cube));
}

TEST_F(CatalogueTest, NewRecordsAreEmptyAndContainersHaveNone) {
    Chunk3ds* chunk = nullptr;
    auto* record = static_cast<VertexListData3ds*>(NewChunkWithData3ds(&chunk, CHUNK_VERTEX_LIST));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->count, 0);
    EXPECT_EQ(record->vertices, nullptr);
    ReleaseChunk3ds(&chunk);
    EXPECT_EQ(NewChunkWithData3ds(&chunk, CHUNK_TRIANGLE_MESH), nullptr);
    ReleaseChunk3ds(&chunk);
    EXPECT_FALSE(ErrorPending3ds());
}
