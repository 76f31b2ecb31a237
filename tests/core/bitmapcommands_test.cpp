#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <cstring>

#include "datafile/layouts.h"
#include "exchange/bitmap/replacebitmap.h"
#include "exchange/formats/bmpdecoder.h"
#include "exchange/formats/pngdecoder.h"
#include "framework/apptext.h"
#include "framework/commandids.h"
#include "framework/littleendian.h"
#include "tests/support/picturefiles.h"
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
    EXPECT_EQ(ui_.messages[0].text, "The bitmap will be written to\n" + FileOf(Record({0, 1})).string());
    EXPECT_EQ(ui_.messages[1].caption, "Opening file Bitmap file");
    EXPECT_EQ(ui_.messages[1].text, "The bitmap will be read from\n" + FileOf(Record({0, 1})).string());
}

TEST_F(BitmapCommands, ExportReplacesAnExistingFileCompletely) {
    WriteFileBytes(FileOf(Record({0, 2})), std::vector<uint8_t>(5000, 1));
    RunCommand({0, 2}, cmd::kBitmapExport);
    EXPECT_EQ(ReadFileBytes(FileOf(Record({0, 2}))), Slice(original_, Record({0, 2})));
}

TEST_F(BitmapCommands, AByteCompatibleSourceReplacesTheBitmapByteForByteAndRestampsItsSize) {
    const ItemRecord& plain = Record({0, 2});
    auto bytes = Slice(original_, plain);
    for (size_t at = 54; at < bytes.size(); ++at) bytes[at] = uint8_t(at * 7);
    bytes[2] = 0xEE;  // the file's own bfSize says otherwise
    Import({0, 2}, bytes);
    auto image = Image();
    EXPECT_EQ(*pallix::ReadU32(image, plain.nOffset + 2), plain.nSize);
    image[plain.nOffset + 2] = 0xEE;
    EXPECT_EQ(Slice(image, plain), bytes);
    // Nothing outside the bitmap changed.
    EXPECT_TRUE(std::equal(original_.begin(), original_.begin() + plain.nOffset, Image().begin()));
    EXPECT_EQ(ui_.statuses.back(), "Imported " + FileOf(plain).filename().string() + " from " + ExportDir().string());
}

// Once, a short file replaced the first bytes and a long one was cut: the
// bitmap was damaged and the user told it was imported.
TEST_F(BitmapCommands, AFileThatIsNoPictureOrOfAnotherSizeIsRefusedInWordsAndChangesNothing) {
    const ItemRecord& plain = Record({0, 2});
    const std::string name = FileOf(plain).filename().string();
    view_.SetAnnouncePaths(false);
    Import({0, 2}, std::vector<uint8_t>(10, 0x77));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, name + " cannot be imported: it is not a BMP file. Nothing was changed.");
    EXPECT_EQ(ui_.messages[0].caption, "Import Bitmap");
    EXPECT_TRUE(view_.LastResult().Failed());
    auto longer = bfp::MakeBmp(5, 4, 24, 6);
    Import({0, 2}, longer);
    EXPECT_EQ(ui_.messages.back().text,
              name + " is 5 \u00D7 4 pixels; this bitmap is 4 \u00D7 4. Scale it to 4 \u00D7 4 and import it again.");
    longer.resize(longer.size() - 10);  // the last row cut short
    Import({0, 2}, longer);
    EXPECT_EQ(ui_.messages.back().text,
              name + " cannot be imported: it ends before its last row of pixels. Nothing was changed.");
    // A file larger than any picture is not even read (a sparse file here).
    std::filesystem::resize_file(FileOf(plain), uint64_t(80) << 20);
    RunCommand({0, 2}, cmd::kBitmapImport);
    EXPECT_EQ(ui_.messages.back().text,
              name + " has 80 MB, more than any picture a bitmap can take (65 MB). Nothing was changed.");
    EXPECT_EQ(Image(), original_);
    EXPECT_FALSE(doc_.IsModified());
}

