#include <gtest/gtest.h>

#include "browser/icons.h"
#include "tests/support/viewfixture.h"
#include "tools/bfpbuilder.h"

namespace {

using RecordTree = ViewFixture;

bfp::Bitmap Bmp(const std::string& name, uint32_t seed, int width = 4) {
    return {name, bfp::MakeBmp(width, 4, 24, seed)};
}

TEST_F(RecordTree, ImageWithoutBanksShowsOnlyTheClosedRoot) {
    ASSERT_TRUE(Open({1, 2, 3}));
    fw::TreeItem* root = Item({});
    EXPECT_EQ(root->text, "Quon Data File");
    EXPECT_TRUE(root->children.empty());
    EXPECT_EQ(root->image, ICON_BFP_CLOSED);
    EXPECT_EQ(view_.GetTreeCtrl().GetNextSiblingItem(root), nullptr);
}

TEST_F(RecordTree, LabelsLeavesRecordsAndIconsFollowTheScan) {
    bfp::ImageWriter image;
    image.Filler(0x1234 - 32 - 16, 3);
    image.AddBank({{}, {Bmp("tex", 1)}});  // its BMP data lands at 0x1234
    image.Filler(1, 4);
    image.AddBank({{bfp::Cube("box", 5, 1), bfp::Pyramid("pyr", 5, 5, 1)}, {Bmp("a", 2), Bmp("b", 3), Bmp("c", 4)}});
    ASSERT_TRUE(Open(image.bytes()));

    EXPECT_EQ(Item({})->image, ICON_BFP_OPEN);
    EXPECT_EQ(Item({0})->text, "CM3D 1: 0 Objects  1 Bitmaps");
    EXPECT_EQ(Item({0, 0})->text, "0:tex");
    EXPECT_EQ(Item({0, 0, 0})->text, "Size:    102 bytes");
    EXPECT_EQ(Item({0, 0, 1})->text, "Offset:  001234x0");
    EXPECT_EQ(Record({0, 0}).nOffset, 0x1234u);

    EXPECT_EQ(Item({1})->text, "CM3D 2: 2 Objects  3 Bitmaps");
    ASSERT_EQ(Item({1})->children.size(), 5u);
    EXPECT_EQ(Item({1, 0})->text, "box");
    EXPECT_EQ(Item({1, 0, 0})->text, "Vertices:    8 ");
    EXPECT_EQ(Item({1, 0, 1})->text, "Triangles:  12");
    EXPECT_EQ(Item({1, 2})->text, "0:a");
    EXPECT_EQ(Item({1, 4})->text, "2:c");

    const ItemRecord& bank = Record({1});
    EXPECT_EQ(bank.nKind, ITEM_BANK);
    EXPECT_EQ(bank.nSize, 999999u);
    const ItemRecord& model = Record({1, 0});
    EXPECT_EQ(model.nKind, ITEM_MODEL);
    EXPECT_EQ(model.nSize, 848u);
    EXPECT_EQ(model.szLabel, "box");
    EXPECT_EQ(Item({1, 0, 1})->data, Item({1, 0})->data);
    EXPECT_EQ(Item({1, 2, 0})->data, Item({1, 2})->data);
    EXPECT_EQ(Item({1})->image, ICON_BANK_CLOSED);
    EXPECT_EQ(Item({1, 0})->image, ICON_MODEL_CLOSED);
    EXPECT_EQ(Item({1, 0, 0})->image, ICON_MODEL_OPEN);
    EXPECT_EQ(Item({1, 2})->image, ICON_BMP_CLOSED);
    EXPECT_EQ(Item({1, 2, 1})->image, ICON_BMP_OPEN);
    EXPECT_EQ(Item({1, 2})->selectedImage, Item({1, 2})->image);
}

TEST_F(RecordTree, CopiesPointAtTheFirstOccurrenceAndNameItsBankAndIndex) {
    const auto shared = Bmp("same", 7);
    bfp::ImageWriter image;
    image.AddBank({{}, {Bmp("other", 1), shared}});
    image.Filler(1, 1);
    image.AddBank({{}, {Bmp("renamed", 7), Bmp("other2", 1, 4)}});
    image.Filler(1, 1);
    image.AddBank({{}, {Bmp("third", 7)}});
    ASSERT_TRUE(Open(image.bytes()));

    EXPECT_EQ(Record({0, 1}).nCopyOf, 0u);
    EXPECT_EQ(Item({1, 0})->text, "0:renamed (Copy of CM3D 1,bitmap 1)");
    EXPECT_EQ(Item({1, 0})->image, ICON_COPY_BMP_CLOSED);
    EXPECT_EQ(Record({1, 0}).nCopyOf, Record({0, 1}).nOffset);
    EXPECT_EQ(Item({1, 1})->text, "1:other2 (Copy of CM3D 1,bitmap 0)");
    // A copy of a copy still names the first occurrence, never the copy.
    EXPECT_EQ(Item({2, 0})->text, "0:third (Copy of CM3D 1,bitmap 1)");
    EXPECT_EQ(Record({2, 0}).nCopyOf, Record({0, 1}).nOffset);
}

TEST_F(RecordTree, EqualLengthsWithDifferentBytesAreNoCopies) {
    bfp::ImageWriter image;
    image.AddBank({{}, {Bmp("a", 1), Bmp("b", 2)}});
    ASSERT_TRUE(Open(image.bytes()));
    EXPECT_EQ(Record({0, 1}).nCopyOf, 0u);
    EXPECT_EQ(Item({0, 1})->text, "1:b");
}

// Copies are found by a sample of the bytes first: a bitmap that differs
// from another in one byte, wherever it lies, is still no copy of it.
TEST_F(RecordTree, BitmapsDifferingInAnySingleByteAreNoCopiesAndATrueCopyStillIs) {
    const auto original = bfp::MakeBmp(8, 8, 24, 1);
    bfp::ImageWriter image;
    image.AddBank({{}, {{"original", original}}});
    for (size_t from = 0; from < original.size(); from += 64) {
        bfp::Bank bank;
        for (size_t at = from; at < std::min(original.size(), from + 64); ++at) {
            auto changed = original;
            changed[at] ^= 0x5A;
            bank.bitmaps.push_back({"changed", changed});
        }
        image.Filler(1, 1);
        image.AddBank(bank);
    }
    image.Filler(1, 1);
    image.AddBank({{}, {{"copy", original}}});
    ASSERT_TRUE(Open(image.bytes()));
    const int banks = int(Item({})->children.size());
    for (int bank = 1; bank + 1 < banks; ++bank)
        for (int item = 0; item < int(Item({bank})->children.size()); ++item)
            ASSERT_EQ(Record({bank, item}).nCopyOf, 0u) << "bank " << bank << ", bitmap " << item;
    EXPECT_EQ(Item({banks - 1, 0})->text, "0:copy (Copy of CM3D 1,bitmap 0)");
}

TEST_F(RecordTree, MoreThanThreeHundredBitmapsAreAllListedAndCompared) {
    bfp::ImageWriter image;
    for (int bank = 0; bank < 4; ++bank) {
        bfp::Bank b;
        for (int i = 0; i < 90; ++i) b.bitmaps.push_back(Bmp("b", uint32_t(bank * 90 + i)));
        image.AddBank(b);
        image.Filler(1, 1);
    }
    image.AddBank({{}, {Bmp("late copy", 5)}});
    ASSERT_TRUE(Open(image.bytes()));
    EXPECT_EQ(Item({3})->children.size(), 90u);
    EXPECT_EQ(Item({4, 0})->text, "0:late copy (Copy of CM3D 1,bitmap 5)");
}

TEST_F(RecordTree, LongLabelsAreCutInTheRecordOnly) {
    bfp::ImageWriter image;
    image.AddBank({{}, {Bmp("0123456789abcdef", 1), Bmp("0123456789abcdef", 1)}});
    ASSERT_TRUE(Open(image.bytes()));
    const std::string label = "1:0123456789abcdef (Copy of CM3D 1,bitmap 0)";
    EXPECT_EQ(Item({0, 1})->text, label);
    EXPECT_EQ(Record({0, 1}).szLabel, label.substr(0, 79));
}

TEST_F(RecordTree, ExpandingAndCollapsingSwitchesBetweenClosedAndOpenIcons) {
    bfp::ImageWriter image;
    image.AddBank({{bfp::Cube("box", 5, 1)}, {Bmp("a", 2)}});
    ASSERT_TRUE(Open(image.bytes()));
    auto& tree = view_.GetTreeCtrl();
    tree.Expand(Item({0}), fw::TreeControl::ExpandAction::expand);
    EXPECT_EQ(Item({0})->image, ICON_BANK_OPEN);
    tree.Expand(Item({0}), fw::TreeControl::ExpandAction::collapse);
    EXPECT_EQ(Item({0})->image, ICON_BANK_CLOSED);
    tree.Expand(Item({0, 1}), fw::TreeControl::ExpandAction::toggle);
    EXPECT_EQ(Item({0, 1})->image, ICON_BMP_OPEN);
    // Leaves have no children and keep their icon.
    EXPECT_FALSE(tree.Expand(Item({0, 1, 0}), fw::TreeControl::ExpandAction::expand));
    EXPECT_EQ(Item({0, 1, 0})->image, ICON_BMP_OPEN);
}

TEST_F(RecordTree, RebuildClearsTheContextItemAndNewShowsOnlyTheRoot) {
    bfp::ImageWriter image;
    image.AddBank({{bfp::Cube("box", 5, 1)}, {}});
    ASSERT_TRUE(Open(image.bytes()));
    view_.SetContextItem(Item({0, 0}));
    ASSERT_TRUE(template_.OnFileNew());
    EXPECT_EQ(view_.ContextItem(), nullptr);
    EXPECT_TRUE(Item({})->children.empty());
    EXPECT_EQ(doc_.m_nImageSize, 0u);
}

TEST_F(RecordTree, FileThatCannotBeOpenedKeepsTheDocumentAndItsTree) {
    bfp::ImageWriter image;
    image.AddBank({{bfp::Cube("box", 5, 1)}, {}});
    ASSERT_TRUE(Open(image.bytes()));
    EXPECT_FALSE(template_.OpenDocumentFile((dir_ / "missing.bfp").string()));
    EXPECT_EQ(Item({0, 0})->text, "box");
    EXPECT_TRUE(doc_.HasImage());
}

TEST_F(RecordTree, ShortReadLeavesNoImageAndOnlyTheRoot) {
    // A kernel attribute file claims a page but delivers a few bytes.
    const std::filesystem::path shortFile = "/sys/kernel/mm/transparent_hugepage/enabled";
    if (!std::filesystem::exists(shortFile) || std::filesystem::file_size(shortFile) <= ReadFileBytes(shortFile).size())
        GTEST_SKIP() << "no file here reads shorter than its length";
    bfp::ImageWriter image;
    image.AddBank({{bfp::Cube("box", 5, 1)}, {}});
    ASSERT_TRUE(Open(image.bytes()));
    EXPECT_FALSE(template_.OpenDocumentFile(shortFile.string()));
    ASSERT_FALSE(ui_.messages.empty());
    EXPECT_EQ(ui_.messages.back().text, "Cannot load SFB File");
    EXPECT_EQ(ui_.messages.back().caption, "");
    EXPECT_EQ(ui_.messages.back().style.icon, fw::MessageIcon::information);
    EXPECT_FALSE(doc_.HasImage());
    EXPECT_TRUE(Item({})->children.empty());
    // What is left is a new document: a Save cannot empty the old file.
    EXPECT_EQ(doc_.GetTitle(), "Untitled");
    EXPECT_FALSE(doc_.IsModified());
    ui_.savePath.reset();
    EXPECT_FALSE(template_.OnFileSave());
    EXPECT_GT(std::filesystem::file_size(dir_ / "data.bfp"), 0u);
}

TEST_F(RecordTree, ViewSetUpHappensOnceWithTheProgramPathAndTwelveIcons) {
    ASSERT_TRUE(view_.IsViewReady());
    ASSERT_NE(view_.ImageList(), nullptr);
    EXPECT_EQ(view_.ImageList()->size(), 12u);
    EXPECT_EQ(view_.ImageList()->Resource(7), "IDB_3DOPEN");
    EXPECT_EQ(view_.ModulePath(), dir_.path() / "pallix");
}

}  // namespace
