// Textures come back with their models: a picture an editor painted in the
// glTF, GLB or OBJ file goes into the bitmap it names, and its copies.
#include <gtest/gtest.h>

#include "exchange/model/modelformattable.h"
#include "exchange/files/exportpaths.h"
#include "framework/commandids.h"
#include "tests/support/viewfixture.h"

namespace {

constexpr std::initializer_list<int> kCrate{0, 0}, kCrateBmp{0, 2}, kCrateCopy{2, 2};

class TexturesWithModels : public ViewFixture {
protected:
    void SetUp() override {
        demo_ = ReadFileBytes(std::filesystem::path(PALLIX_SOURCE_DIR) / "samples" / "demo.bfp");
        ASSERT_TRUE(Open(demo_));
        view_.SetAnnouncePaths(false);
    }
    void Choose(const std::string& format) {
        const auto formats = ::ModelFormats();
        for (size_t k = 0; k < formats.size(); ++k)
            if (formats[k].name == format) ui_.choice = k;
    }
    // Paints the bitmap's last pixel (and its copy's) in another colour of
    // its table and exports the model with it; the file is then opened as
    // it was, unpainted. Returns the painted image.
    std::vector<uint8_t> ExportPainted() {
        const ItemRecord bitmap = Record(kCrateBmp), copy = Record(kCrateCopy);
        for (const uint32_t at : {bitmap.nOffset, copy.nOffset}) doc_.Image()[at + bitmap.nSize - 1] ^= 0x01;
        const std::vector<uint8_t> painted = Image();
        RunCommand(kCrate, cmd::kModelExportAs);
        EXPECT_TRUE(Open(demo_));
        view_.SetAnnouncePaths(false);
        return painted;
    }
    std::vector<uint8_t> demo_;
};

class ModelTextures : public TexturesWithModels, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        TexturesWithModels::SetUp();
        Choose(GetParam());
    }
};

TEST_P(ModelTextures, APaintedTextureComesBackWithItsModelIntoTheBitmapAndItsCopies) {
    const std::vector<uint8_t> painted = ExportPainted();
    RunCommand(kCrate, cmd::kModelImportFrom);
    ASSERT_FALSE(view_.LastResult().Failed()) << view_.LastResult().message;
    EXPECT_EQ(Image(), painted);
    EXPECT_NE(ui_.statuses.back().find("; bitmaps changed: " + BitmapFileName(Record(kCrateBmp).nOffset)),
              std::string::npos)
        << ui_.statuses.back();
    // Unchanged pictures change nothing and are not named.
    RunCommand(kCrate, cmd::kModelImportFrom);
    EXPECT_EQ(Image(), painted);
    EXPECT_EQ(ui_.statuses.back().find("bitmaps changed"), std::string::npos) << ui_.statuses.back();
}

TEST_F(TexturesWithModels, APictureThatCannotBeTakenRefusesTheWholeImportAndChangesNothing) {
    Choose("obj");
    ExportPainted();
    const auto picture = ExportDir() / BitmapFileName(Record(kCrateBmp).nOffset);
    auto cut = ReadFileBytes(picture);
    cut.resize(cut.size() / 2);
    WriteFileBytes(picture, cut);
    RunCommand(kCrate, cmd::kModelImportFrom);
    EXPECT_TRUE(view_.LastResult().Failed());
    EXPECT_NE(view_.LastResult().message.find("Cannot import \"crate.obj\" with its pictures: "), std::string::npos)
        << view_.LastResult().message;
    EXPECT_EQ(Image(), demo_);
    EXPECT_FALSE(doc_.IsModified());
}

TEST_F(TexturesWithModels, A3dsImportStaysGeometryOnly) {
    Choose("3ds");  // its export writes no pictures, so its import takes none
    ExportPainted();
    RunCommand(kCrate, cmd::kModelImportFrom);
    EXPECT_EQ(Image(), demo_);
}
INSTANTIATE_TEST_SUITE_P(EachFormat, ModelTextures, ::testing::Values("gltf", "glb", "obj"));

}  // namespace
