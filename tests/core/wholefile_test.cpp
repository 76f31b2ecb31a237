#include <gtest/gtest.h>

#include "exchange/exportpaths.h"
#include "framework/commandids.h"
#include "framework/pathtext.h"
#include "tests/support/viewfixture.h"
#include "tools/bfpbuilder.h"

namespace {

// One bank exported, then its files edited as a user would: a bitmap
// repainted, a model replaced by another, a bitmap saved at another size.
class ImportAllOfABank : public ViewFixture {
protected:
    void SetUp() override {
        bfp::ImageWriter image;
        image.AddBank(
            {{bfp::Cube("box", 50, 3), bfp::Cube("small", 10, 3), bfp::Pyramid("flat", 5, 5, 3)},
             {{"a", bfp::MakeBmp(4, 4, 24, 1)}, {"b", bfp::MakeBmp(4, 4, 24, 2)}, {"c", bfp::MakeBmp(4, 4, 24, 3)}}});
        ASSERT_TRUE(Open(image.bytes()));
        RunCommand({0}, cmd::kBankExportAll);
        // Copied by hand: MinGW's copy_file takes any two files for one (their inode numbers are 0).
        WriteFileBytes(ExportDir() / "box.3ds", ReadFileBytes(ExportDir() / "small.3ds"));
        WriteFileBytes(BitmapFile({0, 3}), repainted_);
        WriteFileBytes(BitmapFile({0, 4}), bfp::MakeBmp(8, 8, 24, 2));
        original_ = Image();
        ui_.messages.clear();
    }
    std::filesystem::path BitmapFile(std::initializer_list<int> rows) const {
        return ExportDir() / BitmapFileName(Record(rows).nOffset);
    }
    std::vector<uint8_t> Bytes(std::initializer_list<int> rows) const {
        const auto image = Image();
        return {image.begin() + Record(rows).nOffset, image.begin() + Record(rows).nOffset + Record(rows).nSize};
    }

    const std::vector<uint8_t> repainted_ = bfp::MakeBmp(4, 4, 24, 9);
    std::vector<uint8_t> original_;
};

TEST_F(ImportAllOfABank, ReadsBackOnlyTheChangedFilesAndSumsUpWhatItDidAndRefused) {
    RunCommand({0}, cmd::kBankImportAll);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].caption, "Import All");
    EXPECT_EQ(ui_.messages[0].text, "Imported: 2\nUnchanged: 3\nRefused: 1\n  " +
                                        BitmapFileName(Record({0, 4}).nOffset) +
                                        ": the file has 246 bytes, the bitmap 102, and keeps its length\nfrom " +
                                        fw::Utf8FromPath(ExportDir()));
    EXPECT_TRUE(doc_.IsModified());
    EXPECT_EQ(Bytes({0, 3}), repainted_);
    // Everything but the box's record and the repainted bitmap is as it was.
    const ItemRecord box = Record({0, 0});
    const ItemRecord a = Record({0, 3});
    auto expected = original_;
    std::copy(repainted_.begin(), repainted_.end(), expected.begin() + a.nOffset);
    const auto image = Image();
    EXPECT_NE(std::vector<uint8_t>(image.begin() + box.nOffset, image.begin() + box.nOffset + box.nSize),
              std::vector<uint8_t>(expected.begin() + box.nOffset, expected.begin() + box.nOffset + box.nSize));
    std::copy(image.begin() + box.nOffset, image.begin() + box.nOffset + box.nSize, expected.begin() + box.nOffset);
    EXPECT_EQ(image, expected);
}

TEST_F(ImportAllOfABank, CancelledAfterItsImportsPutsEveryByteAndTheFlagBack) {
    ui_.cancelAtStep = 6 + 2;
    RunCommand({0}, cmd::kBankImportAll);
    EXPECT_EQ(ui_.progressTitles.back(), "Import All of 12");
    EXPECT_EQ(ui_.messages.back().text, "Import All was cancelled. Nothing was changed.");
    EXPECT_EQ(Image(), original_);
    EXPECT_FALSE(doc_.IsModified());
}

class WholeFile : public ViewFixture {};

TEST_F(WholeFile, ExportAllGivesEachBankAFolderAndImportAllFindsNothingChanged) {
    bfp::ImageWriter image;
    image.AddBank({{bfp::Cube("box", 50, 1)}, {{"a", bfp::MakeBmp(4, 4, 24, 1)}}});
    image.AddBank({{bfp::Cube("box", 20, 1)}, {{"a", bfp::MakeBmp(4, 4, 8, 2)}}});
    ASSERT_TRUE(Open(image.bytes()));
    const auto original = Image();
    RunCommand({}, cmd::kFileExportAll);
    EXPECT_EQ(ui_.messages.back().text,
              "Exported 2 banks, each into a folder of its own in\n" + fw::Utf8FromPath(ExportDir()));
    EXPECT_NE(ReadFileBytes(ExportDir() / "CM3D 1" / "box.3ds"), ReadFileBytes(ExportDir() / "CM3D 2" / "box.3ds"));
    EXPECT_TRUE(std::filesystem::exists(ExportDir() / "CM3D 2" / BitmapFileName(Record({1, 1}).nOffset)));
    RunCommand({}, cmd::kFileImportAll);
    EXPECT_EQ(ui_.messages.back().text, "Imported: 0\nUnchanged: 4\nRefused: 0\nfrom " + fw::Utf8FromPath(ExportDir()));
    EXPECT_EQ(Image(), original);
    EXPECT_FALSE(doc_.IsModified());
    ui_.cancelAtStep = ui_.progressSteps + 1;
    RunCommand({}, cmd::kFileExportAll);
    EXPECT_EQ(ui_.messages.back().text,
              "Export All was cancelled. The files written before stay in\n" + fw::Utf8FromPath(ExportDir()));
}

TEST_F(WholeFile, ACopyFollowsItsRepaintedBitmapRatherThanItsOwnOldFile) {
    const auto bitmap = bfp::MakeBmp(4, 4, 24, 1);
    bfp::ImageWriter image;
    image.AddBank({{bfp::Cube("box", 50, 2)}, {{"a", bitmap}, {"b", bitmap}}});
    ASSERT_TRUE(Open(image.bytes()));
    ASSERT_EQ(Record({0, 2}).nCopyOf, Record({0, 1}).nOffset);
    RunCommand({}, cmd::kFileExportAll);
    const auto repainted = bfp::MakeBmp(4, 4, 24, 5);
    WriteFileBytes(ExportDir() / "CM3D 1" / BitmapFileName(Record({0, 1}).nOffset), repainted);
    RunCommand({}, cmd::kFileImportAll);
    const auto now = Image();
    EXPECT_TRUE(std::equal(repainted.begin(), repainted.end(), now.begin() + Record({0, 2}).nOffset));
}

TEST_F(WholeFile, OpeningCancelledKeepsTheDocumentThatWasOpen) {
    bfp::ImageWriter image;
    image.AddBank({{bfp::Cube("box", 50, 1)}, {{"a", bfp::MakeBmp(4, 4, 24, 1)}}});
    ASSERT_TRUE(Open(image.bytes()));
    EXPECT_EQ(ui_.progressTitles.back(), "Opening data.bfp of " + std::to_string(image.size()));
    const auto before = Image();
    ui_.cancelAtStep = ui_.progressSteps + 1;
    EXPECT_FALSE(Open(bfp::MakeBmp(4, 4, 24, 1), "other.bfp"));
    EXPECT_EQ(Image(), before);
    EXPECT_EQ(doc_.GetPathName(), (dir_ / "data.bfp").string());
}

}  // namespace
