// glTF export and import: the bytes that matter, round trips, other
// writers' files and damaged ones.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstring>

#include "exchange/formats/modelformats.h"
#include "tests/formats/samplemodel.h"
#include "tests/support/testfiles.h"

using nlohmann::json;

namespace {

std::vector<float> Floats(const std::vector<uint8_t>& bin, const json& document, int accessor) {
    const json& a = document["accessors"][accessor];
    const json& view = document["bufferViews"][a["bufferView"].get<int>()];
    const size_t count = a["count"].get<size_t>() * (a["type"] == "VEC3" ? 3 : 2);
    std::vector<float> values(count);
    std::memcpy(values.data(), bin.data() + view["byteOffset"].get<size_t>(), count * 4);
    return values;
}

class GltfFormat : public ::testing::Test {
protected:
    json WrittenDocument() {
        EXPECT_TRUE(WriteGltf(sample_.model, dir_ / "pyramid.gltf", false).ok());
        return json::parse(FileText(dir_ / "pyramid.gltf"));
    }
    TempDir dir_;
    SampleModel sample_;
};

TEST_F(GltfFormat, ExportHasOnePrimitivePerBitmapWithCountsBoundsAndPictures) {
    const json doc = WrittenDocument();
    const auto& primitives = doc["meshes"][0]["primitives"];
    ASSERT_EQ(primitives.size(), 2u);
    const json& position = doc["accessors"][primitives[0]["attributes"]["POSITION"].get<int>()];
    EXPECT_EQ(position["count"], 5);
    // Y-up: the apex, 2 units above the base, is at y = 2; the base spans z from -1 to 1.
    EXPECT_EQ(position["min"], json({-1.0, 0.0, -1.0}));
    EXPECT_EQ(position["max"], json({1.0, 2.0, 1.0}));
    EXPECT_EQ(doc["accessors"][primitives[0]["indices"].get<int>()]["count"], 6);
    EXPECT_EQ(doc["accessors"][primitives[1]["indices"].get<int>()]["count"], 12);
    EXPECT_EQ(doc["buffers"][0]["uri"], "pyramid.bin");
    EXPECT_EQ(doc["materials"][1]["name"], "O20");
    EXPECT_EQ(doc["images"], json({{{"uri", "O10.png"}}, {{"uri", "O20.png"}}}));
    const auto png = ReadFileBytes(dir_ / "O20.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
}

TEST_F(GltfFormat, ExportFlipsVAndTurnsNormalsOutward) {
    const json doc = WrittenDocument();
    const auto bin = ReadFileBytes(dir_ / "pyramid.bin");
    const auto& attributes = doc["meshes"][0]["primitives"][0]["attributes"];
    const auto mapping = Floats(bin, doc, attributes["TEXCOORD_0"]);
    EXPECT_FLOAT_EQ(mapping[1], 0.75f);  // v 0.25 counted from the bottom
    const auto positions = Floats(bin, doc, attributes["POSITION"]), normals = Floats(bin, doc, attributes["NORMAL"]);
    const float centre[3] = {0, 0.4f, 0};
    for (size_t k = 0; k < 5; ++k) {
        float outward = 0;
        for (size_t i = 0; i < 3; ++i) outward += normals[k * 3 + i] * (positions[k * 3 + i] - centre[i]);
        EXPECT_GT(outward, 0) << k;
    }
}

TEST_F(GltfFormat, EveryModelComesBackUnchangedFromGltfAndGlb) {
    for (const char* name : {"pyramid.glb", "pyramid.gltf"}) {
        ASSERT_TRUE(WriteGltf(sample_.model, dir_ / name, std::string(name).ends_with(".glb")).ok());
        EXPECT_EQ(std::filesystem::exists(dir_ / "O20.png"), std::string(name).ends_with(".gltf")) << name;
        const auto read = ReadGltf(dir_ / name);
        ASSERT_TRUE(read.ok()) << read.why();
        ExpectSameMesh(sample_.model, *read);
        // A .glb carries its pictures inside, named like the bitmaps.
        EXPECT_EQ(read->groups[read->faces[2].group].textureFile,
                  std::string(name).ends_with(".glb") ? "O20" : "O20.png");
    }
}

TEST_F(GltfFormat, ABitmapThatIsNoPictureLeavesItsMaterialWithoutTexture) {
    const std::vector<uint8_t> damaged(sample_.bmp24.begin(), sample_.bmp24.begin() + 60);
    sample_.model.bitmapFiles[1] = damaged;
    const auto result = WriteGltf(sample_.model, dir_ / "pyramid.gltf", false);
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(result->size(), 1u);
    EXPECT_NE((*result)[0].find("O20.bmp"), std::string::npos);
    const json doc = json::parse(FileText(dir_ / "pyramid.gltf"));
    EXPECT_EQ(doc["materials"][1], json({{"name", "O20"}, {"pbrMetallicRoughness", {{"metallicFactor", 0}}}}));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "O20.png"));
}

