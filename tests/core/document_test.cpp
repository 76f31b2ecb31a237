#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>
#endif

#include <fstream>

#include "datafile/pallixdoc.h"
#include "tests/support/recordingui.h"
#include "tests/support/testfiles.h"

namespace {

#ifndef _WIN32
// Runs a step under a file size limit of a few bytes: writes then fail
// part-way, as on a full disk.
template <typename Step>
bool UnderTinyFileSizeLimit(Step step) {
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool result = step();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    return result;
}
#endif

class DocumentTest : public ::testing::Test {
protected:
    TempDir dir_;
    TempDir appDir_;
    ScopedAppData appData_{appDir_.path()};
    RecordingUi ui_;
    CPallixDoc doc_{ui_};
    std::vector<uint8_t> bytes_{'a', 'C', 'M', '3', 'D', 0, 1, 2, 255};
};

TEST_F(DocumentTest, LoadsTheWholeFileAndSavesItBackByteForByte) {
    WriteFileBytes(dir_ / "a.bfp", bytes_);
    ASSERT_TRUE(doc_.OnOpenDocument((dir_ / "a.bfp").string()));
    EXPECT_EQ(doc_.m_nImageSize, bytes_.size());
    EXPECT_EQ(std::vector<uint8_t>(doc_.Image().begin(), doc_.Image().end()), bytes_);
    EXPECT_EQ(doc_.m_strImagePath, (dir_ / "a.bfp").string());
    EXPECT_FALSE(doc_.IsModified());
    EXPECT_EQ(ui_.waitDepth, 0);

    doc_.SetModifiedFlag(true);
    ASSERT_TRUE(doc_.OnSaveDocument((dir_ / "b.bfp").string()));
    EXPECT_EQ(ReadFileBytes(dir_ / "b.bfp"), bytes_);
    EXPECT_FALSE(doc_.IsModified());
}

TEST_F(DocumentTest, EmptyFileLoadsAndSavesEmpty) {
    WriteFileBytes(dir_ / "empty.bfp", {});
    ASSERT_TRUE(doc_.OnOpenDocument((dir_ / "empty.bfp").string()));
    EXPECT_TRUE(doc_.HasImage());
    EXPECT_EQ(doc_.m_nImageSize, 0u);
    ASSERT_TRUE(doc_.OnSaveDocument((dir_ / "out.bfp").string()));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "out.bfp"));
    EXPECT_EQ(std::filesystem::file_size(dir_ / "out.bfp"), 0u);
}

TEST_F(DocumentTest, SecondLoadReplacesTheFirstImage) {
    WriteFileBytes(dir_ / "a.bfp", bytes_);
    WriteFileBytes(dir_ / "b.bfp", {7, 7});
    ASSERT_TRUE(doc_.OnOpenDocument((dir_ / "a.bfp").string()));
    ASSERT_TRUE(doc_.OnOpenDocument((dir_ / "b.bfp").string()));
    EXPECT_EQ(std::vector<uint8_t>(doc_.Image().begin(), doc_.Image().end()), (std::vector<uint8_t>{7, 7}));
}

TEST_F(DocumentTest, MissingFileIsReportedAndTheDocumentKeepsItsImage) {
    WriteFileBytes(dir_ / "a.bfp", bytes_);
    ASSERT_TRUE(doc_.OnOpenDocument((dir_ / "a.bfp").string()));
    EXPECT_FALSE(doc_.OnOpenDocument((dir_ / "missing.bfp").string()));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, (dir_ / "missing.bfp").string() + " was not found.");
    EXPECT_EQ(ui_.messages[0].caption, "Pallix");
    EXPECT_EQ(ui_.messages[0].style.icon, fw::MessageIcon::exclamation);
    EXPECT_EQ(doc_.m_nImageSize, bytes_.size());
}

