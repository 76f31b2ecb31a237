// Other programs read what we write: Khronos' glTF validator and assimp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "exchange/formats/modelformats.h"
#include "tests/formats/samplemodel.h"
#include "tests/support/testfiles.h"

namespace {

int RunInto(const std::string& command, const std::filesystem::path& output) {
    return std::system((command + " > '" + output.string() + "' 2>&1").c_str());
}

class Interop : public ::testing::Test {
protected:
    TempDir dir_;
    SampleModel sample_;
};

TEST_F(Interop, TheGltfValidatorFindsNothingWrongWithOurGltfAndGlb) {
    if (std::system("node --version > /dev/null 2>&1") != 0 || !std::filesystem::exists(PALLIX_GLTF_VALIDATOR))
        GTEST_SKIP() << "the glTF validator is not installed: run scripts/install-deps.sh test";
    for (const char* name : {"pyramid.gltf", "pyramid.glb"}) {
        ASSERT_TRUE(WriteGltf(sample_.model, dir_ / name, std::string(name).ends_with(".glb")).ok());
        const auto report = dir_ / "report.txt";
        const int status = RunInto(std::string("node '") + PALLIX_VALIDATE_SCRIPT + "' '" + PALLIX_GLTF_VALIDATOR +
                                       "' '" + (dir_ / name).string() + "'",
                                   report);
        EXPECT_EQ(status, 0) << FileText(report);
    }
}

TEST_F(Interop, AssimpReadsOurFilesWithTheirCounts) {
    if (std::system("assimp version > /dev/null 2>&1") != 0) GTEST_SKIP() << "assimp is not installed";
    ASSERT_TRUE(WriteGltf(sample_.model, dir_ / "pyramid.glb", true).ok());
    ASSERT_TRUE(WriteGltf(sample_.model, dir_ / "pyramid.gltf", false).ok());
    ASSERT_TRUE(WriteObj(sample_.model, dir_ / "pyramid.obj").ok());
    for (const char* name : {"pyramid.glb", "pyramid.gltf", "pyramid.obj"}) {
        const auto report = dir_ / "assimp.txt";
        ASSERT_EQ(RunInto("assimp info '" + (dir_ / name).string() + "'", report), 0) << FileText(report);
        const std::string text = FileText(report);
        const auto line = [&](const std::string& key) {
            const auto at = text.find("\n" + key + ":");
            return at == std::string::npos ? std::string() : text.substr(at + 1, text.find('\n', at + 1) - at - 1);
        };
        // One mesh per bitmap, the six triangles between them.
        EXPECT_EQ(line("Meshes"), "Meshes:             2") << name;
        EXPECT_EQ(line("Faces"), "Faces:              6") << name;
        EXPECT_NE(text.find("Maximum point      (1.000000 2.000000 1.000000)"), std::string::npos) << name << text;
        const std::string picture = std::string(name).ends_with(".obj")   ? "'O20.bmp'"
                                    : std::string(name).ends_with(".glb") ? "Textures (embed.):  2"
                                                                          : "'O20.png'";
        EXPECT_NE(text.find(picture), std::string::npos) << text;
    }
}

// An edit in Blender comes back: the apex raised by a tenth, every other
// corner (however Blender splits them) where it was.
TEST_F(Interop, BlenderOpensOurFilesUprightWithPicturesAndItsEditReadsBack) {
    if (std::system("blender --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "Blender is not installed";
    for (const char* name : {"pyramid.gltf", "pyramid.glb", "pyramid.obj"}) {
        const std::string extension = std::filesystem::path(name).extension().string();
        const auto path = dir_ / name, edited = dir_ / ("edited" + extension), report = dir_ / "blender.txt";
        ASSERT_TRUE(
            (extension == ".obj" ? WriteObj(sample_.model, path) : WriteGltf(sample_.model, path, extension == ".glb"))
                .ok());
        ASSERT_EQ(
            RunInto(std::string("blender -b --factory-startup --python-exit-code 1 --python '") + PALLIX_SOURCE_DIR +
                        "/tests/interop/blender_check.py' -- --model '" + path.string() +
                        "' --faces 6 --vertices 5 --textures 2 --bbox=-1,-1,0,1,1,2 --move 0,0,2:0,0,0.1 --export '" +
                        edited.string() + "'",
                    report),
            0)
            << FileText(report);
        const auto read = extension == ".obj" ? ReadObj(edited) : ReadGltf(edited);
        ASSERT_TRUE(read.ok()) << read.why();
        EXPECT_EQ(read->faces.size(), 6u);
        for (const ExchangePoint& p : read->points) {
            ExchangePoint expected = *std::min_element(sample_.model.points.begin(), sample_.model.points.end(),
                                                       [&](const ExchangePoint& a, const ExchangePoint& b) {
                                                           return std::abs(a.u - p.u) + std::abs(a.v - p.v) <
                                                                  std::abs(b.u - p.u) + std::abs(b.v - p.v);
                                                       });
            if (expected.z == 2) expected.z = 2.1;
            EXPECT_NEAR(p.x, expected.x, 1e-5) << name;
            EXPECT_NEAR(p.y, expected.y, 1e-5) << name;
            EXPECT_NEAR(p.z, expected.z, 1e-5) << name;
        }
    }
}

}  // namespace
