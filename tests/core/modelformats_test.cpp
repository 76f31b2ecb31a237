// Models through glTF, GLB and OBJ: the same folder, names and import rules
// as their 3DS files, chosen in the popup's format question.
#include <gtest/gtest.h>

#include "exchange/files/exportpaths.h"
#include "exchange/model/modelformattable.h"
#include "framework/commandids.h"
#include "tests/support/viewfixture.h"
#include "tools/bfpbuilder.h"

namespace {

class ModelFormats : public ViewFixture, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        bfp::ImageWriter image;
        image.AddBank({{bfp::Cube("box", 50, 2), bfp::Pyramid("peak", 40, 70, 2)},
                       {{"a", bfp::MakeBmp(4, 4, 8, 1)}, {"b", bfp::MakeBmp(8, 4, 24, 2)}}});
        ASSERT_TRUE(Open(image.bytes()));
        view_.SetAnnouncePaths(false);
    }
    void Choose(const char* format) {
        const auto formats = ::ModelFormats();
        for (size_t k = 0; k < formats.size(); ++k)
            if (std::string(formats[k].name) == format) ui_.choice = k;
    }
    // The image after the model went out and came back in the format.
    std::vector<uint8_t> RoundTrip(std::initializer_list<int> model, const char* format) {
        Choose(format);
        RunCommand(model, cmd::kModelExportAs);
        RunCommand(model, cmd::kModelImportFrom);
        EXPECT_FALSE(view_.LastResult().Failed()) << view_.LastResult().message;
        return Image();
    }
};

TEST_P(ModelFormats, EveryDemoModelComesBackUnchanged) {
    const auto demo = ReadFileBytes(std::filesystem::path(PALLIX_SOURCE_DIR) / "samples" / "demo.bfp");
    for (auto model : {std::initializer_list<int>{0, 0}, {0, 1}, {1, 0}, {2, 0}}) {
        ASSERT_TRUE(Open(demo));
        EXPECT_EQ(RoundTrip(model, GetParam()), demo) << Record(model).szLabel;
        // Nothing changed, so nothing is left to save; the 3DS import has
        // always marked the document whatever it read.
        EXPECT_EQ(doc_.IsModified(), std::string(GetParam()) == "3ds") << Record(model).szLabel;
    }
}

TEST_P(ModelFormats, ExportAllAsWritesEveryModelInTheFormatAndTheBitmapsAsBmp) {
    Choose(GetParam());
    RunCommand({0}, cmd::kBankExportAllAs);
    EXPECT_FALSE(view_.LastResult().Failed()) << view_.LastResult().message;
    for (const char* stem : {"box", "peak"})
        EXPECT_TRUE(std::filesystem::exists(ExportDir() / (std::string(stem) + "." + GetParam()))) << stem;
    EXPECT_TRUE(std::filesystem::exists(ExportDir() / BitmapFileName(Record({0, 2}).nOffset)));
}

INSTANTIATE_TEST_SUITE_P(EachFormat, ModelFormats, ::testing::Values("3ds", "gltf", "glb", "obj"));

TEST_F(ModelFormats, ACancelledFormatQuestionWritesAndChangesNothing) {
    ui_.choice.reset();
    RunCommand({0, 0}, cmd::kModelExportAs);
    RunCommand({0, 0}, cmd::kModelImportFrom);
    EXPECT_EQ(ui_.questions.size(), 2u);
    EXPECT_TRUE(std::filesystem::is_empty(ExportDir()));
    EXPECT_FALSE(doc_.IsModified());
}

}  // namespace

namespace {

// Import All takes each model from the file of any format that was written
// last: an older export in another format never takes back an edit.
TEST_P(ModelFormats, ImportAllTakesTheModelFromTheFileWrittenLast) {
    const std::string extension = std::string(".") + GetParam();
    Choose(GetParam() == std::string("3ds") ? "obj" : "3ds");
    RunCommand({0}, cmd::kBankExportAllAs);
    Choose(GetParam());
    RunCommand({0}, cmd::kBankExportAllAs);
    // The "edit": box's file in the format now holds peak.
    // Copied by hand: MinGW's copy_file takes any two files for one (their inode numbers are 0).
    WriteFileBytes(ExportDir() / ("box" + extension), ReadFileBytes(ExportDir() / ("peak" + extension)));
    const auto older = std::filesystem::last_write_time(ExportDir() / ("box" + extension)) - std::chrono::hours(1);
    for (const auto& other : std::filesystem::directory_iterator(ExportDir()))
        if (other.path().stem() == "box" && other.path().extension() != extension)
            std::filesystem::last_write_time(other.path(), older);

    RunCommand({0}, cmd::kBankImportAll);
    EXPECT_EQ(view_.LastResult().message.rfind("Imported: 1\nUnchanged: 3\nRefused: 0", 0), 0u)
        << view_.LastResult().message;
    const auto edited = Image();
    RunCommand({0}, cmd::kBankImportAll);
    EXPECT_EQ(Image(), edited);
}

}  // namespace
