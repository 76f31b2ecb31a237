#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "framework/file.h"
#include "framework/privatetemp.h"
#include "tests/support/testfiles.h"

namespace {

TEST(PrivateTemporaryFolder, IsANewFolderOfThisProcessThatOnlyItsUserReaches) {
    const auto folder = fw::PrivateTemporaryFolder();
#ifdef _WIN32
    // In the user's own %TEMP%, which only they reach.
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(folder.parent_path(), (std::filesystem::temp_directory_path() / "x").parent_path());
#else
    struct stat info {};
    ASSERT_EQ(lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, geteuid());
    // Not the one name per user that anyone could create first.
    EXPECT_NE(folder.filename(), "pallix-" + std::to_string(getuid()));
#endif
    EXPECT_EQ(fw::PrivateTemporaryFolder(), folder);
}

TEST(PrivateTemporaryFolder, AFileIsNeverWrittenThroughALinkFoundInIt) {
    TempDir outside;
    WriteFileBytes(outside / "precious", {1, 2, 3});
    const auto path = fw::PrivateTemporaryFile("temp.bmp");
#ifdef _WIN32
    // The C++ library makes no links on Windows; whatever has the name is not opened.
    WriteFileBytes(path, {9});
#else
    std::filesystem::create_symlink(outside / "precious", path);
#endif
    EXPECT_THROW(fw::File(path, fw::File::Mode::createPrivate), fw::FileException);

    fw::File file(fw::PrivateTemporaryFile("temp.bmp"), fw::File::Mode::createPrivate);
    file.Write("new", 3);
    file.Close();
    EXPECT_FALSE(std::filesystem::is_symlink(path));
    EXPECT_EQ(ReadFileBytes(outside / "precious"), (std::vector<uint8_t>{1, 2, 3}));
}

}  // namespace
