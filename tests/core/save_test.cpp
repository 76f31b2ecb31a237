// The save of a data file: in place behind a rollback journal, refused when
// the file changed under it, and never leaving a file that is neither the
// old nor the new content.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>
#include <random>

#include "datafile/pallixdoc.h"
#include "framework/apptext.h"
#include "framework/fileexception.h"
#include "tests/support/recordingui.h"
#include "tests/support/testfiles.h"

namespace {

std::vector<uint8_t> RandomBytes(std::mt19937& random, size_t size) {
    std::vector<uint8_t> bytes(size);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    return bytes;
}

size_t CountEntries(const std::filesystem::path& folder) {
    std::error_code ignored;
    if (!std::filesystem::exists(folder, ignored)) return 0;
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// Each test keeps its journals in a folder of its own, not in the user's.
class SaveTest : public ::testing::Test {
protected:
    std::filesystem::path Journals() const { return appData_.journals(); }
    std::string Text(const char* prompt, const std::filesystem::path& path) {
        return fw::FormatPrompt(prompt, path.string());
    }
    struct stat Stat(const std::filesystem::path& path) {
        struct stat info {};
        EXPECT_EQ(stat(path.c_str(), &info), 0);
        return info;
    }

    TempDir dir_;
    ScopedAppData appData_{dir_ / "appdata"};
    RecordingUi ui_;
    CPallixDoc doc_{ui_};
    std::mt19937 random_{14};
};

TEST_F(SaveTest, AnEditIsWrittenInPlaceKeepingInodeLinksAndModeAndNoJournalStays) {
    const auto file = dir_ / "a.bfp";
    WriteFileBytes(file, RandomBytes(random_, 300000));
    std::filesystem::create_hard_link(file, dir_ / "link.bfp");
    chmod(file.c_str(), 0604);
    const ino_t inode = Stat(file).st_ino;
    ASSERT_TRUE(doc_.OnOpenDocument(file.string()));
    doc_.Image()[123456] ^= 0xFF;
    ASSERT_TRUE(doc_.OnSaveDocument(file.string()));

    EXPECT_EQ(ReadFileBytes(dir_ / "link.bfp"), std::vector<uint8_t>(doc_.Image().begin(), doc_.Image().end()));
    EXPECT_EQ(Stat(file).st_ino, inode);
    EXPECT_EQ(Stat(file).st_nlink, 2u);
    EXPECT_EQ(Stat(file).st_mode & 0777, 0604u);
    EXPECT_EQ(CountEntries(Journals()), 0u);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(SaveTest, RootSavingAnotherUsersFileKeepsItsOwnerAndGroup) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user: owner test skipped";
    const auto file = dir_ / "shared.bfp";
    WriteFileBytes(file, RandomBytes(random_, 9000));
    ASSERT_EQ(chown(file.c_str(), 4242, 4343), 0);
    chmod(file.c_str(), 0660);
    ASSERT_TRUE(doc_.OnOpenDocument(file.string()));
    doc_.Image()[0] ^= 1;
    ASSERT_TRUE(doc_.OnSaveDocument(file.string()));
    EXPECT_EQ(Stat(file).st_uid, 4242u);
    EXPECT_EQ(Stat(file).st_gid, 4343u);
    EXPECT_EQ(Stat(file).st_mode & 0777, 0660u);
    EXPECT_EQ(ReadFileBytes(file)[0], doc_.Image()[0]);
}

TEST_F(SaveTest, AFileSwappedForALinkOrChangedAfterOpenIsNotSavedOver) {
    const auto file = dir_ / "a.bfp";
    const auto secret = dir_ / "secret";
    const auto bytes = RandomBytes(random_, 5000);
    WriteFileBytes(file, bytes);
    WriteFileBytes(secret, bytes);
    ASSERT_TRUE(doc_.OnOpenDocument(file.string()));
    doc_.Image()[10] ^= 1;
    std::filesystem::remove(file);
    std::filesystem::create_symlink(secret, file);
    EXPECT_FALSE(doc_.OnSaveDocument(file.string()));
    EXPECT_EQ(ReadFileBytes(secret), bytes);

    // The same file, written by another program since.
    std::filesystem::remove(file);
    WriteFileBytes(file, bytes);
    ASSERT_TRUE(doc_.OnOpenDocument(file.string()));
    doc_.Image()[10] ^= 1;
    auto changed = bytes;
    changed[20] ^= 1;
    WriteFileBytes(file, changed);  // the same file, rewritten
    timespec later[2] = {{0, UTIME_OMIT}, {Stat(file).st_mtime + 5, 0}};
    utimensat(AT_FDCWD, file.c_str(), later, 0);
    EXPECT_FALSE(doc_.OnSaveDocument(file.string()));
    EXPECT_EQ(ReadFileBytes(file), changed);

    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(ui_.messages[0].text, Text(fw::text::kFileChangedSince, file));
    EXPECT_EQ(ui_.messages[1].text, Text(fw::text::kFileChangedSince, file));
    // Save As is the way out the message names.
    EXPECT_TRUE(doc_.OnSaveDocumentAs(file.string()));
    EXPECT_EQ(ReadFileBytes(file)[10], bytes[10] ^ 1);
}

TEST_F(SaveTest, PipesAndDevicesAreRefusedAtOnceForOpenAndSave) {
    const auto pipe = dir_ / "pipe.bfp";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(doc_.OnOpenDocument(pipe.string()));  // would wait for a writer forever if it blocked
    EXPECT_FALSE(doc_.OnOpenDocument("/dev/zero"));
    WriteFileBytes(dir_ / "a.bfp", {1, 2, 3});
    ASSERT_TRUE(doc_.OnOpenDocument((dir_ / "a.bfp").string()));
    EXPECT_FALSE(doc_.OnSaveDocumentAs(pipe.string()));
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));

