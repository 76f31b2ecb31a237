#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <cstring>

#include "datafile/layouts.h"
#include "datafile/littleendian.h"
#include "framework/apptext.h"
#include "framework/commandids.h"
#include "tests/support/viewfixture.h"
#include "tools/bfpbuilder.h"

namespace {

class BitmapCommands : public ViewFixture {
protected:
    void SetUp() override {
        const auto shared = bfp::MakeBmp(8, 8, 8, 5);
        bfp::ImageWriter image;
        image.Filler(40, 1);
        image.AddBank({{bfp::Cube("box", 5, 2)}, {{"first", shared}, {"plain", bfp::MakeBmp(4, 4, 24, 6)}}});
        image.Filler(20, 2);
        image.AddBank({{}, {{"copy1", shared}}});
        image.Filler(20, 3);
        image.AddBank({{}, {{"copy2", shared}}});
        image.Filler(20, 4);
        ASSERT_TRUE(Open(image.bytes()));
        original_ = Image();
        ASSERT_EQ(Record({1, 0}).nCopyOf, Record({0, 1}).nOffset);
    }

    std::filesystem::path FileOf(const ItemRecord& record) const {
        char name[32];
        std::snprintf(name, sizeof name, "O%X.bmp", record.nOffset);
        return ExportDir() / name;
    }

    std::vector<uint8_t> Slice(const std::vector<uint8_t>& image, const ItemRecord& record) const {
        return {image.begin() + record.nOffset, image.begin() + record.nOffset + record.nSize};
    }

    void Import(std::initializer_list<int> rows, const std::vector<uint8_t>& bytes) {
        WriteFileBytes(FileOf(Record(rows)), bytes);
        RunCommand(rows, cmd::kBitmapImport);
    }

