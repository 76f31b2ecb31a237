// Material, map and settings records in memory: defaults, reuse, discarding
// and names.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/toolkit3ds_records/records_test_support.h"
#include "toolkit3ds/material3ds.h"
#include "toolkit3ds/scenesettings3ds.h"

namespace {

using MaterialRecordTest = RecordsTest;

void ExpectColour(const float (&colour)[3], float red, float green, float blue) {
    EXPECT_EQ(colour[0], red);
    EXPECT_EQ(colour[1], green);
    EXPECT_EQ(colour[2], blue);
}

void ExpectDefaultMap(const MapRecord3ds& map) {
    EXPECT_STREQ(map.fileName, "");
    EXPECT_EQ(map.strength, 0.0f);
    EXPECT_EQ(map.tiling, 1);
    EXPECT_EQ(map.option100, 0);
    EXPECT_EQ(map.option20, 0);
    EXPECT_EQ(map.blur, 0.0f);
    EXPECT_EQ(map.option02, 0);
    EXPECT_EQ(map.option08, 0);
    EXPECT_EQ(map.uScale, 1.0f);
    EXPECT_EQ(map.vScale, 1.0f);
    EXPECT_EQ(map.uOffset, 0.0f);
    EXPECT_EQ(map.vOffset, 0.0f);
    EXPECT_EQ(map.rotation, 0.0f);
    EXPECT_EQ(map.tintMode, 0);
    ExpectColour(map.tint1, 0, 0, 0);
    ExpectColour(map.tint2, 1, 1, 1);
    ExpectColour(map.tintR, 1, 0, 0);
    ExpectColour(map.tintG, 0, 1, 0);
    ExpectColour(map.tintB, 0, 0, 1);
    EXPECT_EQ(map.dataSize, 0u);
    EXPECT_EQ(map.data, nullptr);
}

TEST_F(MaterialRecordTest, PrepareGivesTheDefaultsOfTheMaterialAndAllSixteenSlots) {
    MaterialRecord3ds* material = nullptr;
    PrepareMaterial3ds(&material);
    ASSERT_NE(material, nullptr);
    ExpectNoErrors();
    EXPECT_STREQ(material->name, "");
    ExpectColour(material->ambient, 0, 0, 0);
    ExpectColour(material->diffuse, 0, 0, 0);
    ExpectColour(material->specular, 0, 0, 0);
    EXPECT_EQ(material->shininess, 0.0f);
    EXPECT_EQ(material->transparencyFalloff, 0.0f);
    EXPECT_EQ(material->valueA087, 1.0f);
    EXPECT_EQ(material->shading, 3);
    EXPECT_EQ(material->flagA250 | material->flagA081 | material->flagA08C, 0);
    for (int slot = 1; slot <= kMapSlotCount3ds; ++slot) {
        SCOPED_TRACE(slot);
        ExpectDefaultMap(*MaterialMapSlot3ds(material, slot));
    }
    EXPECT_EQ(material->flagA310, 0);
    EXPECT_EQ(material->valueA310a, 100);
    EXPECT_EQ(material->valueA310b, 1);
    DiscardMaterial3ds(&material);
    EXPECT_EQ(material, nullptr);
}

TEST_F(MaterialRecordTest, PrepareWithANullPointerIsAnInvalidArgument) {
    PrepareMaterial3ds(nullptr);
    ExpectErrors({ERR_INVALID_ARG});
}

TEST_F(MaterialRecordTest, DataBlocksOfEverySlotAreFreedOnReuseAndDiscard) {
    MaterialRecord3ds* material = nullptr;
    PrepareMaterial3ds(&material);
    for (int slot : {1, 15, 16}) {
        MapRecord3ds* map = MaterialMapSlot3ds(material, slot);
        map->dataSize = 4;
        map->data = static_cast<uint8_t*>(std::calloc(4, 1));
    }
    MaterialRecord3ds* before = material;
    PrepareMaterial3ds(&material);  // ASan reports any block left behind
    EXPECT_EQ(material, before);
    EXPECT_EQ(material->maps[0].data, nullptr);
    material->maps[14].data = static_cast<uint8_t*>(std::calloc(4, 1));
    DiscardMaterial3ds(&material);
    DiscardMaterial3ds(&material);
    DiscardMaterial3ds(nullptr);
    ExpectNoErrors();
}

TEST_F(MaterialRecordTest, LongNamesAreTruncatedToWhatTheFileHolds) {
    MaterialRecord3ds* material = nullptr;
    PrepareMaterial3ds(&material);
    SetMaterialName3ds(material, "A_MATERIAL_NAME_OF_19");
    EXPECT_STREQ(material->name, "A_MATERIAL_NAME_");
    SetMapFileName3ds(&material->maps[0], "TEXTURE_FILE_01.bmp");
    EXPECT_STREQ(material->maps[0].fileName, "TEXTURE_FILE_01");
    SetMapFileName3ds(&material->maps[1], "O1A2B.bmp");
    EXPECT_STREQ(material->maps[1].fileName, "O1A2B.bmp");
    ExpectNoErrors();
    DiscardMaterial3ds(&material);
}

TEST_F(MaterialRecordTest, MapAndNameSettersRefuseNullArguments) {
    PrepareMap3ds(nullptr);
    SetMaterialName3ds(nullptr, "x");
    SetMapFileName3ds(nullptr, "x");
    ExpectErrors({ERR_INVALID_ARG, ERR_INVALID_ARG, ERR_INVALID_ARG});
}

TEST_F(MaterialRecordTest, SceneSettingsPrepareGivesTheDefaults) {
    SceneSettings3ds* settings = nullptr;
    PrepareSceneSettings3ds(&settings);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->scale, 1.0f);
    EXPECT_EQ(settings->value1400, 1.0f);
    EXPECT_EQ(settings->value1460, 1.0f);
    EXPECT_EQ(settings->size1420, 512);
    EXPECT_EQ(settings->value1450, 3.0f);
    ExpectColour(settings->ambientLight, 0.39216f, 0.39216f, 0.39216f);
    ExpectColour(settings->constants1500, 0, 0, 0);
    settings->scale = 9;
    SceneSettings3ds* before = settings;
    PrepareSceneSettings3ds(&settings);
    EXPECT_EQ(settings, before);
    EXPECT_EQ(settings->scale, 1.0f);
    DiscardSceneSettings3ds(&settings);
    EXPECT_EQ(settings, nullptr);
    ExpectNoErrors();
    PrepareSceneSettings3ds(nullptr);
    DiscardSceneSettings3ds(nullptr);
    ExpectErrors({ERR_INVALID_ARG, ERR_INVALID_ARG});
}

}  // namespace