TEST_F(GltfFormat, OneCommandWritesEachPictureOnce) {
    WrittenPictures written;
    ASSERT_TRUE(WriteGltf(sample_.model, dir_ / "first.gltf", false, &written).ok());
    std::filesystem::remove(dir_ / "O20.png");
    ASSERT_TRUE(WriteGltf(sample_.model, dir_ / "second.gltf", false, &written).ok());
    EXPECT_FALSE(std::filesystem::exists(dir_ / "O20.png"));
    const auto read = ReadGltf(dir_ / "second.gltf");
    ASSERT_TRUE(read.ok()) << read.why();
    EXPECT_EQ(read->groups[1].textureFile, "O20.png");
}

TEST_F(GltfFormat, AFailedExportLeavesNoneOfTheFilesItWroteBeforeFailing) {
    std::filesystem::create_directories(dir_ / "pyramid.gltf");  // the last file cannot be written
    WrittenPictures written;
    EXPECT_FALSE(WriteGltf(sample_.model, dir_ / "pyramid.gltf", false, &written).ok());
    EXPECT_FALSE(std::filesystem::exists(dir_ / "pyramid.bin"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "O20.png"));
    EXPECT_TRUE(written.paths.empty());
}

TEST_F(GltfFormat, TwoMeshesInTwoNodesMergeWithTheirTransformsAndCornersApart) {
    ASSERT_TRUE(WriteGltf(sample_.model, dir_ / "pyramid.gltf", false).ok());
    json doc = json::parse(FileText(dir_ / "pyramid.gltf"));
    doc["meshes"].push_back(doc["meshes"][0]);
    doc["nodes"].push_back({{"mesh", 1}, {"translation", {10, 0, 0}}});
    doc["scenes"][0]["nodes"].push_back(1);
    const std::string text = doc.dump();
    WriteFileBytes(dir_ / "two.gltf", std::vector<uint8_t>(text.begin(), text.end()));
    const auto read = ReadGltf(dir_ / "two.gltf");
    ASSERT_TRUE(read.ok()) << read.why();
    ASSERT_EQ(read->points.size(), 10u);
    ASSERT_EQ(read->faces.size(), 12u);
    EXPECT_DOUBLE_EQ(read->points[9].x, 10.0);
    EXPECT_EQ(read->faces[11].c, 9u);
    EXPECT_EQ(read->groups.size(), 2u);
}

TEST_F(GltfFormat, DamagedFilesAreRefusedInWordsNamingThem) {
    ASSERT_TRUE(WriteGltf(sample_.model, dir_ / "pyramid.gltf", false).ok());
    ASSERT_TRUE(WriteGltf(sample_.model, dir_ / "pyramid.glb", true).ok());
    const std::string text = FileText(dir_ / "pyramid.gltf");
    auto glb = ReadFileBytes(dir_ / "pyramid.glb");
    glb[12] += 8;  // the JSON chunk's length
    json outOfBounds = json::parse(text);
    outOfBounds["accessors"][0]["count"] = 500;
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"cut.gltf", text.substr(0, text.size() / 2)},
        {"chunk.glb", std::string(glb.begin(), glb.end())},
        {"bounds.gltf", outOfBounds.dump()},
        {"nobin.gltf", std::string(text).replace(text.find("pyramid.bin"), 7, "missing")},
        {"overflow.gltf", R"({"asset":{"version":"2.0"},"extras":1e999})"},
        // The glTF library would recurse through these until the stack ran out.
        {"deep.gltf",
         R"({"asset":{"version":"2.0"},"extras":)" + std::string(100000, '[') + std::string(100000, ']') + "}"}};
    for (const auto& [name, bytes] : damaged) {
        WriteFileBytes(dir_ / name, std::vector<uint8_t>(bytes.begin(), bytes.end()));
        const auto read = ReadGltf(dir_ / name);
        EXPECT_FALSE(read.ok()) << name;
        EXPECT_NE(read.why().find(name), std::string::npos) << read.why();
    }
    // The reasons come from what the reader saw, not from the library's words.
    EXPECT_NE(ReadGltf(dir_ / "nobin.gltf").why().find("missing.bin it needs was not found"), std::string::npos);
    EXPECT_NE(ReadGltf(dir_ / "cut.gltf").why().find("cut short or damaged (at line "), std::string::npos);
}