    std::vector<uint8_t> original_;
};

TEST_F(BitmapCommands, ExportThenImportKeepsEveryByteButMarksTheDocumentModified) {
    RunCommand({0, 1}, cmd::kBitmapExport);
    const auto exported = ReadFileBytes(FileOf(Record({0, 1})));
    EXPECT_EQ(exported, Slice(original_, Record({0, 1})));
    RunCommand({0, 1, 1}, cmd::kBitmapImport);  // through the offset leaf
    EXPECT_EQ(Image(), original_);
    EXPECT_TRUE(doc_.IsModified());
    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(ui_.messages[0].caption, "Bitmap file");
    EXPECT_EQ(ui_.messages[0].text, FileOf(Record({0, 1})).string());
    EXPECT_EQ(ui_.messages[1].caption, "Opening file Bitmap file");
}

TEST_F(BitmapCommands, ExportReplacesAnExistingFileCompletely) {
    WriteFileBytes(FileOf(Record({0, 2})), std::vector<uint8_t>(5000, 1));
    RunCommand({0, 2}, cmd::kBitmapExport);
    EXPECT_EQ(ReadFileBytes(FileOf(Record({0, 2}))), Slice(original_, Record({0, 2})));
}

TEST_F(BitmapCommands, ExactSourceReplacesTheBitmapAndRestampsItsSize) {
    const ItemRecord& plain = Record({0, 2});
    std::vector<uint8_t> bytes(plain.nSize, 0x5A);
    bytes[2] = 0xEE;  // the file's own bfSize says otherwise
    Import({0, 2}, bytes);
    auto image = Image();
    EXPECT_EQ(*pallix::ReadU32(image, plain.nOffset + 2), plain.nSize);
    image[plain.nOffset + 2] = 0xEE;
    for (int i = 3; i < 6; ++i) image[plain.nOffset + i] = 0x5A;
    EXPECT_EQ(Slice(image, plain), bytes);
    // Nothing outside the bitmap changed.
    EXPECT_TRUE(std::equal(original_.begin(), original_.begin() + plain.nOffset, Image().begin()));
}

TEST_F(BitmapCommands, ShortSourceReplacesOnlyItsFirstBytes) {
    const ItemRecord& plain = Record({0, 2});
    Import({0, 2}, std::vector<uint8_t>(10, 0x77));
    const auto image = Image();
    EXPECT_EQ(image[plain.nOffset + 9], 0x77);
    EXPECT_EQ(image[plain.nOffset + 10], original_[plain.nOffset + 10]);
    EXPECT_EQ(*pallix::ReadU32(image, plain.nOffset + 2), plain.nSize);
}

TEST_F(BitmapCommands, LongSourceGivesOnlyTheBitmapsLength) {
    const ItemRecord& plain = Record({0, 2});
    Import({0, 2}, std::vector<uint8_t>(plain.nSize + 100, 0x33));
    const auto image = Image();
    EXPECT_EQ(image[plain.nOffset + plain.nSize - 1], 0x33);
    EXPECT_EQ(image[plain.nOffset + plain.nSize], original_[plain.nOffset + plain.nSize]);
    EXPECT_EQ(image.size(), original_.size());
}

TEST_F(BitmapCommands, ReplacingAFirstOccurrenceRewritesEveryCopy) {
    const ItemRecord& first = Record({0, 1});
    Import({0, 1}, std::vector<uint8_t>(first.nSize, 0x42));
    const auto image = Image();
    const auto expected = Slice(image, first);
    EXPECT_EQ(Slice(image, Record({1, 0})), expected);
    EXPECT_EQ(Slice(image, Record({2, 0})), expected);
    EXPECT_EQ(*pallix::ReadU32(image, Record({2, 0}).nOffset + 2), first.nSize);
}

TEST_F(BitmapCommands, ReplacingACopyChangesThatCopyOnly) {
    Import({1, 0}, std::vector<uint8_t>(Record({1, 0}).nSize, 0x42));
    const auto image = Image();
    EXPECT_EQ(Slice(image, Record({0, 1})), Slice(original_, Record({0, 1})));
    EXPECT_EQ(Slice(image, Record({2, 0})), Slice(original_, Record({2, 0})));
    EXPECT_NE(Slice(image, Record({1, 0})), Slice(original_, Record({1, 0})));
    EXPECT_EQ(Record({1, 0}).nCopyOf, Record({0, 1}).nOffset);
}

TEST_F(BitmapCommands, BitmapShorterThanItsOwnSizeFieldIsNeverStampedPastItsEnd) {
    // Five bytes of bitmap: writing bfSize at offset 2 would reach into the next record.
    bfp::ImageWriter image;
    // The last byte of each length is the first byte of what follows: an
    // empty name, then a zero byte after the image's last bitmap.
    image.AddBank({{}, {{"tiny", {'B', 'M', 5, 0, 0}}, {"", {'B', 'M', 5, 0, 0}}}});
    auto bytes = image.bytes();
    bytes.push_back(0x00);
    ASSERT_TRUE(Open(bytes));
    const ItemRecord tiny = Record({0, 0});
    ASSERT_EQ(tiny.nSize, 5u);
    ASSERT_EQ(Record({0, 1}).nCopyOf, tiny.nOffset);
    const auto before = Image();
    Import({0, 0}, {'X', 'Y', 'Z', 'W', 'V', 'U'});
    const auto after = Image();
    EXPECT_EQ(Slice(after, tiny), (std::vector<uint8_t>{'X', 'Y', 'Z', 'W', 'V'}));
    // The next record's name starts right after; it must be untouched, and
    // the copy got the five bytes only.
    EXPECT_TRUE(std::equal(after.begin() + tiny.nOffset + 5, after.begin() + Record({0, 1}).nOffset,
                           before.begin() + tiny.nOffset + 5));
    EXPECT_EQ(Slice(after, Record({0, 1})), Slice(after, tiny));
    EXPECT_EQ(after.back(), 0x00);
}

TEST_F(BitmapCommands, ZeroLengthBitmapsImportAsNothingButStillMarkTheDocument) {
    bfp::ImageWriter image;
    image.AddBank({{}, {{"empty", {}}, {"", {}}}});
    auto bytes = image.bytes();
    // An empty BMP leaves its length to be read from what follows: the next
    // record's empty name, then zeros.
    bytes.resize(bytes.size() + 8, 0);
    ASSERT_TRUE(Open(bytes));
    ASSERT_EQ(Record({0, 0}).nSize, 0u);
    ASSERT_EQ(Record({0, 1}).nCopyOf, Record({0, 0}).nOffset);
    Import({0, 0}, {1, 2, 3});
    EXPECT_EQ(Image(), bytes);
    EXPECT_TRUE(doc_.IsModified());
}

TEST_F(BitmapCommands, MissingFolderOrFileReportsThePathAndChangesNothing) {
    BlockExportDir();
    RunCommand({0, 2}, cmd::kBitmapExport);
    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(ui_.messages[1].text, FileOf(Record({0, 2})).string() + " contains an invalid path.");
    EXPECT_EQ(ui_.messages[1].caption, "Pallix");
    EXPECT_FALSE(std::filesystem::exists(ExportDir()));

    UnblockExportDir();
    RunCommand({0, 2}, cmd::kBitmapImport);
    EXPECT_EQ(ui_.messages.back().text, FileOf(Record({0, 2})).string() + " was not found.");
    EXPECT_EQ(Image(), original_);
    EXPECT_FALSE(doc_.IsModified());
}

// Windows has no FIFOs in folders (a POSIX test; tests/windows has the device names).
#ifndef _WIN32
TEST_F(BitmapCommands, APipeInPlaceOfTheBitmapFileIsRefusedWithoutWaiting) {
    ASSERT_EQ(mkfifo(FileOf(Record({0, 2})).c_str(), 0600), 0);
    view_.SetAnnouncePaths(false);
    RunCommand({0, 2}, cmd::kBitmapImport);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, fw::FormatPrompt(fw::text::kFileNotRegular, FileOf(Record({0, 2})).string()));
    EXPECT_FALSE(doc_.IsModified());
}
#endif

