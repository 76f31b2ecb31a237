#include "viewer/dxf/dxfparser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/viewer/dxftext.h"

namespace {

// The model writer's output for a model of three vertices and one triangle,
// line for line (the writer's lines end in CR LF on disk).
constexpr std::string_view kWorkedExample =
    "999\nO 4660 S 176\n  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n"
    "  0\nTABLE\n  2\nLAYER\n  0\nLAYER\n  2\n  1\n  0\nENDTAB\n  0\nENDSEC\n  0\nSECTION\n"
    "  2\nBLOCKS\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n  0\n"
    "3DFACE\n  8\n  1\n  62\n  1\n"
    "  10\n0.000000\n  20\n3.000000\n  30\n0.000000\n"
    "  11\n0.000000\n  21\n0.000000\n  31\n2.000000\n"
    "  12\n1.000000\n  22\n0.000000\n  32\n0.000000\n"
    "  13\n0.000000\n  23\n3.000000\n  33\n0.000000\n"
    "  0\nENDSEC\n  0\nEOF\n";

std::string ErrorOf(std::string_view text, const dxf::Limits& limits = {}) {
    const auto result = dxf::ParseDxf(text, limits);
    return result.ok() ? "no error" : result.error->Describe();
}

// The worked example with one line replaced (lines counted from 1).
std::string WithLine(int number, std::string_view replacement) {
    std::string text(kWorkedExample);
    std::size_t start = 0;
    for (int line = 1; line < number; ++line) start = text.find('\n', start) + 1;
    return text.replace(start, text.find('\n', start) - start, replacement);
}

TEST(DxfParser, ReadsTheWorkedExampleWithEitherLineEnd) {
    for (const std::string_view lineEnd : {"\n", "\r\n"}) {
        const auto result = dxf::ParseDxf(dxftext::WithLineEnds(kWorkedExample, lineEnd));
        ASSERT_TRUE(result.ok()) << result.error->Describe();
        ASSERT_EQ(result.model.faces.size(), 1u);
        const dxf::Face& face = result.model.faces[0];
        EXPECT_EQ(face.colour, 1);
        EXPECT_EQ(face.corners[0], (dxf::Point{0, 3, 0}));
        EXPECT_EQ(face.corners[1], (dxf::Point{0, 0, 2}));
        EXPECT_EQ(face.corners[2], (dxf::Point{1, 0, 0}));
        EXPECT_EQ(face.corners[3], face.corners[0]);
        EXPECT_TRUE(face.IsTriangle());
        EXPECT_EQ(face.CornerCount(), 3);
    }
    // The tests' own writer lays files out exactly like that.
    EXPECT_EQ(dxftext::Header(4660, 176) + dxftext::Face(1, {{{0, 3, 0}, {0, 0, 2}, {1, 0, 0}, {0, 3, 0}}}) +
                  dxftext::Closing(),
              kWorkedExample);
}

TEST(DxfParser, ReadsManyFacesAndKeepsColoursAbove255) {
    constexpr int kFaces = 50'000;
    std::string text = dxftext::Header();
    for (int i = 1; i <= kFaces; ++i) {
        const double x = i * 0.01;
        text += dxftext::Face(i, {{{x, 0, 0}, {x, 1, 0}, {x, 1, 1}, {x, 0, 1}}});
    }
    text += dxftext::Closing();
    const auto result = dxf::ParseDxf(dxftext::WithLineEnds(text, "\r\n"));
    ASSERT_TRUE(result.ok()) << result.error->Describe();
    ASSERT_EQ(result.model.faces.size(), static_cast<std::size_t>(kFaces));
    EXPECT_EQ(result.model.faces[255].colour, 256);
    EXPECT_EQ(result.model.faces.back().colour, kFaces);
    EXPECT_DOUBLE_EQ(result.model.faces.back().corners[2].x, kFaces * 0.01);
    EXPECT_FALSE(result.model.faces.back().IsTriangle());
}

TEST(DxfParser, RefusesMoreFacesThanTheLimit) {
    std::string text = dxftext::Header();
    for (int i = 1; i <= 11; ++i) text += dxftext::Face(i, {});
    text += dxftext::Closing();
    // A face takes 30 lines and the first starts on line 36.
    EXPECT_EQ(ErrorOf(text, dxf::Limits{10}), "line 336: more than 10 faces: too many to show");
    EXPECT_TRUE(dxf::ParseDxf(text, dxf::Limits{11}).ok());
}

// A drawing from another program: header variables and layer colours that
// use the same group codes as face corners, other entities, a block holding
// a face of its own, faces with their optional groups left out, and objects.
constexpr std::string_view kForeignDrawing =
    "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$EXTMIN\n10\n-5.0\n20\n-5.0\n30\n0.0\n0\nENDSEC\n"
    "0\nSECTION\n2\nCLASSES\n0\nCLASS\n1\nACDBDICTIONARYWDFLT\n0\nENDSEC\n"
    "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n1\n0\nLAYER\n2\nWALLS\n70\n0\n62\n5\n6\nCONTINUOUS\n"
    "0\nENDTAB\n0\nENDSEC\n"
    "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n2\nBOLT\n10\n0\n20\n0\n30\n0\n"
    "0\n3DFACE\n8\n0\n10\n9\n20\n9\n30\n9\n11\n8\n21\n9\n31\n9\n12\n9\n22\n8\n32\n9\n0\nENDBLK\n0\nENDSEC\n"
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLINE\n8\nWALLS\n10\n1\n20\n2\n30\n3\n11\n4\n21\n5\n31\n6\n"
    "0\nTEXT\n8\nNOTES\n10\n0\n20\n0\n40\n2.5\n1\nnot a number: 10 20 30\n"
    "0\n3DFACE\n8\nWALLS\n62\n3\n70\n0\n10\n0.0\n20\n0.0\n30\n0.0\n11\n2.0\n21\n0.0\n31\n0.0\n"
    "12\n2.0\n22\n2.0\n32\n0.0\n13\n0.0\n23\n2.0\n33\n0.0\n"
    "0\nPOLYLINE\n66\n1\n0\nVERTEX\n10\n1\n20\n1\n0\nSEQEND\n"
    "0\n3DFACE\n8\nWALLS\n10\n1e1\n20\n+2\n11\n-3.5\n21\n4\n12\n 5 \n22\n6\t\n"
    "0\nINSERT\n2\nBOLT\n10\n0\n20\n0\n"
    "0\nENDSEC\n"
    "0\nSECTION\n2\nOBJECTS\n0\nDICTIONARY\n5\nC\n3\nACAD_GROUP\n0\nENDSEC\n"
    "0\nEOF\n"
    "whatever follows the end is not read\n";

TEST(DxfParser, ReadsOnlyTheDrawnFacesOfAForeignDrawing) {
    const auto result = dxf::ParseDxf(kForeignDrawing);
    ASSERT_TRUE(result.ok()) << result.error->Describe();
    ASSERT_EQ(result.model.faces.size(), 2u);

    const dxf::Face& quad = result.model.faces[0];
    EXPECT_EQ(quad.colour, 3);
    EXPECT_EQ(quad.CornerCount(), 4);
    EXPECT_EQ(quad.corners[2], (dxf::Point{2, 2, 0}));
    EXPECT_EQ(quad.corners[3], (dxf::Point{0, 2, 0}));

    // No colour: by layer. No z: 0. No fourth corner: the third again.
    const dxf::Face& triangle = result.model.faces[1];
    EXPECT_EQ(triangle.colour, dxf::kColourByLayer);
    EXPECT_EQ(triangle.corners[0], (dxf::Point{10, 2, 0}));
    EXPECT_EQ(triangle.corners[1], (dxf::Point{-3.5, 4, 0}));
    EXPECT_EQ(triangle.corners[2], (dxf::Point{5, 6, 0}));
    EXPECT_EQ(triangle.corners[3], triangle.corners[2]);
    EXPECT_EQ(triangle.CornerCount(), 3);
}

TEST(DxfParser, AcceptsADrawingWithoutFaces) {
    const auto result = dxf::ParseDxf("  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF");
    ASSERT_TRUE(result.ok()) << result.error->Describe();
    EXPECT_TRUE(result.model.faces.empty());
}

TEST(DxfParser, ReportsEveryTruncationOfAFile) {
    const std::string text = dxftext::WithLineEnds(kWorkedExample, "\r\n");
    // Only the final line end may go missing without harm.
    for (std::size_t length = 0; length + 2 < text.size(); ++length) {
        EXPECT_FALSE(dxf::ParseDxf(std::string_view(text).substr(0, length)).ok()) << "cut at " << length;
    }
    EXPECT_TRUE(dxf::ParseDxf(std::string_view(text).substr(0, text.size() - 2)).ok());

    const auto cutAfterLine = [&](int lines) {
        std::size_t end = 0;
        for (int line = 0; line < lines; ++line) end = text.find('\n', end) + 1;
        return ErrorOf(std::string_view(text).substr(0, end));
    };
    EXPECT_EQ(cutAfterLine(43), "line 43: group 20 has no value: the file ends early");
    EXPECT_EQ(cutAfterLine(44), "line 44: the file ends inside the 3DFACE of line 36: it is incomplete");
    EXPECT_EQ(cutAfterLine(64), "line 64: the file ends inside the 3DFACE of line 36: it is incomplete");
    EXPECT_EQ(cutAfterLine(65), "line 65: group 0 has no value: the file ends early");
    EXPECT_EQ(cutAfterLine(66), "line 66: the file ends before its EOF marker: it is incomplete");
}

TEST(DxfParser, ReportsMalformedLinesWithTheirNumber) {
    EXPECT_EQ(ErrorOf(WithLine(44, "abc")), "line 44: group 20 needs a number, found \"abc\"");
    EXPECT_EQ(ErrorOf(WithLine(44, "3,5")), "line 44: group 20 needs a number, found \"3,5\"");
    EXPECT_EQ(ErrorOf(WithLine(44, "")), "line 44: group 20 needs a number, found \"\"");
    EXPECT_EQ(ErrorOf(WithLine(44, "nan")), "line 44: group 20 needs a number, found \"nan\"");
    EXPECT_EQ(ErrorOf(WithLine(44, "1e400")), "line 44: group 20 needs a number, found \"1e400\"");
    EXPECT_EQ(ErrorOf(WithLine(44, "-inf")),
              "line 44: group 20 holds \"-inf\", too far out to be a drawing coordinate");
    EXPECT_EQ(ErrorOf(WithLine(44, "1e16")),
              "line 44: group 20 holds \"1e16\", too far out to be a drawing coordinate");
    EXPECT_EQ(ErrorOf(WithLine(40, "1.5")), "line 40: group 62 needs a whole number, found \"1.5\"");
    EXPECT_EQ(ErrorOf(WithLine(40, "99999999999")), "line 40: group 62 needs a whole number, found \"99999999999\"");
    EXPECT_EQ(ErrorOf(WithLine(43, "twenty")), "line 43: expected a group code, found \"twenty\"");
    EXPECT_EQ(ErrorOf(WithLine(43, "")), "line 43: expected a group code, found \"\"");
    EXPECT_EQ(ErrorOf(WithLine(43, "  99")), "line 36: the 3DFACE has no corner 1 (groups 10 and 20)");
    EXPECT_EQ(ErrorOf(WithLine(53, "  99")), "line 36: the 3DFACE has no corner 3 (groups 12 and 22)");
    EXPECT_EQ(ErrorOf(WithLine(59, "  99")), "line 36: the 3DFACE has no corner 4 (groups 13 and 23)");
    // Long or binary junk is quoted short and printable.
    EXPECT_EQ(ErrorOf(WithLine(44, std::string(100, 'x') + "\x01\xff")),
              "line 44: group 20 needs a number, found \"" + std::string(40, 'x') + "...\"");
    EXPECT_EQ(ErrorOf(WithLine(44, "\x01\xc3\xa9")), "line 44: group 20 needs a number, found \"???\"");
}

TEST(DxfParser, ReportsEmptyAndBinaryFiles) {
    EXPECT_EQ(ErrorOf(""), "the file is empty");
    EXPECT_EQ(ErrorOf(" \r\n\n\t"), "the file is empty");
    EXPECT_EQ(ErrorOf(std::string("AutoCAD Binary DXF\r\n\x1a\0\x00\x00", 25)),
              "binary DXF files cannot be shown, only text ones");
    EXPECT_EQ(ErrorOf("just some text"), "line 1: expected a group code, found \"just some text\"");
}

TEST(DxfParser, SurvivesArbitraryBytes) {
    std::mt19937 random(12345);
    const std::string text = dxftext::WithLineEnds(kWorkedExample, "\r\n");
    for (int round = 0; round < 2000; ++round) {
        std::string damaged = text;
        for (int flips = 1 + round % 8; flips > 0; --flips) {
            damaged[random() % damaged.size()] = static_cast<char>(random() % 256);
        }
        const auto result = dxf::ParseDxf(damaged);
        if (result.ok()) {
            EXPECT_LE(result.model.faces.size(), 1u);
        }
    }
    std::string noise(1 << 16, '\0');
    for (char& c : noise) c = static_cast<char>(random() % 256);
    EXPECT_FALSE(dxf::ParseDxf(noise).ok());
    EXPECT_FALSE(dxf::ParseDxf(std::string(10 << 20, '7')).ok());
}

}  // namespace