TEST_F(DocumentTest, FileOfFourGibibytesOrMoreIsRefusedAndNothingChanges) {
    WriteFileBytes(dir_ / "a.bfp", bytes_);
    ASSERT_TRUE(doc_.OnOpenDocument((dir_ / "a.bfp").string()));
    const auto huge = dir_ / "huge.bfp";
    WriteFileBytes(huge, {});
    std::filesystem::resize_file(huge, (uint64_t(1) << 32));  // sparse: no disk space used
    EXPECT_FALSE(doc_.OnOpenDocument(huge.string()));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "The file is too large to open.");
    EXPECT_EQ(doc_.m_nImageSize, bytes_.size());
    EXPECT_EQ(doc_.GetPathName(), (dir_ / "a.bfp").string());
}

#ifndef _WIN32
// Windows keeps writers out while the file is read; elsewhere a write may
// land during the read, and the image would lack it.
TEST_F(DocumentTest, AFileWrittenWhileItIsReadIsNotOpenedAndTheDocumentStays) {
    WriteFileBytes(dir_ / "a.bfp", bytes_);
    ASSERT_TRUE(doc_.OnOpenDocument((dir_ / "a.bfp").string()));
    const auto big = dir_ / "big.bfp";
    WriteFileBytes(big, {});
    std::filesystem::resize_file(big, 40u << 20);  // read in more than one slice
    ui_.onProgressStep = [&] { std::ofstream(big, std::ios::app | std::ios::binary) << 'x'; };
    EXPECT_FALSE(doc_.OnOpenDocument(big.string()));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, big.string() +
                                        " was changed by another program while it was being read, so it was not "
                                        "opened. Open it again once that program has finished writing it.");
    EXPECT_EQ(doc_.GetPathName(), (dir_ / "a.bfp").string());
    EXPECT_EQ(doc_.m_nImageSize, bytes_.size());
}
#endif

TEST_F(DocumentTest, FolderInsteadOfAFileIsReported) {
    std::filesystem::create_directories(dir_ / "folder.bfp");
    EXPECT_FALSE(doc_.OnOpenDocument((dir_ / "folder.bfp").string()));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "Access to " + (dir_ / "folder.bfp").string() + " was denied.");
}

TEST_F(DocumentTest, SaveIntoAMissingFolderFailsThroughTheReport) {
    WriteFileBytes(dir_ / "a.bfp", bytes_);
    ASSERT_TRUE(doc_.OnOpenDocument((dir_ / "a.bfp").string()));
    doc_.SetModifiedFlag(true);
    const auto target = dir_ / "nowhere" / "b.bfp";
    EXPECT_FALSE(doc_.OnSaveDocument(target.string()));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, target.string() + " contains an invalid path.");
    EXPECT_TRUE(doc_.IsModified());
}

TEST_F(DocumentTest, SaveOverAReadOnlyFileFailsAndLeavesItUntouched) {
    WriteFileBytes(dir_ / "a.bfp", bytes_);
    WriteFileBytes(dir_ / "ro.bfp", {1, 2, 3});
    using std::filesystem::perms;
    std::filesystem::permissions(dir_ / "ro.bfp", perms::owner_read | perms::group_read | perms::others_read);
    ASSERT_TRUE(doc_.OnOpenDocument((dir_ / "a.bfp").string()));
    EXPECT_FALSE(doc_.OnSaveDocument((dir_ / "ro.bfp").string()));
    EXPECT_EQ(ReadFileBytes(dir_ / "ro.bfp"), (std::vector<uint8_t>{1, 2, 3}));
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "Access to " + (dir_ / "ro.bfp").string() + " was denied.");
}

// Windows has no permission bits (POSIX tests).
#ifndef _WIN32
TEST_F(DocumentTest, SaveKeepsTheOldFilesPermissionsAndLeavesNoTemporaryFile) {
    WriteFileBytes(dir_ / "a.bfp", bytes_);
    chmod((dir_ / "a.bfp").c_str(), 0640);
    ASSERT_TRUE(doc_.OnOpenDocument((dir_ / "a.bfp").string()));
    doc_.Image()[0] = 'z';
    ASSERT_TRUE(doc_.OnSaveDocument((dir_ / "a.bfp").string()));
    struct stat info {};
    ASSERT_EQ(stat((dir_ / "a.bfp").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(ReadFileBytes(dir_ / "a.bfp")[0], 'z');
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), std::filesystem::directory_iterator()),
              1);
}