    ASSERT_EQ(ui_.messages.size(), 3u);
    EXPECT_EQ(ui_.messages[0].text, Text(fw::text::kFileNotRegular, pipe));
    EXPECT_EQ(ui_.messages[1].text, Text(fw::text::kFileNotRegular, "/dev/zero"));
    EXPECT_EQ(ui_.messages[2].text, Text(fw::text::kFileNotRegular, pipe));
}

TEST_F(SaveTest, ASaveOfAnotherLengthLeavesNoHiddenFileAndRemovesThoseOfKilledSaves) {
    const auto target = dir_ / "b.bfp";
    WriteFileBytes(dir_ / "a.bfp", {1, 2, 3});
    WriteFileBytes(target, {9});
    const pid_t ended = fork();
    if (ended == 0) _exit(0);
    waitpid(ended, nullptr, 0);
    for (const std::string& name :
         std::vector<std::string>{".b.bfp.123.tmp", ".b.bfp.p" + std::to_string(ended) + "-7.tmp",
                                  ".b.bfp.p" + std::to_string(getpid()) + "-7.tmp", ".c.bfp.55.tmp"})
        WriteFileBytes(dir_ / name, {0});
    ASSERT_TRUE(doc_.OnOpenDocument((dir_ / "a.bfp").string()));
    ASSERT_TRUE(doc_.OnSaveDocument(target.string()));
    EXPECT_EQ(ReadFileBytes(target), (std::vector<uint8_t>{1, 2, 3}));
    // A running save's file and another target's stay.
    EXPECT_TRUE(std::filesystem::exists(dir_ / (".b.bfp.p" + std::to_string(getpid()) + "-7.tmp")));
    EXPECT_TRUE(std::filesystem::exists(dir_ / ".c.bfp.55.tmp"));
    EXPECT_EQ(CountEntries(dir_.path()), 4u);  // a.bfp, b.bfp and the two kept
}

// What a kill at one write step of a save left, as the next open sees it.
enum class Outcome { old, fresh, other };

class KilledSave : public SaveTest {
protected:
    // Opens the source in a child, changes a few ranges, saves to the target
    // and is killed at the given write step; the parent opens the target.
    Outcome Trial(const std::filesystem::path& source, const std::filesystem::path& target, int killAt) {
        const auto old = ReadFileBytes(target);
        auto fresh = ReadFileBytes(source);
        std::mt19937 edits(static_cast<unsigned>(killAt * 7919 + fresh.size()));
        for (int n = 1 + edits() % 5; n > 0; --n) {
            const size_t at = edits() % fresh.size(), length = std::min<size_t>(1 + edits() % 9000, fresh.size() - at);
            for (size_t i = at; i < at + length; ++i) fresh[i] = static_cast<uint8_t>(edits());
        }
        const pid_t child = fork();
        if (child == 0) RunChild(source, target, fresh, killAt);
        int status = 0;
        waitpid(child, &status, 0);
        RecordingUi ui;
        CPallixDoc reopened(ui);
        if (!reopened.OnOpenDocument(target.string())) return Outcome::other;
        const std::vector<uint8_t> now(reopened.Image().begin(), reopened.Image().end());
        EXPECT_EQ(CountEntries(Journals()), 0u);
        return now == old ? Outcome::old : now == fresh ? Outcome::fresh : Outcome::other;
    }

    [[noreturn]] static void RunChild(const std::filesystem::path& source, const std::filesystem::path& target,
                                      const std::vector<uint8_t>& fresh, int killAt) {
        RecordingUi ui;
        CPallixDoc doc(ui);
        if (!doc.OnOpenDocument(source.string())) _exit(2);
        std::copy(fresh.begin(), fresh.end(), doc.Image().begin());
        stepsLeft_ = killAt;
        fw::File::SetBeforeWriteHook([] {
            if (--stepsLeft_ == 0) raise(SIGKILL);
        });
        _exit(doc.OnSaveDocument(target.string()) ? 0 : 3);
    }

