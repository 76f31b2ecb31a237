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

TEST_F(CommandNews, AFileChangedAfterAnExportOfAnEarlierSessionIsAskedAbout) {
    const auto record = dir_.path() / "exported-files.txt";
    view_.Exports().KeepIn(record);
    RunCommand({0, 1}, cmd::kBitmapExport);
    WriteFileBytes(BitmapFile(), bfp::MakeBmp(4, 4, 24, 7));
    // The next session: another view, its own ledger, the same record.
    CPallixView later(doc_, ui_, [this] { return dir_.path() / "pallix"; });
    later.OnInitialUpdate();
    later.SetAnnouncePaths(false);
    later.Exports().KeepIn(record);
    later.SetContextItem(
        later.GetTreeCtrl().GetChildItem(later.GetTreeCtrl().GetChildItem(later.GetTreeCtrl().GetRootItem())));
    later.SetContextItem(later.GetTreeCtrl().GetNextSiblingItem(later.ContextItem()));
    later.OnCommand(cmd::kBitmapExport);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text,
              BitmapFile().filename().string() + " was changed since it was exported. Replace it?");
    EXPECT_EQ(ReadFileBytes(BitmapFile()), bfp::MakeBmp(4, 4, 24, 7));
    // A view without the record knows only its own exports.
    RunCommand({0, 1}, cmd::kBitmapExport);
    CPallixView fresh(doc_, ui_, [this] { return dir_.path() / "pallix"; });
    EXPECT_TRUE(fresh.Exports().MayReplace(ui_, BitmapFile()));
}

TEST_F(CommandNews, TheRecordOfExportsForgetsFilesThatAreGoneSoItDoesNotGrowWithoutEnd) {
    const auto record = dir_.path() / "exported-files.txt";
    view_.Exports().KeepIn(record);
    RunCommand({0, 0}, cmd::kModelExport);
    RunCommand({0, 1}, cmd::kBitmapExport);
    std::filesystem::remove(ModelFile());
    ExportLedger later;
    later.KeepIn(record);
    EXPECT_TRUE(later.MayReplace(ui_, BitmapFile()));
    const auto text = ReadFileBytes(record);
    const std::string lines(text.begin(), text.end());
    EXPECT_EQ(lines.find("crate.3ds"), std::string::npos) << lines;
    EXPECT_NE(lines.find(BitmapFile().filename().string()), std::string::npos) << lines;
}

TEST_F(CommandNews, AModelExportAsksBeforeReplacingAPictureBesideItAndNoKeepsThePicture) {
    ui_.choice = 3;  // OBJ, whose pictures are the bitmaps' BMP files
    RunCommand({0, 1}, cmd::kBitmapExport);
    WriteFileBytes(BitmapFile(), bfp::MakeBmp(4, 4, 24, 7));
    RunCommand({0, 0}, cmd::kModelExportAs);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text,
              BitmapFile().filename().string() + " was changed since it was exported. Replace it?");
    EXPECT_EQ(ReadFileBytes(BitmapFile()), bfp::MakeBmp(4, 4, 24, 7));
    EXPECT_TRUE(std::filesystem::exists(ExportDir() / "crate.obj"));
    // The model's own files are asked about too.
    WriteFileBytes(ExportDir() / "crate.mtl", {'#'});
    RunCommand({0, 0}, cmd::kModelExportAs);
    EXPECT_EQ(ui_.messages.back().text, "crate.mtl was changed since it was exported. Replace it?");
    EXPECT_TRUE(view_.LastResult().Refused());
    EXPECT_EQ(ReadFileBytes(ExportDir() / "crate.mtl"), std::vector<uint8_t>{'#'});
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

TEST_F(CommandNews, AFileCutInsideABankSaysSoOnOpenAndNoExportClaimsWhatItDidNotWrite) {
    auto cut = Image();
    cut.resize(Record({0, 1}).nOffset + 10);
    ui_.messages.clear();
    ASSERT_TRUE(Open(cut));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text.rfind("This file ends inside bank CM3D 1: its record at offset ", 0), 0u);
    EXPECT_NE(ui_.messages[0].text.find(" runs past the end of the file (" + std::to_string(cut.size()) +
                                        " bytes).\nThe bank shows only what lies before the end."),
              std::string::npos);
    RunCommand({0}, cmd::kBankExportAll);
    EXPECT_EQ(ui_.messages.back().text, "Nothing was exported.");
    EXPECT_FALSE(std::filesystem::exists(ExportDir() / "crate.3ds"));
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
