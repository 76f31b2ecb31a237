// Materials and map slots in a database: the chunk trees, percentages,
// colour bytes and options words that storing makes, and replacing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "tests/toolkit3ds_records/records_test_support.h"
#include "toolkit3ds/material3ds.h"

namespace {

class MaterialStoreTest : public RecordsTest {
protected:
    void SetUp() override {
        RecordsTest::SetUp();
        PrepareMaterial3ds(&material);
        SetMaterialName3ds(material, "MAT0");
    }
    void TearDown() override {
        DiscardMaterial3ds(&material);
        RecordsTest::TearDown();
    }

    Chunk3ds* Stored(const char* name = "MAT0") {
        Chunk3ds* chunk = nullptr;
        LookUpMaterial3ds(db, name, &chunk);
        return chunk;
    }

    // Stores the material and gives the map chunk of the slot's tag.
    Chunk3ds* StoredMap(uint32_t tag) {
        StoreMaterial3ds(db, material);
        Chunk3ds* chunk = Stored();
        return chunk != nullptr ? ChildOf(chunk, tag) : nullptr;
    }

    static void ExpectBytes(Chunk3ds* container, uint32_t tag, int red, int green, int blue) {
        auto* bytes = DataOf<ByteTripleData3ds>(ChildOf(container, tag));
        EXPECT_EQ(bytes->value[0], red);
        EXPECT_EQ(bytes->value[1], green);
        EXPECT_EQ(bytes->value[2], blue);
    }