    // Saves two changed ranges and is killed at the step given: the journal
    // takes 16 steps, the file's two writes and its flush the next three, so
    // the default falls between the writes. Returns the old content.
    std::vector<uint8_t> KillBetweenTwoWrites(const std::filesystem::path& file, int killAt = 18) {
        WriteFileBytes(file, RandomBytes(random_, 50000));
        const auto old = ReadFileBytes(file);
        auto fresh = old;
        for (size_t i = 100; i < 5000; ++i) fresh[i] ^= 0x5A;
        for (size_t i = 40000; i < 45000; ++i) fresh[i] ^= 0x5A;
        const pid_t child = fork();
        if (child == 0) RunChild(file, file, fresh, killAt);
        waitpid(child, nullptr, 0);
        return old;
    }

    // The next open finds the file holding the content, tells the user the
    // prompt and leaves no journal.
    void ExpectReopenedWith(const std::filesystem::path& file, const std::vector<uint8_t>& content,
                            const char* prompt) {
        ASSERT_TRUE(doc_.OnOpenDocument(file.string()));
        EXPECT_EQ(ReadFileBytes(file), content);
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].text, Text(prompt, file));
        EXPECT_EQ(CountEntries(Journals()), 0u);
    }

    inline static int stepsLeft_ = 0;
};

TEST_F(KilledSave, AfterAKillAtAnyWriteStepTheNextOpenFindsTheOldOrTheNewContent) {
    int counts[3] = {};
    std::mt19937 random(1414);
    const auto file = dir_ / "data.bfp", other = dir_ / "other.bfp";
    for (int trial = 0; trial < 160; ++trial) {
        const size_t size = 20000 + random() % 60000;
        WriteFileBytes(file, RandomBytes(random, size));
        const int killAt = 1 + static_cast<int>(random() % 40);
        // One trial in four replaces a file of another length through a new file.
        const bool whole = trial % 4 == 3;
        if (whole) WriteFileBytes(other, RandomBytes(random, size / 2));
        ++counts[static_cast<int>(Trial(file, whole ? other : file, killAt))];
    }
    std::cout << "[ kill trials ] old=" << counts[0] << " new=" << counts[1] << " other=" << counts[2] << '\n';
    EXPECT_EQ(counts[2], 0);
    EXPECT_GT(counts[0], 0);
    EXPECT_GT(counts[1], 0);
    // The next save removes what the killed saves left beside the target.
    RecordingUi ui;
    CPallixDoc doc(ui);
    ASSERT_TRUE(doc.OnOpenDocument(file.string()));
    ASSERT_TRUE(doc.OnSaveDocument(other.string()));
    EXPECT_EQ(CountEntries(dir_.path()), 3u);  // data.bfp, other.bfp, appdata
}

TEST_F(KilledSave, AnInterruptedSaveIsPutBackAndTheUserIsToldNothingWasLost) {
    const auto file = dir_ / "data.bfp";
    const auto old = KillBetweenTwoWrites(file);
    ASSERT_NE(ReadFileBytes(file), old);
    ExpectReopenedWith(file, old, fw::text::kSaveInterrupted);
}

TEST_F(KilledSave, AFileChangedByAnotherProgramAfterTheKillIsLeftAsItIs) {
    const auto file = dir_ / "data.bfp";
    KillBetweenTwoWrites(file);
    auto theirs = ReadFileBytes(file);
    theirs[4000] ^= 0xFF;  // neither the old nor the new byte
    WriteFileBytes(file, theirs);
    ExpectReopenedWith(file, theirs, fw::text::kJournalStale);
}

TEST_F(KilledSave, ASaveKilledAfterItsWritesIsFoundCompletedAfterAll) {
    const auto file = dir_ / "data.bfp";
    const auto old = KillBetweenTwoWrites(file, 20);
    const auto written = ReadFileBytes(file);
    ASSERT_NE(written, old);
    ASSERT_EQ(CountEntries(Journals()), 1u);
    ExpectReopenedWith(file, written, fw::text::kSaveCompletedAfterAll);
}

// A journal cut short or changed since it was sealed says nothing
// trustworthy: the file is left as the kill left it, and the journal goes.
TEST_F(KilledSave, ATornOrTamperedJournalIsIgnoredAndTheFileLeftAsItIs) {
    const auto file = dir_ / "data.bfp";
    for (const bool torn : {true, false}) {
        KillBetweenTwoWrites(file);
        const auto left = ReadFileBytes(file);
        ASSERT_EQ(CountEntries(Journals()), 1u);
        const auto journal = std::filesystem::directory_iterator(Journals())->path();
        auto bytes = ReadFileBytes(journal);
        if (torn)
            bytes.resize(bytes.size() - 9);  // the checksum and a byte of the count
        else
            bytes[8 + 24 + 16 + 10] ^= 0xFF;  // an old byte of the first range
        WriteFileBytes(journal, bytes);
        ui_.messages.clear();
        ASSERT_TRUE(doc_.OnOpenDocument(file.string()));
        EXPECT_EQ(ReadFileBytes(file), left) << (torn ? "torn" : "tampered");
        EXPECT_TRUE(ui_.messages.empty());
        EXPECT_EQ(CountEntries(Journals()), 0u);
    }
}

}  // namespace
