// Models through glTF, GLB and OBJ: the same folder, names and import rules
// as their 3DS files, chosen in the popup's format question.
#include <gtest/gtest.h>

#include "exchange/files/exportpaths.h"
#include "exchange/commands/modelformatcommands.h"
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
