#include <gtest/gtest.h>

#include "exchange/files/exportpaths.h"
#include "exchange/formats/bmpdecoder.h"
#include "exchange/formats/pngencoder.h"
#include "framework/commandids.h"
#include "framework/pathtext.h"
#include "framework/privatetemp.h"
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
    // A picture of other dimensions is refused by the bitmap import rule.
    const std::string other = BitmapFileName(Record({0, 4}).nOffset);
    EXPECT_EQ(ui_.messages[0].text, "Imported: 2\nUnchanged: 3\nRefused: 1\n  " + other +
                                        " is 8 \u00d7 8 pixels; this bitmap is 4 \u00d7 4. Scale it to 4 \u00d7 4 and "
                                        "import it again.\nfrom " +
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

// Files too large to be what an export wrote: neither read nor allocated
// for, whatever their length (sparse, so they cost no disk).
TEST_F(ImportAllOfABank, RefusesHugeFilesUnreadEachAlone) {
#ifdef _WIN32
    // Wine refuses to lengthen a file past the disk's free space; 1 GiB is
    // past every cap as well.
    constexpr uintmax_t kHuge = uintmax_t(1) << 30;
#else
    constexpr uintmax_t kHuge = uintmax_t(64) << 30;
#endif
    std::filesystem::resize_file(BitmapFile({0, 5}), kHuge);
    std::filesystem::resize_file(ExportDir() / "small.3ds", kHuge);
    RunCommand({0}, cmd::kBankImportAll);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "Imported: 2\nUnchanged: 1\nRefused: 3\n  small.3ds: the file is larger than any "
                                    "model file (32 MiB); it was not read\n  " +
                                        BitmapFileName(Record({0, 4}).nOffset) +
                                        " is 8 \u00d7 8 pixels; this bitmap is 4 \u00d7 4. Scale it to 4 \u00d7 4 and "
                                        "import it again.\n  " +
                                        BitmapFileName(Record({0, 5}).nOffset) +
                                        ": the file is larger than any picture; it was not read\nfrom " +
                                        fw::Utf8FromPath(ExportDir()));
}

// The same edits in the files of another export: a picture repainted as
// PNG, a model replaced in its glTF file.
TEST_F(ImportAllOfABank, TakesPngPicturesAndModelsOfEveryFormat) {
    for (const auto& file : std::filesystem::directory_iterator(ExportDir())) std::filesystem::remove(file);
    ui_.choice = 1;  // glTF
    RunCommand({0}, cmd::kBankExportAllAs);
    WriteFileBytes(ExportDir() / "box.gltf", ReadFileBytes(ExportDir() / "small.gltf"));
    const auto png = EncodePng(*DecodeBmp(repainted_));
    WriteFileBytes(std::filesystem::path(BitmapFile({0, 3})).replace_extension(".png"), *png);
    ui_.messages.clear();
    RunCommand({0}, cmd::kBankImportAll);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_TRUE(ui_.messages[0].text.starts_with("Imported: 2\nUnchanged: 4\nRefused: 0\n")) << ui_.messages[0].text;
    EXPECT_EQ(Bytes({0, 3}), repainted_);
    EXPECT_EQ(Bytes({0, 0}).size(), Record({0, 0}).nSize);
    EXPECT_NE(Bytes({0, 0}), std::vector<uint8_t>(original_.begin() + Record({0, 0}).nOffset,
                                                  original_.begin() + Record({0, 0}).nOffset + Record({0, 0}).nSize));

    // Painted in its BMP and its PNG, a bitmap takes the file written last;
    // the other may be an older export.
    const auto bmp = BitmapFile({0, 3}), pngFile = std::filesystem::path(bmp).replace_extension(".png");
    WriteFileBytes(pngFile, *EncodePng(*DecodeBmp(bfp::MakeBmp(4, 4, 24, 8))));
    WriteFileBytes(bmp, bfp::MakeBmp(4, 4, 24, 7));
    std::filesystem::last_write_time(bmp, std::filesystem::last_write_time(pngFile) + std::chrono::seconds(1));
    RunCommand({0}, cmd::kBankImportAll);
    EXPECT_EQ(Bytes({0, 3}), bfp::MakeBmp(4, 4, 24, 7));
}

