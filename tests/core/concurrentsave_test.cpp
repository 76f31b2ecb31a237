// Two pallix-cli runs importing into one data file and saving it at once:
// each save either lands whole or is refused in words, and no run that said
// done has its change undone by the other.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <random>
#include <sstream>
#include <thread>

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "framework/file.h"
#include "tests/support/testfiles.h"

namespace {

// The sample with a tail the program carries along, and every write step
// slowed down, as on a large file or a slow disk, so that the two runs overlap.
constexpr size_t kTail = 1u << 20;
constexpr auto kWriteStep = std::chrono::milliseconds(15);

int RunCli(const std::vector<std::string>& words, std::string* err = nullptr) {
    std::string usage;
    const auto invocation = ParseCommandLine(words, usage);
    std::ostringstream out, errors;
    const int status = invocation ? CliSession(*invocation, out, errors).Run() : 2;
    if (err) *err = out.str() + errors.str();
    return status;
}

class ConcurrentSave : public ::testing::Test {
protected:
    void SetUp() override {
        auto bytes = ReadFileBytes(std::filesystem::path(PALLIX_SOURCE_DIR) / "samples" / "demo.bfp");
        bytes.resize(bytes.size() + kTail, 0x5A);
        WriteFileBytes(original_, bytes);
        for (const auto& [folder, item] : kEdits) {
            std::filesystem::create_directories(dir_ / folder);
            ASSERT_EQ(RunCli({"--export-dir", (dir_ / folder).string(), original_.string(), "export-bitmap", item}), 0);
            for (const auto& entry : std::filesystem::directory_iterator(dir_ / folder)) {
                auto picture = ReadFileBytes(entry.path());
                for (size_t i = picture.size() / 2; i < picture.size(); ++i) picture[i] ^= 0x33;
                WriteFileBytes(entry.path(), picture);
            }
        }
    }

    // Runs one edit on a fresh copy of the sample and saves it in a child.
    pid_t StartEdit(size_t edit) {
        const pid_t child = fork();
        if (child == 0) {
            const auto& [folder, item] = kEdits[edit];
            fw::File::SetBeforeWriteHook([] { std::this_thread::sleep_for(kWriteStep); });
            std::string said;
            _exit(RunCli({"--export-dir", (dir_ / folder).string(), file_.string(), "import-bitmap", item, "save"},
                         &said));
        }
        return child;
    }

    static int ExitStatus(pid_t child) {
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Where an edit saved alone changes the sample, and to what.
    std::vector<std::pair<size_t, uint8_t>> ChangedBy(size_t edit) {
        std::filesystem::copy_file(original_, file_, std::filesystem::copy_options::overwrite_existing);
        EXPECT_EQ(ExitStatus(StartEdit(edit)), 0);
        const auto before = ReadFileBytes(original_), after = ReadFileBytes(file_);
        std::vector<std::pair<size_t, uint8_t>> changed;
        for (size_t i = 0; i < before.size(); ++i)
            if (before[i] != after[i]) changed.emplace_back(i, after[i]);
        return changed;
    }

    const std::vector<std::pair<std::string, std::string>> kEdits = {{"first", "0/2"}, {"second", "2/2"}};
    TempDir dir_;
    ScopedAppData appData_{dir_ / "appdata"};
    std::filesystem::path original_ = dir_ / "original.bfp", file_ = dir_ / "demo.bfp";
};

TEST_F(ConcurrentSave, TwoRunsSavingOneFileNeverLoseAChangeThatSaidDone) {
    const std::vector<std::vector<std::pair<size_t, uint8_t>>> changes = {ChangedBy(0), ChangedBy(1)};
    ASSERT_FALSE(changes[0].empty());
    ASSERT_FALSE(changes[1].empty());
    const auto start = std::chrono::steady_clock::now();
    ExitStatus(StartEdit(0));
    const auto alone = std::chrono::steady_clock::now() - start;

    std::mt19937 random(23);
    int lost = 0, refused = 0;
    for (int trial = 0; trial < 20; ++trial) {
        std::filesystem::copy_file(original_, file_, std::filesystem::copy_options::overwrite_existing);
        const pid_t first = StartEdit(0);
        // The second starts anywhere from at once to when the first ends.
        std::this_thread::sleep_for(alone * (random() % 100) / 100);
        const pid_t second = StartEdit(1);
        const int statuses[2] = {ExitStatus(first), ExitStatus(second)};
        EXPECT_TRUE(statuses[0] == 0 || statuses[1] == 0);
        const auto saved = ReadFileBytes(file_);
        for (size_t edit = 0; edit < 2; ++edit) {
            if (statuses[edit] != 0) {
                EXPECT_EQ(statuses[edit], 1);
                ++refused;
                continue;
            }
            bool kept = true;
            for (const auto& [at, value] : changes[edit]) kept = kept && saved[at] == value;
            if (!kept) ++lost;
        }
    }
    std::cout << "[ concurrent saves ] trials=20 refused=" << refused << " lost=" << lost << '\n';
    EXPECT_EQ(lost, 0);
}

}  // namespace