    MaterialRecord3ds* material = nullptr;
};

TEST_F(MaterialStoreTest, ADefaultMaterialStoresItsSurfaceAndNoMap) {
    StoreMaterial3ds(db, material);
    ExpectNoErrors();
    Chunk3ds* chunk = Stored();
    ASSERT_NE(chunk, nullptr);
    EXPECT_EQ(TreeOf(chunk),
              "AFFF{A000 A010{0011 0012} A020{0011 0012} A030{0011 0012} A040{0030} A041{0030}"
              " A050{0030} A052{0030} A053{0030} A100 A084{0030} A087}");
    EXPECT_STREQ(DataOf<StringData3ds>(ChildOf(chunk, CHUNK_MATERIAL_NAME))->text, "MAT0");
    for (uint32_t tag : {CHUNK_AMBIENT_COLOUR, CHUNK_DIFFUSE_COLOUR, CHUNK_SPECULAR_COLOUR}) {
        ExpectBytes(ChildOf(chunk, tag), CHUNK_RGB24, 0, 0, 0);
        ExpectBytes(ChildOf(chunk, tag), CHUNK_RGB24_ALT, 0, 0, 0);
    }
    for (uint32_t tag : {0xA040u, 0xA041u, 0xA050u, 0xA052u, 0xA053u, 0xA084u}) {
        EXPECT_EQ(PercentUnder(chunk, tag), 0) << std::hex << tag;
    }
    EXPECT_EQ(DataOf<WordData3ds>(ChildOf(chunk, CHUNK_MATERIAL_SHADING))->value, 3);
    EXPECT_EQ(DataOf<FloatData3ds>(ChildOf(chunk, CHUNK_MATERIAL_WIRE_SIZE))->value, 1.0f);
    // It sits in the scene, after the scene version.
    EXPECT_EQ(ChildrenOf(ChildOf(db->top, CHUNK_SCENE)).substr(0, 9), "3D3E AFFF");
}

TEST_F(MaterialStoreTest, ColoursBecomeTruncatedBytesClampedToTheirRange) {
    const float diffuse[3] = {1.0f, 0.0f, 0.0f};
    const float specular[3] = {1.0f, 0.7f, 0.65f};
    const float ambient[3] = {1.5f, -0.5f, NAN};
    std::memcpy(material->diffuse, diffuse, sizeof diffuse);
    std::memcpy(material->specular, specular, sizeof specular);
    std::memcpy(material->ambient, ambient, sizeof ambient);
    StoreMaterial3ds(db, material);
    Chunk3ds* chunk = Stored();
    ExpectBytes(ChildOf(chunk, CHUNK_DIFFUSE_COLOUR), CHUNK_RGB24, 255, 0, 0);
    ExpectBytes(ChildOf(chunk, CHUNK_SPECULAR_COLOUR), CHUNK_RGB24, 255, 178, 165);
    ExpectBytes(ChildOf(chunk, CHUNK_SPECULAR_COLOUR), CHUNK_RGB24_ALT, 255, 178, 165);
    ExpectBytes(ChildOf(chunk, CHUNK_AMBIENT_COLOUR), CHUNK_RGB24, 255, 0, 0);
}

TEST_F(MaterialStoreTest, AmountsArePercentagesTruncatedTowardZero) {
    material->shininess = 0.999f;
    material->shininessStrength = 0.5f;
    material->transparency = 0.257f;
    material->reflectionBlur = 1.0f;
    material->selfIllumination = 1000.0f;  // beyond a 16-bit percentage
    StoreMaterial3ds(db, material);
    Chunk3ds* chunk = Stored();
    EXPECT_EQ(PercentUnder(chunk, 0xA040), 99);
    EXPECT_EQ(PercentUnder(chunk, 0xA041), 50);
    EXPECT_EQ(PercentUnder(chunk, 0xA050), 25);
    EXPECT_EQ(PercentUnder(chunk, 0xA053), 100);
    EXPECT_EQ(PercentUnder(chunk, 0xA084), 32767);
}

TEST_F(MaterialStoreTest, ANegativeFalloffStoresItsSizeAndAFlag) {
    struct {
        float falloff;
        int percent;
        bool flag;
    } cases[] = {{-0.25f, 25, true}, {0.25f, 25, false},  {-0.0f, 0, false},
                 {0.0f, 0, false},   {0.125f, 13, false}, {-0.125f, 13, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.falloff);
        material->transparencyFalloff = c.falloff;
        StoreMaterial3ds(db, material);
        EXPECT_EQ(PercentUnder(Stored(), 0xA052), c.percent);
        EXPECT_EQ(ChildOf(Stored(), CHUNK_MATERIAL_FLAG_A08A) != nullptr, c.flag);
    }
    ExpectNoErrors();
}

TEST_F(MaterialStoreTest, FlagsFollowTheWireSizeInTheirOrder) {
    material->flagA081 = material->flagA250 = material->flagA08C = material->flagA080 = 1;
    StoreMaterial3ds(db, material);
    EXPECT_NE(ChildrenOf(Stored()).find("A084{0030} A081 A087 A250 A080 A08C"), std::string::npos)
        << ChildrenOf(Stored());
}

TEST_F(MaterialStoreTest, AnExportedTextureMapStoresStrengthNameAndOptions) {
    MapRecord3ds& map = material->maps[0];
    SetMapFileName3ds(&map, "O1F00.bmp");
    map.strength = 1.0f;
    map.tiling = 2;
    material->flagA250 = 1;
    Chunk3ds* mapChunk = StoredMap(CHUNK_MAP_SLOT_A200);
    ExpectNoErrors();
    ASSERT_NE(mapChunk, nullptr);
    EXPECT_EQ(TreeOf(mapChunk), "A200{0030 A300 A351}");
    EXPECT_EQ(DataOf<ShortData3ds>(ChildOf(mapChunk, CHUNK_PERCENT))->value, 100);
    EXPECT_STREQ(DataOf<StringData3ds>(ChildOf(mapChunk, CHUNK_MAP_FILE_NAME))->text, "O1F00.bmp");
    EXPECT_EQ(DataOf<ShortData3ds>(ChildOf(mapChunk, CHUNK_MAP_OPTIONS))->value, 0x0011);
}

TEST_F(MaterialStoreTest, MapStrengthIsRoundedToAWholePercent) {
    MapRecord3ds& map = material->maps[0];
    SetMapFileName3ds(&map, "T.bmp");
    map.strength = 0.5f;
    EXPECT_EQ(DataOf<ShortData3ds>(ChildOf(StoredMap(0xA200), CHUNK_PERCENT))->value, 50);
    map.strength = 0.125f;
    EXPECT_EQ(DataOf<ShortData3ds>(ChildOf(StoredMap(0xA200), CHUNK_PERCENT))->value, 13);
}

TEST_F(MaterialStoreTest, TheOptionsWordCollectsTheMapOptions) {
    MapRecord3ds& map = material->maps[0];
    SetMapFileName3ds(&map, "T.bmp");
    struct {
        int32_t tiling;
        uint8_t option100;
        int32_t option20;
        uint8_t option02, option08;
        int32_t tintMode;
        int expected;
    } cases[] = {{2, 0, 0, 0, 0, 0, 0x0011}, {3, 1, 0, 0, 0, 0, 0x0101}, {1, 0, 1, 0, 0, 0, 0x0020},
                 {4, 0, 2, 1, 1, 0, 0x000A}, {1, 0, 0, 0, 0, 1, 0x0040}, {1, 0, 0, 0, 0, 2, 0x0080},
                 {1, 0, 0, 0, 0, 3, 0x00C0}, {1, 0, 0, 0, 0, 4, 0x0200}, {1, 0, 0, 0, 0, 5, 0x0000}};
    for (const auto& c : cases) {
        map.tiling = c.tiling;
        map.option100 = c.option100;
        map.option20 = c.option20;
        map.option02 = c.option02;
        map.option08 = c.option08;
        map.tintMode = c.tintMode;
        Chunk3ds* options = ChildOf(StoredMap(0xA200), CHUNK_MAP_OPTIONS);
        EXPECT_EQ(uint16_t(DataOf<ShortData3ds>(options)->value), c.expected) << c.expected;
    }
}

TEST_F(MaterialStoreTest, PlacementBlurAndTintsAreStoredOnlyWhenTheyMatter) {
    MapRecord3ds& map = material->maps[0];
    SetMapFileName3ds(&map, "T.bmp");
    map.vOffset = -0.0f;
    map.rotation = -0.0f;
    map.blur = -0.0f;
    map.tintMode = 1;
    EXPECT_EQ(TreeOf(StoredMap(0xA200)), "A200{0030 A300 A351}");

    map.vScale = 2.0f;
    map.uOffset = 0.25f;
    map.rotation = 90.0f;
    map.blur = 0.1f;
    map.tintMode = 3;
    map.tint2[1] = 0.5f;
    Chunk3ds* mapChunk = StoredMap(0xA200);
    EXPECT_EQ(TreeOf(mapChunk), "A200{0030 A300 A351 A354 A356 A358 A35A A35C A353 A360 A362}");
    EXPECT_EQ(DataOf<FloatData3ds>(ChildOf(mapChunk, 0xA354))->value, 1.0f);
    EXPECT_EQ(DataOf<FloatData3ds>(ChildOf(mapChunk, 0xA356))->value, 2.0f);
    ExpectBytes(mapChunk, CHUNK_MAP_TINT_A362, 255, 127, 255);

    map.tintMode = 4;
    EXPECT_NE(ChildrenOf(StoredMap(0xA200)).find("A353 A364 A366 A368"), std::string::npos);
    ExpectBytes(StoredMap(0xA200), CHUNK_MAP_TINT_A366, 0, 255, 0);
}

TEST_F(MaterialStoreTest, SlotsStoreTheirMapAndDataChunksOnlyWithAFileName) {
    const uint8_t bytes[3] = {7, 8, 9};
    for (int slot : {1, 6, 7, 10, 16}) {
        MapRecord3ds* map = MaterialMapSlot3ds(material, slot);
        map->dataSize = 3;
        map->data = static_cast<uint8_t*>(std::malloc(3));
        std::memcpy(map->data, bytes, 3);
        if (slot != 1) SetMapFileName3ds(map, "S.bmp");
    }
    material->maps[6].strength = 0.5f;
    StoreMaterial3ds(db, material);
    ExpectNoErrors();
    std::string tree = ChildrenOf(Stored());
    std::string maps = tree.substr(tree.find("A087") + 5);
    EXPECT_EQ(maps,
              "A342{0030 A300 A351} A32E A230{0030 A300 A351 A252} A324"
              " A348{0030 A300 A351} A32E A34C{0030 A300 A351} A338");
    auto* data = DataOf<RawData3ds>(ChildOf(Stored(), 0xA338));
    ASSERT_EQ(data->size, 3u);
    EXPECT_EQ(data->bytes[2], 9);
    EXPECT_NE(data->bytes, material->map16.data);
    EXPECT_EQ(DataOf<WordData3ds>(ChildOf(ChildOf(Stored(), 0xA230), CHUNK_MAP_AMOUNT))->value, 50);
}

TEST_F(MaterialStoreTest, SlotFifteenAndTheCubeSetupGoTogether) {
    material->flagA310 = 1;
    material->maps[14].strength = 0.333f;
    StoreMaterial3ds(db, material);
    Chunk3ds* slot15 = ChildOf(Stored(), CHUNK_MAP_SLOT_A220);
    ASSERT_NE(slot15, nullptr);
    EXPECT_EQ(TreeOf(slot15), "A220{0030 A300}");
    EXPECT_EQ(DataOf<ShortData3ds>(ChildOf(slot15, CHUNK_PERCENT))->value, 33);
    EXPECT_STREQ(DataOf<StringData3ds>(ChildOf(slot15, CHUNK_MAP_FILE_NAME))->text, "");
    auto* cube = DataOf<MapCubeSetupData3ds>(ChildOf(Stored(), CHUNK_MAP_CUBE_SETUP));
    EXPECT_EQ(cube->options, 1);
    EXPECT_EQ(cube->valueA, 100u);
    EXPECT_EQ(cube->valueB, 1u);
    EXPECT_EQ(ChildrenOf(Stored()).substr(ChildrenOf(Stored()).size() - 4), "A310");

    material->optionA310a = 1;
    material->optionA310b = 1;
    StoreMaterial3ds(db, material);
    EXPECT_EQ(DataOf<MapCubeSetupData3ds>(ChildOf(Stored(), 0xA310))->options, 0x19);
    material->optionA310a = 0;
    StoreMaterial3ds(db, material);
    EXPECT_EQ(DataOf<MapCubeSetupData3ds>(ChildOf(Stored(), 0xA310))->options, 0x11);
}

TEST_F(MaterialStoreTest, ReplacingAMaterialKeepsItsPlaceAndItsExtraData) {
    StoreMaterial3ds(db, material);
    MaterialRecord3ds* other = nullptr;
    PrepareMaterial3ds(&other);
    SetMaterialName3ds(other, "MAT1");
    StoreMaterial3ds(db, other);
    DiscardMaterial3ds(&other);
    Chunk3ds* first = Stored();
    Chunk3ds* extra = nullptr;
    NewChunkOfType3ds(&extra, CHUNK_EXTRA_DATA);
    InsertChild3ds(first, extra);

    material->shading = 2;
    StoreMaterial3ds(db, material);
    ExpectNoErrors();
    EXPECT_EQ(Stored(), first);
    EXPECT_EQ(ChildOf(ChildOf(db->top, CHUNK_SCENE), CHUNK_MATERIAL), first);
    EXPECT_EQ(DataOf<WordData3ds>(ChildOf(first, CHUNK_MATERIAL_SHADING))->value, 2);
    std::string tree = ChildrenOf(first);
    EXPECT_EQ(tree.substr(tree.size() - 4), "8000");
    EXPECT_NE(Stored("MAT1"), nullptr);
}

TEST_F(MaterialStoreTest, LongNamesAreCutToWhatTheFileHolds) {
    std::memset(material->name, 'M', sizeof material->name);  // no terminator
    std::memset(material->maps[0].fileName, 'F', sizeof material->maps[0].fileName);
    StoreMaterial3ds(db, material);
    ExpectNoErrors();
    Chunk3ds* chunk = Stored("MMMMMMMMMMMMMMMM");
    ASSERT_NE(chunk, nullptr);
    Chunk3ds* name = ChildOf(ChildOf(chunk, 0xA200), CHUNK_MAP_FILE_NAME);
    EXPECT_STREQ(DataOf<StringData3ds>(name)->text, "FFFFFFFFFFFFFFF");
}

TEST_F(MaterialStoreTest, ALibraryHoldsItsMaterialsAtTheTop) {
    Database3ds* library = nullptr;
    NewDatabase3ds(&library);
    CreateDatabase3ds(library, DatabaseKind3ds::MaterialLibrary);
    StoreMaterial3ds(library, material);
    ExpectNoErrors();
    EXPECT_EQ(TreeOf(library->top).substr(0, 14), "3DAA{AFFF{A000");
    Chunk3ds* found = nullptr;
    LookUpMaterial3ds(library, "MAT0", &found);
    EXPECT_EQ(found, library->top->child);
    ReleaseDatabase3ds(&library);
}

TEST_F(MaterialStoreTest, BadArgumentsAndDatabasesAreRefused) {
    Chunk3ds* found = nullptr;
    StoreMaterial3ds(nullptr, material);
    StoreMaterial3ds(db, nullptr);
    LookUpMaterial3ds(db, nullptr, &found);
    LookUpMaterial3ds(db, "MAT0", nullptr);
    StoreMap3ds(nullptr, &material->maps[0]);
    StoreMap3ds(db->top, nullptr);
    ExpectErrors(
        {ERR_INVALID_ARG, ERR_INVALID_ARG, ERR_INVALID_ARG, ERR_INVALID_ARG, ERR_INVALID_ARG, ERR_INVALID_ARG});

    Database3ds* other = nullptr;
    NewDatabase3ds(&other);
    ClearErrors3ds();
    StoreMaterial3ds(other, material);
    LookUpMaterial3ds(other, "MAT0", &found);
    ExpectErrors({ERR_INVALID_DATABASE, ERR_INVALID_DATABASE});
    NewChunkOfType3ds(&other->top, 0x1234);
    ClearErrors3ds();
    StoreMaterial3ds(other, material);
    LookUpMaterial3ds(other, "MAT0", &found);
    ExpectErrors({ERR_WRONG_DATABASE, ERR_WRONG_DATABASE});
    ReleaseDatabase3ds(&other);
}

TEST_F(MaterialStoreTest, AMapWithoutFileNameAddsNothing) {
    Chunk3ds* parent = nullptr;
    NewChunkOfType3ds(&parent, CHUNK_MAP_SLOT_A204);
    StoreMap3ds(parent, &material->maps[0]);
    EXPECT_EQ(parent->child, nullptr);
    SetMapFileName3ds(&material->maps[0], "X.bmp");
    StoreMap3ds(parent, &material->maps[0]);
    EXPECT_EQ(TreeOf(parent), "A204{0030 A300 A351}");
    ExpectNoErrors();
    ReleaseChunk3ds(&parent);
}

}  // namespace

