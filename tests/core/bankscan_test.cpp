#include <gtest/gtest.h>

#include <cstring>

#include "datafile/bankscan.h"
#include "tools/bfpbuilder.h"

namespace {

// Lists what a scan reports, one short line per record.
class Recorder : public pallix::BankVisitor {
public:
    void OnBank(const pallix::BankEntry& b) override {
        lines.push_back("bank " + std::to_string(b.number) + " @" + std::to_string(b.offset) + " " +
                        std::to_string(b.objectCount) + "/" + std::to_string(b.bitmapCount));
    }
    void OnModel(const pallix::ModelEntry& m) override {
        lines.push_back("model " + m.name + " @" + std::to_string(m.offset) + " v" + std::to_string(m.vertexCount));
    }
    void OnBitmap(const pallix::BitmapEntry& b) override {
        lines.push_back("bitmap " + std::to_string(b.index) + " " + b.name + " L" + std::to_string(b.length));
    }
    std::vector<std::string> lines;
};

std::vector<std::string> Scan(const std::vector<uint8_t>& image) {
    Recorder recorder;
    pallix::ScanBanks(image, recorder);
    return recorder.lines;
}

bfp::Bitmap SmallBitmap(const std::string& name, uint32_t seed) { return {name, bfp::MakeBmp(4, 4, 24, seed)}; }

void SetLength(std::vector<uint8_t>& image, size_t bitmapRecord, uint32_t length) {
    for (int i = 0; i < 4; ++i) image[bitmapRecord + 18 + i] = uint8_t(length >> (8 * i));
}

TEST(BankScan, ImageWithoutBanksReportsNothing) {
    EXPECT_TRUE(Scan({}).empty());
    EXPECT_TRUE(Scan({'C', 'M', '3'}).empty());
    EXPECT_TRUE(Scan({'c', 'm', '3', 'd', 0, 0, 0, 0}).empty());
}

TEST(BankScan, BankWithModelsAndBitmapsReportsModelsFirstThenBitmaps) {
    bfp::ImageWriter image;
    image.Filler(10, 1);
    image.AddBank({{bfp::Cube("a", 10, 1), bfp::Pyramid("b", 10, 10, 1)},
                   {SmallBitmap("x", 1), SmallBitmap("y", 2), SmallBitmap("z", 3)}});
    const auto lines = Scan(image.bytes());
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "bank 1 @10 2/3");
    EXPECT_EQ(lines[1], "model a @42 v8");
    EXPECT_EQ(lines[3], "bitmap 0 x L102");
    EXPECT_EQ(lines[5], "bitmap 2 z L102");
}

TEST(BankScan, BankWithoutModelsContinuesOneByteAfterItsEnd) {
    bfp::ImageWriter touching;
    touching.AddBank({});
    touching.AddBank({{bfp::Cube("c", 1, 0)}, {}});  // at the end itself: passed over
    EXPECT_EQ(Scan(touching.bytes()), (std::vector<std::string>{"bank 1 @0 0/0"}));

    bfp::ImageWriter apart;
    apart.AddBank({});
    apart.Filler(1, 9);
    apart.AddBank({{bfp::Cube("c", 1, 0)}, {}});
    const auto lines = Scan(apart.bytes());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "bank 2 @33 1/0");
}

TEST(BankScan, TagInTheLastFifteenBytesOfABankWithModelsIsFound) {
    auto first = bfp::BankBytes({{bfp::Cube("c", 1, 0)}, {}});
    const auto second = bfp::BankBytes({{bfp::Pyramid("p", 1, 1, 0)}, {}});
    // The second bank starts 10 bytes before the first one's end.
    first.resize(first.size() - 10);
    first.insert(first.end(), second.begin(), second.end());
    const auto lines = Scan(first);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2].rfind("bank 2", 0), 0u);
}

TEST(BankScan, MoreThanOneHundredBitmapsShowNoneAndOneHundredShowAll) {
    bfp::Bank bank;
    for (int i = 0; i < 100; ++i) bank.bitmaps.push_back(SmallBitmap("b", uint32_t(i)));
    EXPECT_EQ(Scan(bfp::BankBytes(bank)).size(), 101u);
    bank.bitmaps.push_back(SmallBitmap("b", 100));
    const auto lines = Scan(bfp::BankBytes(bank));
    ASSERT_GE(lines.size(), 1u);
    EXPECT_EQ(lines[0], "bank 1 @0 0/101");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("bitmap", 0) == 0; }),
              0);
}

TEST(BankScan, OverlongBitmapEndsTheBanksBitmapList) {
    auto image =
        bfp::BankBytes({{}, {SmallBitmap("a", 1), SmallBitmap("b", 2), SmallBitmap("c", 3), SmallBitmap("d", 4)}});
    const size_t third = 32 + 2 * (16 + 102);
    SetLength(image, third, 300001);
    const auto lines = Scan(image);
    EXPECT_EQ(lines.size(), 3u);
}

TEST(BankScan, BitmapOfExactlyTheLimitIsShown) {
    bfp::Bitmap big{"big", std::vector<uint8_t>(300000, 0x11)};
    big.bmp[0] = 'B';
    big.bmp[1] = 'M';
    auto image = bfp::BankBytes({{}, {big}});
    SetLength(image, 32, 300000);
    EXPECT_EQ(Scan(image).back(), "bitmap 0 big L300000");
}

