// OBJ export and import.
#include <gtest/gtest.h>

#include "exchange/formats/modelformats.h"
#include "tests/formats/samplemodel.h"
#include "tests/support/testfiles.h"

namespace {

class ObjFormat : public ::testing::Test {
protected:
    fw::Expected<ImportedMesh> ReadText(const std::string& name, const std::string& text) {
        WriteFileBytes(dir_ / name, std::vector<uint8_t>(text.begin(), text.end()));
        return ReadObj(dir_ / name);
    }
    TempDir dir_;
    SampleModel sample_;
};

TEST_F(ObjFormat, ExportIsYUpWithAGroupPerBitmapNamingItsBmp) {
    ASSERT_TRUE(WriteObj(sample_.model, dir_ / "pyramid.obj").ok());
    const std::string obj = FileText(dir_ / "pyramid.obj");
    EXPECT_NE(obj.find("mtllib pyramid.mtl\n"), std::string::npos);
    EXPECT_NE(obj.find("v 0 2 -0\nvt 0.5 0.75\n"), std::string::npos);  // the apex, v unflipped
    EXPECT_NE(obj.find("usemtl O10\nf 1/1/1 3/3/3 2/2/2\n"), std::string::npos);
    EXPECT_NE(FileText(dir_ / "pyramid.mtl").find("newmtl O20\n"), std::string::npos);
    EXPECT_NE(FileText(dir_ / "pyramid.mtl").find("map_Kd O20.bmp\n"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(dir_ / "O20.bmp"), sample_.bmp24);
}

TEST_F(ObjFormat, EveryModelComesBackUnchanged) {
    ASSERT_TRUE(WriteObj(sample_.model, dir_ / "pyramid.obj").ok());
    const auto read = ReadObj(dir_ / "pyramid.obj");
    ASSERT_TRUE(read.ok()) << read.why();
    ExpectSameMesh(sample_.model, *read);
    EXPECT_EQ(read->groups[read->faces[2].group].textureFile, "O20.bmp");
}

TEST_F(ObjFormat, TwoObjectsWithUnsharedCornersAndAQuadMerge) {
    const auto read = ReadText("two.obj",
                                       "o a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nf 1/1 2/2 3/2\nf 1/2 2 3\n"
                                       "o b\nv 0 0 5\nv 1 0 5\nv 1 1 5\nv 0 1 5\nf 4 5 6 7\n");
    ASSERT_TRUE(read.ok()) << read.why();
    // Each pair of position and mapping is a point: six in "a", four in "b".
    EXPECT_EQ(read->points.size(), 10u);
    ASSERT_EQ(read->faces.size(), 4u);
    EXPECT_DOUBLE_EQ(read->points.back().y, -5.0);  // OBJ's z is the exchange's -y
    EXPECT_EQ(read->groups.size(), 1u);
}

TEST_F(ObjFormat, DamagedFilesAreRefusedInWordsNamingThem) {
    for (const auto& [name, text] : std::vector<std::pair<std::string, std::string>>{
             {"range.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 9\n"},
             {"mapping.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/2 3/1\n"},
             {"empty.obj", "# nothing\n"}}) {
        const auto read = ReadText(name, text);
        EXPECT_FALSE(read.ok()) << name;
        EXPECT_NE(read.why().find(name), std::string::npos) << read.why();
    }
}

}  // namespace