// The C++ library makes no symbolic links on Windows (POSIX test).
TEST_F(DocumentTest, SaveThroughALinkWritesTheFileItNames) {
    WriteFileBytes(dir_ / "real.bfp", bytes_);
    std::filesystem::create_symlink(dir_ / "real.bfp", dir_ / "link.bfp");
    ASSERT_TRUE(doc_.OnOpenDocument((dir_ / "link.bfp").string()));
    doc_.Image()[0] = 'q';
    ASSERT_TRUE(doc_.OnSaveDocument((dir_ / "link.bfp").string()));
    EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.bfp"));
    EXPECT_EQ(ReadFileBytes(dir_ / "real.bfp")[0], 'q');
}
#endif

// A write cut short by a file size limit (setrlimit) and a folder that takes
// no new files (chmod, chattr) have no Windows counterpart (POSIX tests).
#ifndef _WIN32
TEST_F(DocumentTest, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    WriteFileBytes(dir_ / "old.bfp", {1, 2, 3});
    WriteFileBytes(dir_ / "a.bfp", bytes_);
    ASSERT_TRUE(doc_.OnOpenDocument((dir_ / "a.bfp").string()));
    doc_.SetModifiedFlag(true);
    const bool saved_ok = UnderTinyFileSizeLimit([&] { return doc_.OnSaveDocument((dir_ / "old.bfp").string()); });

    EXPECT_FALSE(saved_ok);
    EXPECT_TRUE(doc_.IsModified());
    EXPECT_EQ(ReadFileBytes(dir_ / "old.bfp"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), std::filesystem::directory_iterator()),
              2);
    // The message names the user's file, and the size limit is no hardware fault.
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].caption, "Pallix");
    EXPECT_EQ(ui_.messages[0].text,
              (dir_ / "old.bfp").string() + " would grow beyond the largest file size allowed here.");
}

// A folder that takes no new files, while its files may still be written:
// immutable for root, without write permission for anyone else.
bool LockFolder(const std::filesystem::path& folder, bool lock) {
    if (geteuid() != 0) return chmod(folder.c_str(), lock ? 0555 : 0755) == 0;
    const std::string command = std::string("chattr ") + (lock ? "+i '" : "-i '") + folder.string() + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

TEST_F(DocumentTest, FolderThatTakesNoNewFilesIsSavedInPlace) {
    const auto folder = dir_ / "locked";
    std::filesystem::create_directories(folder);
    WriteFileBytes(folder / "a.bfp", bytes_);
    ASSERT_TRUE(doc_.OnOpenDocument((folder / "a.bfp").string()));
    if (!LockFolder(folder, true)) GTEST_SKIP() << "cannot lock a folder here";
    doc_.Image()[0] = 'w';
    const bool saved = doc_.OnSaveDocument((folder / "a.bfp").string());
    const auto written = ReadFileBytes(folder / "a.bfp");

    // A write that fails part-way puts the old content back.
    doc_.Image()[0] = 'v';
    const bool failed = !UnderTinyFileSizeLimit([&] { return doc_.OnSaveDocument((folder / "a.bfp").string()); });
    LockFolder(folder, false);

    EXPECT_TRUE(saved);
    EXPECT_EQ(written[0], 'w');
    EXPECT_TRUE(failed);
    EXPECT_EQ(ReadFileBytes(folder / "a.bfp"), written);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
    // The journal that could not be written in full is gone too.
    EXPECT_TRUE(std::filesystem::is_empty(appData_.journals()));
}
#endif

}  // namespace