class WholeFile : public ViewFixture {
protected:
    // A file made, renamed or removed in a folder changes the folder's time.
    std::vector<std::filesystem::file_time_type> FolderTimes() const {
        std::vector<std::filesystem::file_time_type> times;
        for (const auto& folder : {ExportDir() / "CM3D 1", fw::PrivateTemporaryFolder()})
            times.push_back(std::filesystem::last_write_time(folder));
        return times;
    }
};

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
    // A comparison makes, renames and removes no file anywhere.
    const auto before = FolderTimes();
    RunCommand({}, cmd::kFileImportAll);
    EXPECT_EQ(ui_.messages.back().text, "Imported: 0\nUnchanged: 4\nRefused: 0\nfrom " + fw::Utf8FromPath(ExportDir()));
    EXPECT_EQ(FolderTimes(), before);
    EXPECT_EQ(Image(), original);
    EXPECT_FALSE(doc_.IsModified());
    ui_.cancelAtStep = ui_.progressSteps + 1;
    RunCommand({}, cmd::kFileExportAll);
    EXPECT_EQ(ui_.messages.back().text,
              "Export All was cancelled. The files written before stay in\n" + fw::Utf8FromPath(ExportDir()));
}

// Export All As on the root, as on a bank, and Import All reads it back,
// comparing every format in memory.
TEST_F(WholeFile, ExportAllAsGivesEachBankAFolderInTheFormatAndImportAllFindsNothingChanged) {
    bfp::ImageWriter image;
    image.AddBank({{bfp::Cube("box", 50, 1)}, {{"a", bfp::MakeBmp(4, 4, 24, 1)}}});
    image.AddBank({{bfp::Cube("box", 20, 1)}, {{"a", bfp::MakeBmp(4, 4, 8, 2)}}});
    ASSERT_TRUE(Open(image.bytes()));
    const auto original = Image();
    for (const auto& [choice, file] : {std::pair{1, "box.gltf"}, {2, "box.glb"}, {3, "box.obj"}}) {
        for (const auto& folder : std::filesystem::directory_iterator(ExportDir())) std::filesystem::remove_all(folder);
        ui_.choice = choice;
        RunCommand({}, cmd::kFileExportAllAs);
        EXPECT_EQ(ui_.messages.back().text,
                  "Exported 2 banks, each into a folder of its own in\n" + fw::Utf8FromPath(ExportDir()));
        EXPECT_TRUE(std::filesystem::exists(ExportDir() / "CM3D 2" / file));
        const auto before = FolderTimes();
        RunCommand({}, cmd::kFileImportAll);
        EXPECT_EQ(ui_.messages.back().text,
                  "Imported: 0\nUnchanged: 4\nRefused: 0\nfrom " + fw::Utf8FromPath(ExportDir()))
            << file;
        EXPECT_EQ(FolderTimes(), before) << file;
        EXPECT_EQ(Image(), original);
    }
}

// Exporting a bitmap hands its stored bytes out as they are, damaged or
// not; the file still holding them is unchanged, not refused.
TEST_F(WholeFile, ImportAllFindsADamagedBitmapsOwnExportUnchanged) {
    auto damaged = bfp::MakeBmp(4, 4, 24, 1);
    damaged[0] = 'X';
    bfp::ImageWriter image;
    image.AddBank({{bfp::Cube("box", 50, 1)}, {{"a", bfp::MakeBmp(4, 4, 24, 1)}, {"b", damaged}}});
    ASSERT_TRUE(Open(image.bytes()));
    RunCommand({}, cmd::kFileExportAll);
    RunCommand({}, cmd::kFileImportAll);
    EXPECT_EQ(ui_.messages.back().text, "Imported: 0\nUnchanged: 3\nRefused: 0\nfrom " + fw::Utf8FromPath(ExportDir()));
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
