// Where Windows differs from Linux: names in any alphabet through the wide
// calls, device names, sharing modes, the journal in %LOCALAPPDATA% with a
// save killed at each write step, the Documents folder the shell names, and
// paths beyond 260 characters. Built and run only in the Windows build.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h.
#include <shlobj.h>

#include <random>
#include <sstream>

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "datafile/pallixdoc.h"
#include "exchange/files/exportlocation.h"
#include "framework/apptext.h"
#include "framework/file.h"
#include "framework/pathtext.h"
#include "tests/support/recordingui.h"
#include "tests/support/testfiles.h"
#include "tools/bfpbuilder.h"

namespace {

std::filesystem::path U8(const char8_t* text) { return std::filesystem::path(text); }
std::string Utf8(const std::filesystem::path& path) { return fw::Utf8FromPath(path); }

std::vector<uint8_t> SampleImage(const std::vector<std::string>& modelNames) {
    bfp::ImageWriter image;
    bfp::Bank bank;
    for (const auto& name : modelNames) bank.models.push_back(bfp::Cube(name, 5, 1));
    bank.bitmaps.push_back({"tex", bfp::MakeBmp(4, 4, 24, 1)});
    image.Filler(40, 3);
    image.AddBank(bank);
    image.Filler(40, 4);
    return image.bytes();
}

// pallix-cli's session, as its main starts it with the wide command line
// turned into UTF-8 words.
int RunCli(const std::vector<std::string>& words, std::string* out = nullptr) {
    std::ostringstream output, errors;
    std::string error;
    auto invocation = ParseCommandLine(words, error);
    if (!invocation) return 2;
    CliSession session(*invocation, output, errors);
    const int status = session.Run();
    if (out) *out = output.str();
    return status;
}

size_t CountEntries(const std::filesystem::path& folder) {
    std::error_code ignored;
    if (!std::filesystem::exists(folder, ignored)) return 0;
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// Another program: tests/windows/windows_helper.cpp.
class Helper {
public:
    explicit Helper(const std::vector<std::wstring>& arguments) {
        std::wstring line = L"\"" + std::filesystem::path(PALLIX_WINDOWS_HELPER).make_preferred().wstring() + L"\"";
        for (const auto& argument : arguments) line += L" \"" + argument + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ =
            CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_);
    }
    ~Helper() {
        if (!started_) return;
        WaitForSingleObject(process_.hProcess, 60000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    bool started() const { return started_; }
    DWORD id() const { return process_.dwProcessId; }
    DWORD Wait() {
        WaitForSingleObject(process_.hProcess, 60000);
        DWORD code = 1;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

// A program that holds a file open with the given sharing until released.
class HeldOpen {
public:
    HeldOpen(const std::filesystem::path& file, const wchar_t* sharing, const std::filesystem::path& scratch)
        : ready_(scratch / "ready"),
          release_(scratch / "release"),
          helper_({L"hold", file.wstring(), sharing, ready_.wstring(), release_.wstring()}) {
        for (int waited = 0; waited < 30000 && !std::filesystem::exists(ready_); waited += 10) Sleep(10);
    }
    ~HeldOpen() { Release(); }
    bool holding() const { return std::filesystem::exists(ready_); }
    void Release() {
        if (released_) return;
        WriteFileBytes(release_, {1});
        helper_.Wait();
        released_ = true;
        std::filesystem::remove(ready_);
        std::filesystem::remove(release_);
    }

private:
    std::filesystem::path ready_, release_;
    Helper helper_;
    bool released_ = false;
};

class WindowsTest : public ::testing::Test {
protected:
    TempDir dir_;
    TempDir appDir_;
    ScopedAppData appData_{appDir_.path()};
    RecordingUi ui_;
    CPallixDoc doc_{ui_};
};

TEST_F(WindowsTest, DataFileAndExportFolderWithCyrillicJapaneseAndAccentedNames) {
    const auto folder = dir_.path() / U8(u8"Модели データ Crème brûlée");
    const auto data = folder / U8(u8"Пример 日本語 à é ü.bfp");
    const auto exports = folder / U8(u8"Экспорт エクスポート Ærø");
    const auto saved = folder / U8(u8"Сохранено 保存 ñ.bfp");
    std::filesystem::create_directories(folder);
    // Names in data files are Latin-1: "\xC6r\xF8" is Ærø.
    WriteFileBytes(data, SampleImage({"crate", "\xC6r\xF8"}));

    std::string out;
    ASSERT_EQ(RunCli({"--export-dir", Utf8(exports), Utf8(data), "export-model", "0/0", "export-bitmap", "0/2",
                      "export-model-as", "obj", "0/1"},
                     &out),
              0)
        << out;
    EXPECT_TRUE(std::filesystem::is_regular_file(exports / "crate.3ds"));
    EXPECT_TRUE(std::filesystem::is_regular_file(exports / U8(u8"Ærø.obj")));
    // The messages name the files in UTF-8, as they are on the disk.
    EXPECT_NE(out.find(Utf8(exports / "crate.3ds")), std::string::npos) << out;

    ASSERT_EQ(RunCli({"--export-dir", Utf8(exports), Utf8(data), "import-model", "0/0", "import-bitmap", "0/2",
                      "import-model-from", "obj", "0/1", "save", Utf8(saved)},
                     &out),
              0)
        << out;
    EXPECT_EQ(ReadFileBytes(saved), ReadFileBytes(data));
    // The in-place save and the reopening go through the same names.
    ASSERT_TRUE(doc_.OnOpenDocument(Utf8(saved)));
    doc_.Image()[45] ^= 1;
    ASSERT_TRUE(doc_.OnSaveDocument(Utf8(saved)));
    EXPECT_EQ(ReadFileBytes(saved)[45], ReadFileBytes(data)[45] ^ 1);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(WindowsTest, ReservedDeviceNamesAndTrailingDotsOrSpacesInModelNamesAreExportedAsPlainFiles) {
    const std::vector<std::string> names = {"CON",  "nul",    "COM1",   "aux.3ds", "Lpt9",
                                            "box.", "crate ", "NUL .x", "COM\xB9", "CONIN$"};
    WriteFileBytes(dir_ / "data.bfp", SampleImage(names));
    const auto exports = dir_ / "out";
    std::string out;
    ASSERT_EQ(RunCli({"--export-dir", Utf8(exports), Utf8(dir_ / "data.bfp"), "export-all-as", "3ds", "0"}, &out), 0)
        << out;
    // One plain file per model and the bitmap, none of them a device.
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(exports)) {
        EXPECT_TRUE(entry.is_regular_file()) << Utf8(entry.path());
        EXPECT_GT(std::filesystem::file_size(entry.path()), 0u) << Utf8(entry.path());
        ++files;
    }
    EXPECT_EQ(files, names.size() + 1);
    for (const char* name : {"_ON.3ds", "_ul.3ds", "_OM1.3ds", "_ux.3ds.3ds", "_pt9.3ds", "box_.3ds", "crate_.3ds"})
        EXPECT_TRUE(std::filesystem::is_regular_file(exports / name)) << name << "\n" << out;
    // And every file reads back in.
    ASSERT_EQ(RunCli({"--export-dir", Utf8(exports), Utf8(dir_ / "data.bfp"), "import-all", "0"}, &out), 0) << out;

    // A device name is never opened as a data file, and nothing waits on it.
    for (const char* device : {"CON", "NUL", "COM1", "aux.3ds"}) {
        EXPECT_FALSE(doc_.OnOpenDocument(Utf8(dir_ / device))) << device;
    }
}

TEST_F(WindowsTest, ASaveWhileAnotherProgramHoldsTheFileOpenWaitsForItsSharing) {
    const auto file = dir_ / "held.bfp";
    WriteFileBytes(file, SampleImage({"crate"}));
    const auto before = ReadFileBytes(file);
    ASSERT_TRUE(doc_.OnOpenDocument(Utf8(file)));
    doc_.Image()[45] ^= 1;
    {
        // A viewer that lets others read only: the file is not written.
        HeldOpen viewer(file, L"read", dir_.path());
        ASSERT_TRUE(viewer.holding());
        EXPECT_FALSE(doc_.OnSaveDocument(Utf8(file)));
        EXPECT_EQ(ReadFileBytes(file), before);
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].text, fw::FormatPrompt(fw::text::kFileSharing, Utf8(file)));
        EXPECT_EQ(CountEntries(appData_.journals()), 0u);
    }
    // Once it closed the file, the save goes through.
    EXPECT_TRUE(doc_.OnSaveDocument(Utf8(file)));
    EXPECT_EQ(ReadFileBytes(file)[45], before[45] ^ 1);
    {
        // A reader that shares everything does not stand in the way.
        HeldOpen reader(file, L"all", dir_.path());
        ASSERT_TRUE(reader.holding());
        doc_.Image()[46] ^= 1;
        EXPECT_TRUE(doc_.OnSaveDocument(Utf8(file)));
        EXPECT_EQ(ReadFileBytes(file)[46], before[46] ^ 1);
    }
    // Save As over a file held without delete sharing cannot replace it, and
    // leaves it and its folder as they were.
    const auto other = dir_ / "other.bfp";
    WriteFileBytes(other, {1, 2, 3});
    ui_.messages.clear();
    {
        HeldOpen holder(other, L"read", dir_.path());
        ASSERT_TRUE(holder.holding());
        EXPECT_FALSE(doc_.OnSaveDocumentAs(Utf8(other)));
        EXPECT_EQ(ReadFileBytes(other), (std::vector<uint8_t>{1, 2, 3}));
        EXPECT_EQ(ui_.messages.size(), 1u);
    }
    EXPECT_EQ(CountEntries(dir_.path()), 2u);  // held.bfp, other.bfp: no hidden file left
    EXPECT_TRUE(doc_.OnSaveDocumentAs(Utf8(other)));
}

TEST_F(WindowsTest, ASaveRemovesTheHiddenFilesOfSavesWhoseProcessEndedButNotOfRunningOnes) {
    // A process that has ended: its number names no running program.
    Helper ended({L"--usage"});
    ASSERT_TRUE(ended.started());
    ended.Wait();
    const std::string dead = std::to_string(ended.id()), alive = std::to_string(GetCurrentProcessId());
    WriteFileBytes(dir_ / "a.bfp", {1, 2, 3});
    WriteFileBytes(dir_ / "b.bfp", {9});
    for (const std::string& name : std::vector<std::string>{".b.bfp.123.tmp", ".b.bfp.p" + dead + "-7.tmp",
                                                            ".b.bfp.p" + alive + "-7.tmp", ".c.bfp.55.tmp"})
        WriteFileBytes(dir_ / name, {0});
    ASSERT_TRUE(doc_.OnOpenDocument(Utf8(dir_ / "a.bfp")));
    ASSERT_TRUE(doc_.OnSaveDocument(Utf8(dir_ / "b.bfp")));
    EXPECT_EQ(ReadFileBytes(dir_ / "b.bfp"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(std::filesystem::exists(dir_ / (".b.bfp.p" + dead + "-7.tmp")));
    EXPECT_TRUE(std::filesystem::exists(dir_ / (".b.bfp.p" + alive + "-7.tmp")));
    EXPECT_TRUE(std::filesystem::exists(dir_ / ".c.bfp.55.tmp"));
    EXPECT_EQ(CountEntries(dir_.path()), 4u);
}

TEST_F(WindowsTest, TheJournalLiesInLocalAppDataAndASaveKilledAtAnyWriteStepIsRolledBack) {
    // The journal's folder follows %LOCALAPPDATA%, as the user's session sets it.
    ASSERT_EQ(fw::PathFromUtf8(Utf8(appData_.journals())).parent_path(), appDir_.path());
    std::mt19937 random(25);
    const auto file = dir_ / "data.bfp";
    const auto fresh = dir_ / "fresh.bin";
    int counts[3] = {};
    for (int killAt = 1; killAt <= 36; ++killAt) {
        const auto old = SampleImage({"crate", "pyramid", "box"});
        WriteFileBytes(file, old);
        auto next = old;
        for (int n = 1 + random() % 3; n > 0; --n) {
            const size_t at = random() % next.size(), length = std::min<size_t>(1 + random() % 900, next.size() - at);
            for (size_t i = at; i < at + length; ++i) next[i] = static_cast<uint8_t>(random());
        }
        WriteFileBytes(fresh, next);
        Helper saver({L"save", file.wstring(), file.wstring(), fresh.wstring(), std::to_wstring(killAt)});
        ASSERT_TRUE(saver.started());
        const DWORD code = saver.Wait();
        EXPECT_TRUE(code == 137 || code == 0) << code;

        RecordingUi ui;
        CPallixDoc reopened(ui);
        ASSERT_TRUE(reopened.OnOpenDocument(Utf8(file))) << killAt;
        const std::vector<uint8_t> now(reopened.Image().begin(), reopened.Image().end());
        const int outcome = now == old ? 0 : now == next ? 1 : 2;
        ++counts[outcome];
        EXPECT_NE(outcome, 2) << "kill at step " << killAt;
        EXPECT_EQ(CountEntries(appData_.journals()), 0u) << killAt;
        if (code == 137 && outcome == 0 && !ui.messages.empty()) {
            EXPECT_EQ(ui.messages[0].text, fw::FormatPrompt(fw::text::kSaveInterrupted, Utf8(file)));
        }
    }
    std::cout << "[ kill trials ] old=" << counts[0] << " new=" << counts[1] << " other=" << counts[2] << '\n';
    EXPECT_GT(counts[0], 0);
    EXPECT_GT(counts[1], 0);
}

TEST_F(WindowsTest, ExportsWithoutAFolderBesideTheProgramGoToTheDocumentsFolderTheShellNames) {
    PWSTR wide = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &wide)));
    const std::filesystem::path documents(wide);
    CoTaskMemFree(wide);
    const auto name = "pallix-windows-test-" + std::to_string(GetCurrentProcessId());
    WriteFileBytes(dir_ / (name + ".bfp"), SampleImage({"crate"}));
    const auto expected = documents / "Quon Data Manager" / name;
    EXPECT_EQ(ChooseExportFolder(dir_ / "program" / "pallix-cli.exe", Utf8(dir_ / (name + ".bfp")), {}), expected);

    std::string out;
    ASSERT_EQ(
        RunCli({"--program-dir", Utf8(dir_ / "program"), Utf8(dir_ / (name + ".bfp")), "export-model", "0/0"}, &out), 0)
        << out;
    EXPECT_TRUE(std::filesystem::is_regular_file(expected / "crate.3ds")) << out;
    std::error_code ignored;
    std::filesystem::remove_all(expected, ignored);
}

TEST_F(WindowsTest, PathsLongerThan260CharactersAreOpenedExportedAndSaved) {
    auto folder = dir_.path();
    for (int i = 0; Utf8(folder).size() < 300; ++i) folder /= "a-folder-of-forty-characters-or-so-" + std::to_string(i);
    const auto data = folder / "data.bfp";
    ASSERT_GT(Utf8(data).size(), 260u);
    // Wine takes such paths as they are; Windows with LongPathsEnabled and
    // the programs' manifest (longPathAware) too. Our own files get the \\?\ prefix.
    std::filesystem::create_directories(folder);
    WriteFileBytes(data, SampleImage({"crate"}));

    std::string out;
    const auto exports = folder / "exports";
    ASSERT_EQ(RunCli({"--export-dir", Utf8(exports), Utf8(data), "export-model", "0/0", "export-bitmap", "0/1",
                      "import-model", "0/0", "import-bitmap", "0/1", "save", Utf8(folder / "copy.bfp")},
                     &out),
              0)
        << out;
    EXPECT_TRUE(std::filesystem::exists(exports / "crate.3ds"));
    ASSERT_TRUE(doc_.OnOpenDocument(Utf8(data)));
    doc_.Image()[45] ^= 1;
    ASSERT_TRUE(doc_.OnSaveDocument(Utf8(data)));
    EXPECT_TRUE(ui_.messages.empty()) << ui_.messages[0].text;
    EXPECT_EQ(ReadFileBytes(data)[45], doc_.Image()[45]);
    EXPECT_EQ(ReadFileBytes(folder / "copy.bfp").size(), ReadFileBytes(data).size());
}

}  // namespace