TEST(BankScan, ZeroRecordSizeMakesTheNextModelStartAtTheSameOffsetAndTheScanStillEnds) {
    auto image = bfp::BankBytes({{bfp::Cube("zero", 1, 0), bfp::Cube("next", 1, 0)}, {}});
    std::memset(image.data() + 32 + 12, 0, 4);
    const auto lines = Scan(image);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "model zero @32 v8");
    EXPECT_EQ(lines[2], "model zero @32 v8");
}

TEST(BankScan, RecordsBeyondTheImageEndTheBankWithWhatFits) {
    auto image = bfp::BankBytes({{bfp::Cube("a", 1, 0), bfp::Cube("b", 1, 0)}, {SmallBitmap("x", 1)}});
    const auto whole = Scan(image);
    ASSERT_EQ(whole.size(), 4u);
    image.resize(image.size() - 5);  // the bitmap no longer fits
    EXPECT_EQ(Scan(image).size(), 3u);
    image.resize(32 + 600);  // nor does the first model's record
    EXPECT_EQ(Scan(image), (std::vector<std::string>{"bank 1 @0 2/1"}));
    image.resize(20);  // nor the header itself
    EXPECT_TRUE(Scan(image).empty());
}

TEST(BankScan, HugeCountsAndOffsetsNeverReadOutsideTheImage) {
    auto image = bfp::BankBytes({{bfp::Cube("a", 1, 0)}, {}});
    image[14] = 0xFF;
    image[15] = 0xFF;  // 65535 models declared
    image[24] = 0xF0;
    image[27] = 0xFF;  // first model far beyond the end
    EXPECT_EQ(Scan(image).size(), 1u);
}

TEST(BankScan, RecordsRepeatingInPlaceCannotMakeTheListingExplode) {
    // 200 banks of 48 bytes, each declaring 65535 models of size 0: listed
    // in full they would be thirteen million items.
    std::vector<uint8_t> image;
    for (int bank = 0; bank < 200; ++bank) {
        auto bytes = bfp::BankBytes({{bfp::Model{"zero", {}, {}, 0}}, {}});
        bytes.resize(48);
        bytes[14] = bytes[15] = 0xFF;
        bytes[24] = 28;
        std::fill(bytes.begin() + 28 + 12, bytes.begin() + 28 + 16, 0);  // record size 0
        image.insert(image.end(), bytes.begin(), bytes.end());
    }
    Recorder recorder;
    pallix::ScanBanks(image, recorder);
    const auto models = std::count_if(recorder.lines.begin(), recorder.lines.end(),
                                      [](const std::string& l) { return l.rfind("model", 0) == 0; });
    EXPECT_LE(models, int(image.size() / 64 + 64));
    EXPECT_GT(models, 0);
}

// Each record costs the tree hundreds of bytes: past a ceiling, a larger
// file buys no more of them.
TEST(BankScan, TheRecordBudgetHasACeilingWhateverTheFilesSize) {
    auto bank = bfp::BankBytes({{bfp::Model{"zero", {}, {}, 0}}, {}});
    bank.resize(48);
    bank[14] = bank[15] = 0xFF;
    bank[24] = 28;
    std::fill(bank.begin() + 28 + 12, bank.begin() + 28 + 16, 0);
    std::vector<uint8_t> image(size_t(96) << 20);
    for (size_t at = 0; at + bank.size() <= image.size(); at += bank.size())
        std::copy(bank.begin(), bank.end(), image.begin() + long(at));
    struct Counter : pallix::BankVisitor {
        void OnBank(const pallix::BankEntry&) override { ++records; }
        void OnModel(const pallix::ModelEntry&) override { ++records; }
        void OnBitmap(const pallix::BitmapEntry&) override { ++records; }
        size_t records = 0;
    } counter;
    pallix::ScanBanks(image, counter);
    EXPECT_LE(counter.records, size_t(1) << 20);
    EXPECT_GT(counter.records, size_t(1) << 19);
}

TEST(BankScan, EmptyBanksCountTowardsTheBudgetToo) {
    std::vector<uint8_t> image;
    for (int bank = 0; bank < 10000; ++bank) {
        const uint8_t empty[10] = {'C', 'M', '3', 'D', 0, 0, 0, 0, 0, 0};
        image.insert(image.end(), empty, empty + 10);
    }
    image.resize(image.size() + 28, 0);
    const auto lines = Scan(image);
    EXPECT_LE(lines.size(), image.size() / 64 + 64);
    EXPECT_GT(lines.size(), 0u);
}

TEST(BankScan, NameWithoutTerminatorShowsTheWholeField) {
    EXPECT_EQ(pallix::FieldName(std::vector<uint8_t>{'a', 'b', 'c', 'd'}, 0, 3), "abc");
    EXPECT_EQ(pallix::FieldName(std::vector<uint8_t>{'a', 0, 'c', 'd'}, 0, 4), "a");
    EXPECT_EQ(pallix::FieldName(std::vector<uint8_t>{'a', 'b'}, 1, 12), "b");
}

}  // namespace
