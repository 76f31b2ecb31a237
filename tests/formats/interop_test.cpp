// Other programs read what we write: Khronos' glTF validator and assimp.
#include <gtest/gtest.h>

#include "modelformats.h"
#include "samplemodel.h"
#include "testfiles.h"

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
        const int status = RunInto(std::string("node '") + PALLIX_VALIDATE_SCRIPT + "' '" + PALLIX_GLTF_VALIDATOR + "' '" +
                                   (dir_ / name).string() + "'",
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
        EXPECT_NE(text.find(std::string(name).ends_with(".obj") ? "'O20.bmp'" : "'O20.png'"), std::string::npos) << text;
    }
}

}  // namespace