// A model file may use only files of its own folder, by plain name: what a
// reference outside would read must never become part of the model.
// The C++ library makes no symbolic links on Windows (POSIX test).
#ifndef _WIN32
TEST_F(GltfFormat, ReferencesLeadingOutOfTheModelsFolderAreRefused) {
    std::filesystem::create_directories(dir_ / "model");
    ASSERT_TRUE(WriteGltf(sample_.model, dir_ / "model" / "pyramid.gltf", false).ok());
    std::filesystem::rename(dir_ / "model" / "pyramid.bin", dir_ / "outside.bin");
    std::filesystem::create_symlink(dir_ / "outside.bin", dir_ / "model" / "link.bin");
    const std::string text = FileText(dir_ / "model" / "pyramid.gltf");
    const auto current = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());  // where the library would look second
    for (const std::string uri : {"../outside.bin", "..%2Foutside.bin", "link.bin", "outside.bin"}) {
        const auto file = dir_ / "model" / "refers.gltf";
        const std::string refers = std::string(text).replace(text.find("pyramid.bin"), 11, uri);
        WriteFileBytes(file, std::vector<uint8_t>(refers.begin(), refers.end()));
        const auto read = ReadGltf(file);
        ASSERT_FALSE(read.ok()) << uri;
        EXPECT_NE(read.why().find("refers.gltf"), std::string::npos) << read.why();
    }
    std::filesystem::current_path(current);
}
#endif

// The library copies every buffer whole: forty buffers sharing one chunk
// would cost forty copies of it.
TEST_F(GltfFormat, BuffersDeclaringMoreThanTheImportsBudgetAreRefusedBeforeTheyAreRead) {
    json document = WrittenDocument();
    const json buffer = {{"uri", "big.bin"}, {"byteLength", 31 << 20}};
    document["buffers"] = json::array();
    for (int i = 0; i < 40; ++i) document["buffers"].push_back(buffer);
    const std::string text = document.dump();
    WriteFileBytes(dir_ / "many.gltf", std::vector<uint8_t>(text.begin(), text.end()));
    const auto read = ReadGltf(dir_ / "many.gltf");
    ASSERT_FALSE(read.ok());
    EXPECT_NE(read.why().find("more than any model's files hold together"), std::string::npos) << read.why();
}

// Nodes times primitives is what the reader walks: a hundred thousand
// visits are refused before the walk takes minutes.
TEST_F(GltfFormat, NodesShowingOneMeshMoreOftenThanAnyModelIsRefused) {
    json document = WrittenDocument();
    json& primitives = document["meshes"][0]["primitives"];
    const json first = primitives[0];
    while (primitives.size() < 1000) primitives.push_back(first);
    document["nodes"] = json::array();
    for (int i = 0; i < 101; ++i) document["nodes"].push_back({{"mesh", 0}});
    document["scenes"][0]["nodes"] = json::array();
    for (int i = 0; i < 101; ++i) document["scenes"][0]["nodes"].push_back(i);
    const std::string text = document.dump();
    WriteFileBytes(dir_ / "repeats.gltf", std::vector<uint8_t>(text.begin(), text.end()));
    const auto read = ReadGltf(dir_ / "repeats.gltf");
    ASSERT_FALSE(read.ok());
    EXPECT_NE(read.why().find("more meshes than any model has"), std::string::npos) << read.why();
}

}  // namespace