TEST_F(MaterialStoreTest, TextureFileNamesAreFoundByMaterialNameWholeAsTheFileHoldsThem) {
    SetMapFileName3ds(&material->maps[0], "O68C.bmp");
    StoreMaterial3ds(db, material);
    SetMaterialName3ds(material, "Plain");
    PrepareMap3ds(&material->maps[0]);
    StoreMaterial3ds(db, material);
    char* fileName = nullptr;
    FetchTextureFileName3ds(db, "MAT0", &fileName);
    EXPECT_STREQ(fileName, "O68C.bmp");
    std::free(fileName);
    for (const char* without : {"Plain", "MAT1"}) {
        FetchTextureFileName3ds(db, without, &fileName);
        EXPECT_EQ(fileName, nullptr) << without;
    }

    // Other programs write longer names; a group's name, cut to its field, finds its material.
    ByteVector name, mapName;
    AppendText(name, "Material #25 of the wall");
    AppendText(mapName, "C:\\textures\\O68C.bmp");
    read = ReadDatabase(Chunk(
        0x4D4D, Chunk(0x3D3D, Chunk(0xAFFF, Concat({Chunk(0xA000, name), Chunk(0xA200, Chunk(0xA300, mapName))})))));
    FetchTextureFileName3ds(read, "Material #25 of ", &fileName);
    EXPECT_STREQ(fileName, "C:\\textures\\O68C.bmp");
    std::free(fileName);
    ExpectNoErrors();
    database_ = nullptr;  // the fixture releases `read`
}
