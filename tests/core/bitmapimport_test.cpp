// The one rule of every bitmap import: byte-compatible files as they are,
// any other picture written into the stored bitmap's own layout.
#include <gtest/gtest.h>

#include "exchange/bitmap/bitmapimport.h"
#include "exchange/bitmap/nearestcolour.h"
#include "exchange/formats/bmpdecoder.h"
#include "exchange/formats/pngencoder.h"
#include "tests/support/picturefiles.h"

namespace {

const std::vector<uint8_t> kTable = {0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 128, 0};  // black, white, red, green

Picture Rgb(uint32_t width, uint32_t height, std::vector<uint32_t> colours) {
    Picture picture{width, height, {}, {}};
    for (const uint32_t c : colours)
        picture.pixels.insert(picture.pixels.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    return picture;
}

std::vector<uint8_t> Png(const Picture& picture) { return *EncodePng(picture); }

fw::Expected<BitmapImport> Import(std::span<const uint8_t> stored, const std::vector<uint8_t>& file,
                                  const char* word = "png") {
    return ImportIntoBitmap(stored, file, *BitmapFormatByWord(word), "crate.png");
}

TEST(BitmapImport, PicturesAreWrittenInEveryStoredDepthRowOrderAndPaddingWithHeadersAndTableKept) {
    // 5 × 2: odd widths leave padding in every depth.
    const std::vector<uint32_t> colours = {0x000000, 0xFFFFFF, 0xFF0000, 0x008000, 0xFF0000,
                                           0x008000, 0xFF0000, 0xFFFFFF, 0x000000, 0xFFFFFF};
    for (const uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        const bool paletted = bits <= 8;
        const auto table = bits == 1 ? std::vector<uint8_t>(kTable.begin(), kTable.begin() + 6) : kTable;
        for (const bool topDown : {false, true}) {
            std::vector<std::vector<uint32_t>> zeros(2, std::vector<uint32_t>(5, 0));
            const auto stored = BuildBmp({.width = 5,
                                          .height = topDown ? -2 : 2,
                                          .bits = bits,
                                          .palette = paletted ? table : std::vector<uint8_t>(),
                                          .pixels = PackRows(zeros, bits, topDown)});
            auto wanted = colours;
            if (bits == 1)
                for (uint32_t& c : wanted) c = c == 0xFFFFFF ? c : 0;
            const auto import = Import(stored, Png(Rgb(5, 2, wanted)));
            ASSERT_TRUE(import.ok()) << bits << ": " << import.why();
            ASSERT_EQ(import->bytes.size(), stored.size());
            const size_t pixelsAt = stored.size() - PackRows(zeros, bits).size();
            EXPECT_TRUE(std::equal(stored.begin(), stored.begin() + long(pixelsAt), import->bytes.begin())) << bits;
            const auto back = DecodeBmp(import->bytes);
            ASSERT_TRUE(back.ok());
            // 5 bits of green hold 0x80 as 0x84.
            if (bits == 16)
                for (uint32_t& c : wanted) c = c == 0x008000 ? 0x008400 : c;
            EXPECT_EQ(Colours(*back), wanted) << bits;
            EXPECT_EQ(import->approximated, 0u);
            EXPECT_FALSE(import->byteCompatible);
        }
    }
}

TEST(BitmapImport, ColoursNotInTheTableTakeTheNearestByRedmeanAndAreCounted) {
    const auto stored =
        BuildBmp({.width = 4, .height = 1, .bits = 8, .palette = kTable, .pixels = PackRows({{0, 0, 0, 0}}, 8)});
    // Dark red is nearer red than black; a grey that shares green's green is
    // nearer green than black, as the eye weighs green most; table colours stay.
    const auto import = Import(stored, Png(Rgb(4, 1, {0xB00000, 0x707070, 0x008000, 0xFFFFFF})));
    ASSERT_TRUE(import.ok()) << import.why();
    const auto back = DecodeBmp(import->bytes);
    EXPECT_EQ(back->pixels, (std::vector<uint8_t>{2, 3, 3, 1}));
    EXPECT_EQ(import->approximated, 2u);
    EXPECT_EQ(import->pixelCount, 4u);
    EXPECT_EQ(DescribeImport(*import, "crate.png"),
              "crate.png: 2 of 4 pixels took the nearest colour of the bitmap's 4-colour table");
    // A paletted file whose entries agree with the table keeps its indices,
    // so entries of the same colour stay apart.
    std::vector<uint8_t> twins = kTable;
    twins.insert(twins.end(), {255, 0, 0});
    const auto twinStored =
        BuildBmp({.width = 2, .height = 1, .bits = 8, .palette = twins, .pixels = PackRows({{0, 0}}, 8)});
    const auto kept = Import(twinStored, Png(Picture{2, 1, twins, {4, 2}}));
    ASSERT_TRUE(kept.ok()) << kept.why();
    EXPECT_EQ(DecodeBmp(kept->bytes)->pixels, (std::vector<uint8_t>{4, 2}));
}

// The search is narrowed to the entries that can win; it must still find
// what trying every entry finds.
TEST(BitmapImport, TheNarrowedSearchFindsTheNearestEntryAsTryingEveryEntryDoes) {
    uint32_t state = 7;
    const auto next = [&] { return uint8_t((state = state * 1664525u + 1013904223u) >> 24); };
    std::vector<uint8_t> table(256 * 3);
    for (uint8_t& channel : table) channel = next();
    NearestColour nearest(table);
    for (int k = 0; k < 20000; ++k) {
        const int r = next(), g = next(), b = next();
        int best = INT32_MAX;
        size_t bestIndex = 0;
        for (size_t i = 0; i < 256; ++i) {
            const int mean = (r + table[i * 3]) / 2, dr = r - table[i * 3], dg = g - table[i * 3 + 1],
                      db = b - table[i * 3 + 2];
            const int distance = (512 + mean) * dr * dr + 1024 * dg * dg + (767 - mean) * db * db;
            if (distance < best) best = distance, bestIndex = i;
        }
        ASSERT_EQ(nearest.IndexOf(uint8_t(r), uint8_t(g), uint8_t(b)), bestIndex) << r << " " << g << " " << b;
    }
}

TEST(BitmapImport, ByteCompatibleFilesAreTakenAsTheyAreTableAndAll) {
    const auto stored =
        BuildBmp({.width = 4, .height = 1, .bits = 8, .palette = kTable, .pixels = PackRows({{0, 1, 2, 3}}, 8)});
    auto edited = stored;
    edited[54] = 0x40;  // an indexed editor changed the table's first colour
    const auto import = Import(stored, edited, "bmp");
    ASSERT_TRUE(import.ok()) << import.why();
    EXPECT_TRUE(import->byteCompatible);
    EXPECT_EQ(import->bytes, edited);
    // A run-length coded bitmap takes only such a file, and says so.
    const auto coded =
        BuildBmp({.width = 4, .height = 1, .bits = 8, .compression = 1, .palette = kTable, .pixels = {4, 1, 0, 1}});
    auto recoded = coded;
    recoded[coded.size() - 3] = 2;
    EXPECT_EQ(Import(coded, recoded, "bmp")->bytes, recoded);
    EXPECT_EQ(Import(coded, Png(Rgb(4, 1, {0, 0, 0, 0}))).why(),
              "This bitmap is run-length coded, so only a BMP file of its own length, size, depth and compression "
              "can take its place byte for byte. crate.png is not one; nothing was changed.");
    auto damaged = stored;
    damaged[10] = 0xF0;  // its pixels past its end
    EXPECT_EQ(Import(damaged, Png(Rgb(4, 1, {0, 0, 0, 0}))).why(),
              "This bitmap is damaged: it points to its pixels outside the file. Only a BMP file of its own length "
              "and layout can take its place. crate.png is not one; nothing was changed.");
}

TEST(BitmapImport, OtherDimensionsAreRefusedWithTheSizeToScaleTo) {
    std::vector<std::vector<uint32_t>> rows(32, std::vector<uint32_t>(32, 0));
    const auto stored =
        BuildBmp({.width = 32, .height = 32, .bits = 8, .palette = kTable, .pixels = PackRows(rows, 8)});
    const auto file = Png(Rgb(64, 64, std::vector<uint32_t>(64 * 64, 0)));
    EXPECT_EQ(
        ImportIntoBitmap(stored, file, *BitmapFormatByWord("png"), "O68C.png").why(),
        "O68C.png is 64 \u00D7 64 pixels; this bitmap is 32 \u00D7 32. Scale it to 32 \u00D7 32 and import it again.");
}

}  // namespace
