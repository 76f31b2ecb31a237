// Scene settings in a database: the value chunks that storing makes or
// reuses, and fetching them back.
#include <gtest/gtest.h>

#include "tests/toolkit3ds_records/records_test_support.h"
#include "toolkit3ds/scenesettings3ds.h"

namespace {

class SettingsStoreTest : public RecordsTest {
protected:
    void SetUp() override {
        RecordsTest::SetUp();
        PrepareSceneSettings3ds(&settings);
    }
    void TearDown() override {
        DiscardSceneSettings3ds(&settings);
        DiscardSceneSettings3ds(&fetched);
        RecordsTest::TearDown();
    }
    Chunk3ds* Scene() const { return ChildOf(db->top, CHUNK_SCENE); }
    float FloatOf(uint32_t tag) const { return DataOf<FloatData3ds>(ChildOf(Scene(), tag))->value; }

    SceneSettings3ds* settings = nullptr;
    SceneSettings3ds* fetched = nullptr;
};

TEST_F(SettingsStoreTest, DefaultSettingsStoreTheirValuesInWeightOrder) {
    StoreSceneSettings3ds(db, settings);
    ExpectNoErrors();
    EXPECT_EQ(ChildrenOf(Scene()), "3D3E 0100 1400 1420 1450 1460 1500 2100{0010 0013}");
    EXPECT_EQ(DataOf<LongData3ds>(ChildOf(Scene(), CHUNK_SCENE_VERSION))->value, 3);
    EXPECT_EQ(FloatOf(CHUNK_SCENE_SCALE), 1.0f);
    EXPECT_EQ(FloatOf(CHUNK_SETTING_FLOAT_1400), 1.0f);
    EXPECT_EQ(DataOf<WordData3ds>(ChildOf(Scene(), CHUNK_SETTING_WORD_1420))->value, 512);
    EXPECT_EQ(FloatOf(CHUNK_SETTING_FLOAT_1450), 3.0f);
    EXPECT_EQ(FloatOf(CHUNK_SETTING_FLOAT_1460), 1.0f);
    Chunk3ds* light = ChildOf(Scene(), CHUNK_AMBIENT_LIGHT);
    for (uint32_t tag : {CHUNK_RGB_FLOAT, CHUNK_RGB_FLOAT_ALT}) {
        for (float component : DataOf<Floats3Data3ds>(ChildOf(light, tag))->value) {
            EXPECT_EQ(component, 0.39216f);
        }
    }
    for (float constant : DataOf<Floats3Data3ds>(ChildOf(Scene(), CHUNK_SETTING_VECTOR_1500))->value) {
        EXPECT_EQ(constant, 0.0f);
    }
}

TEST_F(SettingsStoreTest, StoringAgainReusesTheValueChunks) {
    StoreSceneSettings3ds(db, settings);
    settings->scale = 2.5f;
    settings->ambientLight[1] = 0.3f;
    StoreSceneSettings3ds(db, settings);
    ExpectNoErrors();
    EXPECT_EQ(ChildrenOf(Scene()), "3D3E 0100 1400 1420 1450 1460 1500 2100{0010 0013}");
    EXPECT_EQ(FloatOf(CHUNK_SCENE_SCALE), 2.5f);
}

TEST_F(SettingsStoreTest, FetchingGivesBackWhatWasStored) {
    settings->scale = 0.5f;
    settings->value1400 = 2;
    settings->value1460 = 4;
    settings->size1420 = 1024;
    settings->value1450 = 6;
    settings->ambientLight[0] = 0.3f;
    settings->constants1500[2] = -1;
    StoreSceneSettings3ds(db, settings);
    FetchSceneSettings3ds(db, &fetched);
    ExpectNoErrors();
    ASSERT_NE(fetched, nullptr);
    EXPECT_EQ(fetched->scale, 0.5f);
    EXPECT_EQ(fetched->value1400, 2.0f);
    EXPECT_EQ(fetched->value1460, 4.0f);
    EXPECT_EQ(fetched->size1420, 1024);
    EXPECT_EQ(fetched->value1450, 6.0f);
    EXPECT_EQ(fetched->ambientLight[0], 0.3f);
    EXPECT_EQ(fetched->ambientLight[1], 0.39216f);
    EXPECT_EQ(fetched->constants1500[2], -1.0f);
}

TEST_F(SettingsStoreTest, ByteColoursAreReadInTwoHundredFiftySixths) {
    Chunk3ds* light = nullptr;
    ReplaceOrAddChild3ds(Scene(), CHUNK_AMBIENT_LIGHT, &light);
    Chunk3ds* bytes = nullptr;
    auto* record = static_cast<ByteTripleData3ds*>(NewChunkWithData3ds(&bytes, CHUNK_RGB24));
    record->value[0] = 128;
    record->value[1] = 64;
    record->value[2] = 255;
    InsertChild3ds(light, bytes);
    FetchSceneSettings3ds(db, &fetched);
    EXPECT_EQ(fetched->ambientLight[0], 0.5f);
    EXPECT_EQ(fetched->ambientLight[1], 0.25f);
    EXPECT_EQ(fetched->ambientLight[2], 255.0f / 256.0f);

    // The second colour, when present, overrides the first.
    auto* alternative = static_cast<Floats3Data3ds*>(NewChunkWithData3ds(&bytes, CHUNK_RGB_FLOAT_ALT));
    alternative->value[0] = 0.75f;
    InsertChild3ds(light, bytes);
    FetchSceneSettings3ds(db, &fetched);
    EXPECT_EQ(fetched->ambientLight[0], 0.75f);
    EXPECT_EQ(fetched->ambientLight[1], 0.0f);
    ExpectNoErrors();
}

TEST_F(SettingsStoreTest, WithoutASceneTheRecordIsLeftAsItWas) {
    Database3ds* bare = nullptr;
    NewDatabase3ds(&bare);
    NewChunkOfType3ds(&bare->top, CHUNK_MESH_FILE);
    settings->scale = 9;
    FetchSceneSettings3ds(bare, &settings);
    EXPECT_EQ(settings->scale, 9.0f);
    FetchSceneSettings3ds(bare, &fetched);
    EXPECT_EQ(fetched, nullptr);
    ExpectNoErrors();
    StoreSceneSettings3ds(bare, settings);  // makes the scene
    EXPECT_EQ(TreeOf(bare->top).substr(0, 19), "4D4D{3D3D{3D3E 0100");
    ReleaseDatabase3ds(&bare);
}

TEST_F(SettingsStoreTest, BadArgumentsAndDatabasesAreRefused) {
    StoreSceneSettings3ds(nullptr, settings);
    StoreSceneSettings3ds(db, nullptr);
    FetchSceneSettings3ds(nullptr, &fetched);
    FetchSceneSettings3ds(db, nullptr);
    ExpectErrors({ERR_INVALID_ARG, ERR_INVALID_ARG, ERR_INVALID_ARG, ERR_INVALID_ARG});
    Database3ds* other = nullptr;
    NewDatabase3ds(&other);
    ClearErrors3ds();
    StoreSceneSettings3ds(other, settings);
    ExpectErrors({ERR_INVALID_DATABASE});
    ClearErrors3ds();
    CreateDatabase3ds(other, DatabaseKind3ds::MaterialLibrary);
    StoreSceneSettings3ds(other, settings);
    ExpectErrors({ERR_WRONG_DATABASE});
    ReleaseDatabase3ds(&other);
}

}  // namespace
