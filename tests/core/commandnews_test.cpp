// What the commands tell the user besides their own message boxes: a status
// line naming what was written or read and where, a question before an
// export replaces work the user did on its file, and a viewer that did not
// start.
#include <gtest/gtest.h>

#include "exchange/files/exportpaths.h"
#include "exchange/files/viewfilenames.h"
#include "framework/commandids.h"
#include "framework/os.h"
#include "tests/support/viewfixture.h"
#include "tools/bfpbuilder.h"

namespace {

class CommandNews : public ViewFixture {
protected:
    void SetUp() override {
        bfp::ImageWriter image;
        image.AddBank({{bfp::Cube("crate", 5, 1)}, {{"crate.bmp", bfp::MakeBmp(4, 4, 24, 1)}}});
        ASSERT_TRUE(Open(image.bytes()));
        view_.SetAnnouncePaths(false);
    }
    std::filesystem::path BitmapFile() const { return ExportDir() / BitmapFileName(Record({0, 1}).nOffset); }
    std::filesystem::path ModelFile() const { return ExportDir() / "crate.3ds"; }
};

TEST_F(CommandNews, ExportsAndImportsSayWhatTheyWroteOrReadAndWhere) {
    RunCommand({0, 1}, cmd::kBitmapExport);
    RunCommand({0, 1}, cmd::kBitmapImport);
    RunCommand({0, 0}, cmd::kModelExport);
    RunCommand({0, 0}, cmd::kModelImport);
    const std::string folder = ExportDir().string();
    const std::string bitmap = BitmapFile().filename().string();
    EXPECT_EQ(ui_.statuses, (std::vector<std::string>{
                                "Exported " + bitmap + " to " + folder, "Imported " + bitmap + " from " + folder,
                                "Exported crate.3ds to " + folder, "Imported crate.3ds from " + folder}));
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(CommandNews, AnExportAsksBeforeReplacingAFileChangedSinceItWasWritten) {
    RunCommand({0, 0}, cmd::kModelExport);
    RunCommand({0, 0}, cmd::kModelExport);  // as we left it: replaced without a word
    EXPECT_TRUE(ui_.messages.empty());
    WriteFileBytes(ModelFile(), {1, 2, 3});
    RunCommand({0, 0}, cmd::kModelExport);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "crate.3ds was changed since it was exported. Replace it?");
    EXPECT_EQ(ui_.messages[0].style.buttons, fw::MessageButtons::yesNo);
    EXPECT_TRUE(view_.LastResult().Refused());
    EXPECT_EQ(ReadFileBytes(ModelFile()), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(ui_.statuses.size(), 2u);
    ui_.promptAnswer = fw::MessageResult::yes;
    RunCommand({0, 0}, cmd::kModelExport);
    EXPECT_EQ(ui_.messages.size(), 2u);
    EXPECT_GT(ReadFileBytes(ModelFile()).size(), 3u);
}

TEST_F(CommandNews, ABitmapEditedInPlaceIsAskedAboutUntilItIsImported) {
    RunCommand({0, 1}, cmd::kBitmapExport);
    auto edited = ReadFileBytes(BitmapFile());
    edited.back() ^= 0xFF;  // the same size: only the bytes tell
    WriteFileBytes(BitmapFile(), edited);
    RunCommand({0, 1}, cmd::kBitmapExport);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ReadFileBytes(BitmapFile()), edited);
    RunCommand({0, 1}, cmd::kBitmapImport);
    RunCommand({0, 1}, cmd::kBitmapExport);  // the bitmap is the file now
    EXPECT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ReadFileBytes(BitmapFile()), edited);
}

TEST_F(CommandNews, AFileThisRunNeverWroteIsReplacedAsBefore) {
    WriteFileBytes(ModelFile(), {1, 2, 3});
    RunCommand({0, 0}, cmd::kModelExport);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_GT(ReadFileBytes(ModelFile()).size(), 3u);
}

TEST_F(CommandNews, AViewerThatDoesNotStartIsNamedWithWhatToDo) {
    ui_.programsStart = false;
    RunCommand({0, 1}, cmd::kBitmapView);
    RunCommand({0, 0}, cmd::kModelView);
    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(ui_.messages[0].caption, "View Bitmap");
    EXPECT_EQ(ui_.messages[0].text.rfind("No program is set to show BMP files. Install an image viewer", 0), 0u);
    EXPECT_EQ(ui_.messages[1].text,
              fw::os::ProgramFileName("vistel") + " could not be started from " + dir_.path().string() + ". Reinstall the Quon Data Manager.");
    EXPECT_TRUE(ui_.statuses.empty());
}

TEST(ViewFileNames, BitmapsKeepTheirOwnNameMadeSafeElseTheirExportName) {
    EXPECT_EQ(BitmapViewFileName({"1:wall.bmp (Copy of CM3D 1,bitmap 1)", ITEM_BITMAP, 0x212C, 822, 3794}), "wall.bmp");
    EXPECT_EQ(BitmapViewFileName({"0:sky", ITEM_BITMAP, 0x1650, 822, 0}), "sky.bmp");
    EXPECT_EQ(BitmapViewFileName({"12:Sky.BMP", ITEM_BITMAP, 0x1650, 822, 0}), "Sky.bmp");
    EXPECT_EQ(BitmapViewFileName({"2:../up", ITEM_BITMAP, 0x1650, 822, 0}).find('/'), std::string::npos);
    EXPECT_EQ(BitmapViewFileName({"3:", ITEM_BITMAP, 0x68C, 822, 0}), "O68C.bmp");
    EXPECT_EQ(ModelViewFileName({"crate", ITEM_MODEL, 332, 848, 0}, "crate~2"), "crate~2.dxf");
}

}  // namespace