TEST_F(BitmapCommands, APictureInAnotherLayoutIsWrittenIntoTheBitmapsOwnAndItsCopiesFollow) {
    // The paletted bitmap painted and saved as a 24-bit top-down BMP by an
    // editor: its colours are the table's, but one pixel's is not.
    const ItemRecord& first = Record({0, 1});
    const auto stored = DecodeBmp(Slice(original_, first));
    ASSERT_TRUE(stored.ok());
    std::vector<std::vector<uint32_t>> rows(8, std::vector<uint32_t>(8));
    for (size_t y = 0; y < 8; ++y)
        for (size_t x = 0; x < 8; ++x) {
            const uint8_t* rgb = &stored->palette[size_t((y * 8 + x) * 5 % 256) * 3];
            rows[y][x] = uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2];
        }
    rows[0][0] ^= 0x010101;
    const auto painted =
        BuildBmp({.headerSize = 124, .width = 8, .height = -8, .bits = 24, .pixels = PackRows(rows, 24, true)});
    view_.SetAnnouncePaths(false);
    Import({0, 1}, painted);
    ASSERT_TRUE(ui_.messages.empty()) << ui_.messages[0].text;
    const auto image = Image();
    const auto now = Slice(image, first);
    // Headers and table as they were; the pixels the painted ones.
    EXPECT_TRUE(std::equal(now.begin(), now.begin() + 14 + 40 + 1024, original_.begin() + first.nOffset));
    const auto back = DecodeBmp(now);
    ASSERT_TRUE(back.ok());
    for (size_t i = 1; i < 64; ++i) EXPECT_EQ(back->pixels[i], uint8_t(i * 5 % 256)) << i;
    EXPECT_EQ(ui_.statuses.back(), FileOf(first).filename().string() +
                                       ": 1 of 64 pixels took the nearest colour of the bitmap's 256-colour table");
    EXPECT_EQ(Slice(image, Record({1, 0})), now);
    EXPECT_EQ(Slice(image, Record({2, 0})), now);
}

TEST_F(BitmapCommands, ExportAsPngGivesAPalettedPngForAPalettedBitmapAndImportFromPngTakesItBackUnchanged) {
    view_.SetAnnouncePaths(false);
    ui_.choice = 1;  // PNG, after BMP
    for (const auto rows : {std::initializer_list<int>{0, 1}, std::initializer_list<int>{0, 2}}) {
        const ItemRecord& record = Record(rows);
        RunCommand(rows, cmd::kBitmapExportAs);
        const auto png = ExportDir() / (FileOf(record).stem().string() + ".png");
        const auto picture = DecodePng(ReadFileBytes(png));
        ASSERT_TRUE(picture.ok()) << picture.why();
        EXPECT_EQ(picture->pixels, DecodeBmp(Slice(original_, record))->pixels);
        EXPECT_EQ(picture->palette.size(), record.nOffset == Record({0, 1}).nOffset ? 256u * 3 : 0u);
        RunCommand(rows, cmd::kBitmapImportFrom);
        EXPECT_EQ(ui_.statuses.back(), "Imported " + png.filename().string() + " from " + ExportDir().string());
    }
    EXPECT_EQ(ui_.questions, std::vector<std::string>(4, "Which format?"));
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ(Image(), original_);
}

// Once, a bitmap reaching past the image was silently left as it was while
// the command reported it imported.
TEST_F(BitmapCommands, ReplacingABitmapOutsideTheImageOrWithBytesOfAnotherLengthIsRefused) {
    ItemRecord outside = Record({0, 2});
    outside.nOffset = uint32_t(original_.size() - 10);
    const std::vector<uint8_t> bytes(outside.nSize, 1);
    EXPECT_EQ(ReplaceBitmap(doc_, outside, {}, bytes).why(),
              "This bitmap reaches past the end of the data file; nothing was imported into it.");
    EXPECT_FALSE(ReplaceBitmap(doc_, Record({0, 2}), {}, std::span(bytes).first(5)).ok());
    EXPECT_EQ(Image(), original_);
    EXPECT_FALSE(doc_.IsModified());
}

TEST_F(BitmapCommands, ReplacingAFirstOccurrenceRewritesEveryCopy) {
    const ItemRecord& first = Record({0, 1});
    auto bytes = Slice(original_, first);
    std::fill(bytes.end() - 64, bytes.end(), 0x42);
    Import({0, 1}, bytes);
    const auto image = Image();
    const auto expected = Slice(image, first);
    EXPECT_EQ(expected, bytes);
    EXPECT_EQ(Slice(image, Record({1, 0})), expected);
    EXPECT_EQ(Slice(image, Record({2, 0})), expected);
    EXPECT_EQ(*pallix::ReadU32(image, Record({2, 0}).nOffset + 2), first.nSize);
}

TEST_F(BitmapCommands, ReplacingACopyChangesThatCopyOnly) {
    auto bytes = Slice(original_, Record({1, 0}));
    std::fill(bytes.end() - 64, bytes.end(), 0x42);
    Import({1, 0}, bytes);
    const auto image = Image();
    EXPECT_EQ(Slice(image, Record({0, 1})), Slice(original_, Record({0, 1})));
    EXPECT_EQ(Slice(image, Record({2, 0})), Slice(original_, Record({2, 0})));
    EXPECT_EQ(Slice(image, Record({1, 0})), bytes);
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
    // A bitmap too short for its headers takes no picture: refused, and the
    // next record's name, right after it, untouched.
    EXPECT_EQ(Image(), before);
    EXPECT_NE(ui_.messages.back().text.find("This bitmap is damaged"), std::string::npos);
    EXPECT_FALSE(doc_.IsModified());
}

TEST_F(BitmapCommands, ZeroLengthBitmapsTakeNothingAndLeaveTheDocumentUnmodified) {
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
    EXPECT_FALSE(doc_.IsModified());
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