TEST_F(BitmapCommands, AnnouncementsFollowTheFlag) {
    view_.SetAnnouncePaths(false);
    RunCommand({0, 1}, cmd::kBitmapExport);
    RunCommand({0, 1}, cmd::kBitmapImport);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(doc_.IsModified());
}

TEST_F(BitmapCommands, ViewWritesAPrivateTemporaryFileNamedAfterTheBitmapAndOpensIt) {
    RunCommand({0, 2}, cmd::kBitmapView);
    RunCommand({0, 1}, cmd::kBitmapView);
    RunCommand({1, 0}, cmd::kBitmapView);  // a copy: its own name, without what it copies
    ASSERT_EQ(ui_.opened.size(), 3u);
    EXPECT_EQ(ui_.opened[0].parent_path(), ui_.opened[1].parent_path());
    EXPECT_EQ(ui_.opened[0].filename(), "plain.bmp");
    EXPECT_EQ(ui_.opened[1].filename(), "first.bmp");
    EXPECT_EQ(ui_.opened[2].filename(), "copy1.bmp");
    EXPECT_EQ(ReadFileBytes(ui_.opened[1]), Slice(original_, Record({0, 1})));
    EXPECT_EQ(ui_.statuses.back(), "Opened copy1.bmp with the program set for BMP files");
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(FileOf(Record({0, 1}))));
#ifndef _WIN32
    const auto folder = std::filesystem::status(ui_.opened[0].parent_path()).permissions();
    EXPECT_EQ(folder & std::filesystem::perms::all, std::filesystem::perms::owner_all);
#endif
}

TEST_F(BitmapCommands, DataFileNamesKeepEverythingBeforeTheirLastDot) {
    std::filesystem::create_directories(dir_ / "bfp" / "SET1.OLD");
    ASSERT_TRUE(Open(original_, "SET1.OLD.BFP"));
    RunCommand({0, 2}, cmd::kBitmapExport);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "bfp" / "SET1.OLD" / FileOf(Record({0, 2})).filename()));
    std::filesystem::create_directories(dir_ / "bfp" / "NODOT");
    ASSERT_TRUE(Open(original_, "NODOT"));
    RunCommand({0, 2}, cmd::kBitmapExport);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "bfp" / "NODOT" / FileOf(Record({0, 2})).filename()));
}

}  // namespace
