#include "tests/toolkit3ds/support.h"

using ErrorListTest = ToolkitTest;

TEST_F(ErrorListTest, CodeZeroIsIgnored) {
    PushError3ds(NO_TOOLKIT_ERRORS);
    EXPECT_FALSE(ErrorPending3ds());
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ErrorListTest, ReportListsNewestFirstAndChangesNothing) {
    PushError3ds(ERR_READING_FILE);
    PushError3ds(ERR_READING_DATABASE);
    PushError3ds(ERR_CREATING_DATABASE);
    const std::string expected =
        std::string(ErrorText3ds(14)) + "\n" + ErrorText3ds(15) + "\n" + ErrorText3ds(13) + "\n";
    EXPECT_EQ(Report(), expected);
    EXPECT_EQ(Report(), expected);
    EXPECT_TRUE(ErrorPending3ds());
    ClearErrors3ds();
    EXPECT_FALSE(ErrorPending3ds());
    EXPECT_EQ(Report(), "");
}

TEST_F(ErrorListTest, OverflowKeepsNineteenAndMarksTheLastEntry) {
    for (int i = 0; i < 20; ++i) {
        PushError3ds(1 + i % 19);
    }
    auto codes = Errors();
    ASSERT_EQ(codes.size(), 20U);
    EXPECT_EQ(codes[19], 1);

    PushError3ds(ERR_NO_MEM);
    PushError3ds(ERR_INVALID_ARG);
    codes = Errors();
    ASSERT_EQ(codes.size(), 20U);
    EXPECT_EQ(codes[19], N_ERRORS);
    for (int i = 0; i < 19; ++i) {
        EXPECT_EQ(codes[i], 1 + i);
    }
    const std::string report = Report();
    EXPECT_EQ(report.rfind("N_ERRORS: More errors were reported then could be recorded.\n", 0), 0U);
    EXPECT_NE(report.find(std::string(ErrorText3ds(19)) + "\n" + ErrorText3ds(18)), std::string::npos);
}

TEST_F(ErrorListTest, UnknownCodesShareOneText) {
    const char* unknown = "Unknown error code was encountered";
    EXPECT_STREQ(PushError3ds(24), unknown);
    EXPECT_STREQ(ErrorText3ds(25), unknown);
    EXPECT_STREQ(ErrorText3ds(-1), unknown);
    EXPECT_STREQ(ErrorText3ds(23), unknown);
    EXPECT_STREQ(ErrorText3ds(ERR_TOO_MANY_FILES),
                 "ERR_TOO_MANY_FILES: The toolkit has reached its maximum open file limit of 252 files.");
    EXPECT_EQ(Report(), std::string(unknown) + "\n");
}
