#include <gtest/gtest.h>

#include "exportpaths.h"

namespace {

TEST(ExportPaths, FolderIsBfpThenTheDataFileWithoutItsLastExtension) {
    EXPECT_EQ(ExportFolder("/tools/prog", "/data/SET1.BFP"), std::filesystem::path("/tools/bfp/SET1"));
    EXPECT_EQ(ExportFolder("/tools/prog", "/data/SET1.OLD.BFP"), std::filesystem::path("/tools/bfp/SET1.OLD"));
    EXPECT_EQ(ExportFolder("/tools/prog", "/data/SET1"), std::filesystem::path("/tools/bfp/SET1"));
    const std::string longName(300, 'x');
    EXPECT_EQ(ExportFolder("/t/p", "/d/" + longName + ".bfp").filename(), longName);
}

TEST(ExportPaths, BitmapFilesAreNamedByTheirOffsetInHex) {
    EXPECT_EQ(BitmapFileName(0x2C0), "O2C0.bmp");
    EXPECT_EQ(BitmapFileName(0xABCDEF01), "OABCDEF01.bmp");
    EXPECT_EQ(BitmapFileName(0), "O0.bmp");
}

TEST(ExportPaths, SafeNamesStayAndUnsafeOnesNeverLeaveTheFolder) {
    EXPECT_EQ(SafeFileStem("crate"), "crate");
    EXPECT_EQ(SafeFileStem("a.b-c d"), "a.b-c d");
    EXPECT_EQ(SafeFileStem(""), "_");
    EXPECT_EQ(SafeFileStem("."), "_");
    EXPECT_EQ(SafeFileStem(".."), "__");
    EXPECT_EQ(SafeFileStem("../../etc/x"), ".._.._etc_x");
    EXPECT_EQ(SafeFileStem("..\\win"), ".._win");
    EXPECT_EQ(SafeFileStem("a:b*c?d\"e<f>g|h"), "a_b_c_d_e_f_g_h");
    EXPECT_EQ(SafeFileStem(std::string("a\x01\x1f\x7f", 4)), "a___");
    EXPECT_EQ(SafeFileStem("name."), "name_");
    EXPECT_EQ(SafeFileStem("CON"), "_ON");
    EXPECT_EQ(SafeFileStem("com1.x"), "_om1.x");
    EXPECT_EQ(SafeFileStem("COMPUTER"), "COMPUTER");
    EXPECT_EQ(SafeFileStem("caf\xe9"), "caf\xc3\xa9");  // Latin-1 in the data file, UTF-8 on disk
}

}  // namespace
