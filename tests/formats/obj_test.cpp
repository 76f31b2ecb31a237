// OBJ export and import.
#include <gtest/gtest.h>

#include <tuple>

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

// What the library would take wrongly without a word: it counts corners in
// one byte, reads "nan" as 0 and wraps long indices.
TEST_F(ObjFormat, FacesOfTooManyCornersNoNumbersAndWrappingIndicesAreRefusedInWords) {
    std::string points, face = "f";
    for (int i = 1; i <= 258; ++i) {
        points += "v " + std::to_string(i) + " " + std::to_string(i % 7) + " 0\n";
        face += " " + std::to_string(i);
    }
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    for (const auto& [name, text, reason] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {"corners.obj", points + face + "\n", "258 corners"},
             {"nan.obj", "v nan 1 1\n" + triangle + "f 2 3 4\n", "nan"},
             {"huge.obj", "v 1e999 1 1\n" + triangle + "f 2 3 4\n", "1e999"},
             {"wraps.obj", triangle + "f 1 2 99999999999999999999\n", "99999999999999999999"},
             // Lines ended by carriage returns alone are lines too.
             {"returns.obj", "v 0 0 0\rv nan 0 0\rf 1 2 3\r", "nan"}}) {
        const auto read = ReadText(name, text);
        ASSERT_FALSE(read.ok()) << name;
        EXPECT_NE(read.why().find(name), std::string::npos) << read.why();
        EXPECT_NE(read.why().find(reason), std::string::npos) << read.why();
    }
    // Skin weights are not imported; a joint number beyond any int is no harm.
    EXPECT_TRUE(ReadText("weights.obj", triangle + "vw 1 99999999999999999999 0.5\nf 1 2 3\n").ok());
}

// A library named again and again is read once; its materials still count.
TEST_F(ObjFormat, AMaterialLibraryIsReadOnceHoweverOftenItIsNamedAndItsMaterialsAreBounded) {
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl m0\nf 1 2 3\n";
    // 1 MiB named 100 times, spelt apart so that the library's own check
    // does not catch it: read each time, it would pass the import's budget.
    const std::string padded = "newmtl m0\n" + std::string(1 << 20, '#') + "\n";
    WriteFileBytes(dir_ / "big.mtl", std::vector<uint8_t>(padded.begin(), padded.end()));
    std::string named;
    for (int i = 0; i < 100; ++i) named += "mtllib " + std::to_string(i) + "/big.mtl\n";
    const auto once = ReadText("named.obj", named + triangle);
    EXPECT_TRUE(once.ok()) << once.why();

    std::string many;
    for (int i = 0; i <= 4096; ++i) many += "newmtl m" + std::to_string(i) + "\n";
    WriteFileBytes(dir_ / "many.mtl", std::vector<uint8_t>(many.begin(), many.end()));
    const auto bounded = ReadText("many.obj", "mtllib many.mtl\n" + triangle);
    ASSERT_FALSE(bounded.ok());
    EXPECT_NE(bounded.why().find("more materials than any model"), std::string::npos) << bounded.why();
}

// A material library is never read through a link that leads out of the
// model's folder.
// The C++ library makes no symbolic links on Windows (POSIX test).
#ifndef _WIN32
TEST_F(ObjFormat, AMaterialLibraryLinkedFromOutsideTheModelsFolderIsNotRead) {
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl secret\nf 1 2 3\n";
    std::filesystem::create_directories(dir_ / "model");
    const std::string secret = "newmtl secret\nmap_Kd stolen.bmp\n";
    WriteFileBytes(dir_ / "secret.mtl", std::vector<uint8_t>(secret.begin(), secret.end()));
    std::filesystem::create_symlink(dir_ / "secret.mtl", dir_ / "model" / "linked.mtl");
    const std::string text = "mtllib linked.mtl\n" + triangle;
    WriteFileBytes(dir_ / "model" / "linked.obj", std::vector<uint8_t>(text.begin(), text.end()));
    const auto linked = ReadObj(dir_ / "model" / "linked.obj");
    ASSERT_TRUE(linked.ok()) << linked.why();
    for (const ImportedGroup& group : linked->groups) EXPECT_NE(group.textureFile, "stolen.bmp");
}
#endif

}  // namespace
