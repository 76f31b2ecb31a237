#include <gtest/gtest.h>

#include "exchange/files/exportpaths.h"
#include "framework/pathtext.h"

namespace {

TEST(ExportPaths, FolderIsBfpThenTheDataFileWithoutItsLastExtension) {
    EXPECT_EQ(ExportFolder("/tools/prog", "/data/SET1.BFP"), std::filesystem::path("/tools/bfp/SET1"));
    EXPECT_EQ(ExportFolder("/tools/prog", "/data/SET1.OLD.BFP"), std::filesystem::path("/tools/bfp/SET1.OLD"));
    EXPECT_EQ(ExportFolder("/tools/prog", "/data/SET1"), std::filesystem::path("/tools/bfp/SET1"));
    const std::string longName(300, 'x');
    EXPECT_EQ(ExportFolder("/t/p", "/d/" + longName + ".bfp").filename(), longName);
}

TEST(ExportPaths, OddDataFileNamesNeverLeadOutOfTheExportFolder) {
    EXPECT_EQ(ExportFolder("/tools/prog", "/data/...bfp"), std::filesystem::path("/tools/bfp/__~D4A70D"));
    EXPECT_EQ(ExportFolder("/tools/prog", "/data/..bfp"), std::filesystem::path("/tools/bfp/_~0C98F1"));
    EXPECT_EQ(ExportFolder("/tools/prog", "/data/CON.bfp"), std::filesystem::path("/tools/bfp/_ON~67E86B"));
    EXPECT_EQ(ExportFolder("/tools/prog", "/data/caf\xc3\xa9.bfp"), fw::PathFromUtf8("/tools/bfp/caf\xc3\xa9"));
}

TEST(ExportPaths, EveryNameWindowsTakesForADeviceIsMadeSafe) {
    // Spaces before the extension, CONIN$ and CONOUT$, and COM or LPT with a
    // digit 0 or a superscript one (Latin-1 0xB9) name devices too.
    const std::vector<std::string> devices = {"NUL .x", "CON .txt", "CONIN$",   "conout$.3ds",
                                              "COM0",   "LPT\xB9",  "com\xB3.a"};
    for (const auto& name : devices) EXPECT_EQ(SafeFileStem(name)[0], '_') << name;
    for (const std::string name : {"CONSOLE", "COM10", "LPT", "NULL.x", "AUXILIARY"})
        EXPECT_EQ(SafeFileStem(name), name);
}

TEST(ExportPaths, DataFilesWhoseNamesAreMadeSafeAlikeKeepTheirFoldersApart) {
    const auto plain = ExportFolder("/t/p", "/d/a_b.bfp"), feed = ExportFolder("/t/p", "/d/a\nb.bfp"),
               question = ExportFolder("/t/p", "/d/a?b.bfp");
    EXPECT_EQ(plain.filename(), "a_b");
    EXPECT_NE(feed, plain);
    EXPECT_NE(question, plain);
    EXPECT_NE(question, feed);
    EXPECT_EQ(ExportFolder("/t/p", "/d/a?b.bfp"), question);
}

TEST(ExportPaths, ModelsOfABankWhoseSafeNamesMeetGetTheirOwnStableFiles) {
    const std::vector<std::string> names = {"../../x", "..\\..\\x", "CON", "_ON", "crate", "Crate", "x", "_ON"};
    const std::vector<std::string> stems = {".._.._x", ".._.._x~2", "_ON", "_ON~2", "crate", "Crate~2", "x", "_ON~3"};
    EXPECT_EQ(ModelFileStems(names), stems);
    // A model's file does not move when models are added after it.
    EXPECT_EQ(ModelFileStems({"CON", "_ON"}), (std::vector<std::string>{"_ON", "_ON~2"}));
    EXPECT_EQ(ModelFileStems({"a", "b"}), (std::vector<std::string>{"a", "b"}));
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
