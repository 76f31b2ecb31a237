#include <gtest/gtest.h>

#include <clocale>
#include <sstream>

#include "exchange/model/dxfwriter.h"
#include "framework/commandids.h"
#include "framework/os.h"
#include "framework/privatetemp.h"
#include "tests/support/viewfixture.h"
#include "tools/bfpbuilder.h"

namespace {

std::vector<uint8_t> ModelBytes(const bfp::Model& model) { return bfp::ModelRecordBytes(model); }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
    return lines;
}

bfp::Model WorkedExample() {
    bfp::Model model{"ex", {{100, 0, 0}, {0, 200, 0}, {0, 0, 300}}, {{0, 1, 2, 0, {}}}, 0};
    return model;
}

TEST(DxfWriter, WorkedExampleLineForLine) {
    const auto text = DxfText(ModelBytes(WorkedExample()), 4660, 176);
    ASSERT_TRUE(text);
    const auto lines = Lines(*text);
    const std::vector<std::string> expected = {
        "999",  "O 4660 S 176", "  0",  "SECTION",  "  2",  "HEADER",   "  0",  "ENDSEC",   "  0",  "SECTION",
        "  2",  "TABLES",       "  0",  "TABLE",    "  2",  "LAYER",    "  0",  "LAYER",    "  2",  "  1",
        "  0",  "ENDTAB",       "  0",  "ENDSEC",   "  0",  "SECTION",  "  2",  "BLOCKS",   "  0",  "ENDSEC",
        "  0",  "SECTION",      "  2",  "ENTITIES", "  0",  "3DFACE",   "  8",  "  1",      "  62", "  1",
        "  10", "0.000000",     "  20", "3.000000", "  30", "0.000000", "  11", "0.000000", "  21", "0.000000",
        "  31", "2.000000",     "  12", "1.000000", "  22", "0.000000", "  32", "0.000000", "  13", "0.000000",
        "  23", "3.000000",     "  33", "0.000000", "  0",  "ENDSEC",   "  0",  "EOF"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(lines.size(), 68u);
}

TEST(DxfWriter, CountsOutsideOneToOneThousandAreInvalid) {
    bfp::Model model;
    model.vertices.resize(1000, bfp::Vertex{1, 2, 3});
    model.triangles.resize(1000, bfp::Triangle{0, 1, 2, 0, {}});
    EXPECT_TRUE(DxfText(ModelBytes(model), 0, 0));
    model.vertices.resize(1001);
    EXPECT_FALSE(DxfText(ModelBytes(model), 0, 0));
    model.vertices.resize(5);
    model.triangles.resize(1001);
    EXPECT_FALSE(DxfText(ModelBytes(model), 0, 0));
    model.triangles.clear();
    EXPECT_FALSE(DxfText(ModelBytes(model), 0, 0));
    model.triangles.resize(1);
    model.vertices.clear();
    EXPECT_FALSE(DxfText(ModelBytes(model), 0, 0));
}

TEST(DxfWriter, ArraysThatRunPastTheImageAreInvalid) {
    auto bytes = ModelBytes(WorkedExample());
    bytes.resize(48 + 3 * 32 + 10);
    EXPECT_FALSE(DxfText(bytes, 0, 0));
}

TEST(DxfWriter, CornersComeInTheOrderCBAC) {
    bfp::Model model{"m", {{100, 0, 0}, {200, 0, 0}, {300, 0, 0}}, {{0, 1, 2, 0, {}}}, 0};
    model.triangles[0] = {2, 0, 1, 0, {}};  // a = 2, b = 0, c = 1
    const auto lines = Lines(*DxfText(ModelBytes(model), 0, 0));
    EXPECT_EQ(lines[41], "2.000000");  // corner 1: c
    EXPECT_EQ(lines[47], "1.000000");  // corner 2: b
    EXPECT_EQ(lines[53], "3.000000");  // corner 3: a
    EXPECT_EQ(lines[59], "2.000000");  // corner 4: c again
}

TEST(DxfWriter, ColourCountsFacesPastTwoHundredFiftyFive) {
    bfp::Model model{"m", {{1, 1, 1}}, {}, 0};
    model.triangles.resize(256, bfp::Triangle{0, 0, 0, 0, {}});
    const auto lines = Lines(*DxfText(ModelBytes(model), 0, 0));
    const size_t face256 = 35 + 255 * 30;
    EXPECT_EQ(lines[face256], "3DFACE");
    EXPECT_EQ(lines[face256 + 4], "  256");
}

TEST(DxfWriter, NumbersUseTheCFormatWhateverTheLocale) {
    std::setlocale(LC_ALL, "de_DE.UTF-8");  // harmless when not installed
    bfp::Model model{"m", {{-7, 0, 12345}}, {{0, 0, 0, 0, {}}}, 0};
    const auto lines = Lines(*DxfText(ModelBytes(model), 0, 0));
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(lines[41], "-0.070000");
    EXPECT_EQ(lines[43], "123.450000");
}

TEST(DxfWriter, CornerWithAnIndexPastTheVerticesIsDrawnAtTheOrigin) {
    bfp::Model model{"m", {{100, 200, 300}}, {{0, 0, 999, 0, {}}}, 0};
    const auto lines = Lines(*DxfText(ModelBytes(model), 0, 0));
    EXPECT_EQ(lines[41], "0.000000");
    EXPECT_EQ(lines[47], "1.000000");
}

using ViewModel = ViewFixture;

TEST_F(ViewModel, WritesADrawingNamedAfterTheModelAndStartsTheViewerEvenForAnInvalidModel) {
    bfp::ImageWriter image;
    bfp::Model empty{"empty", {}, {}, 0};
    image.AddBank({{bfp::Cube("box", 5, 0), empty}, {}});
    ASSERT_TRUE(Open(image.bytes()));
    RunCommand({0, 0}, cmd::kModelView);
    ASSERT_EQ(ui_.started.size(), 1u);
    const auto dxf = fw::PrivateTemporaryFolder() / "box.dxf";
    EXPECT_EQ(ui_.started[0], (dir_.path() / fw::os::ProgramFileName("vistel")).string() + " " + dxf.string() + " in " + dir_.path().string());
    const auto first = ReadFileBytes(dxf);
    EXPECT_GT(first.size(), 1000u);

    RunCommand({0, 1}, cmd::kModelView);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "Invalid model. Cannot export");
    EXPECT_EQ(ui_.messages[0].caption, "Pallix");
    EXPECT_EQ(ui_.started.size(), 2u);
    EXPECT_TRUE(ReadFileBytes(fw::PrivateTemporaryFolder() / "empty.dxf").empty());
    EXPECT_EQ(ReadFileBytes(dxf), first);
}

}  // namespace
