#include <gtest/gtest.h>

#ifndef _WIN32
#include <pwd.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "exchange/files/exportlocation.h"
#include "tests/support/testfiles.h"
#include "tools/bfpbuilder.h"

namespace {

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        bfp::ImageWriter image;
        image.AddBank({{bfp::Cube("box", 5, 1)}, {{"tex", bfp::MakeBmp(4, 4, 24, 1)}}});
        WriteFileBytes(dir_ / "data.bfp", image.bytes());
        std::filesystem::create_directories(dir_ / "bfp" / "data");
    }

    int Run(std::vector<std::string> words) {
        out_.str("");
        err_.str("");
        std::string error;
        auto invocation = ParseCommandLine(words, error);
        if (!invocation) return 2;
        CliSession session(*invocation, out_, err_);
        return session.Run();
    }

    std::vector<std::string> Words(std::initializer_list<std::string> actions) {
        std::vector<std::string> words = {"--program-dir", dir_.path().string(), (dir_ / "data.bfp").string()};
        words.insert(words.end(), actions.begin(), actions.end());
        return words;
    }

    TempDir dir_;
    std::ostringstream out_, err_;
};

TEST_F(Cli, TreeIndentsTwoSpacesPerLevelAndKeepsTrailingSpaces) {
    ASSERT_EQ(Run(Words({"tree"})), 0);
    EXPECT_EQ(out_.str(),
              "Quon Data File\n"
              "  CM3D 1: 1 Objects  1 Bitmaps\n"
              "    box\n"
              "      Vertices:    8 \n"
              "      Triangles:  12\n"
              "    0:tex\n"
              "      Size:    102 bytes\n"
              "      Offset:  000380x0\n");
}

TEST_F(Cli, ControlCharactersAndBackslashesInNamesAreEscapedToKeepOneLinePerItem) {
    bfp::ImageWriter image;
    image.AddBank(
        {{bfp::Cube(std::string("a\nb\r\t\\\x1b[2J\x9b\xe9", 12), 5, 1)}, {{"tex", bfp::MakeBmp(4, 4, 24, 1)}}});
    WriteFileBytes(dir_ / "data.bfp", image.bytes());
    ASSERT_EQ(Run(Words({"tree", "records"})), 0);
    const std::string escaped = "a\\nb\\r\\t\\\\\\x1B[2J\\x9B\xe9";
    EXPECT_NE(out_.str().find("\n    " + escaped + "\n"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("\t" + escaped + "\n"), std::string::npos) << out_.str();
}

TEST_F(Cli, RecordsAndStatsListEachItem) {
    ASSERT_EQ(Run(Words({"expand", "0", "records", "stats"})), 0);
    std::istringstream lines(out_.str());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, ".\t1\t-\t-\t-\t-\tQuon Data File");
    std::getline(lines, line);
    EXPECT_EQ(line, "0\t7\t1\t0\t999999\t0\tCM3D 1: 1 Objects  1 Bitmaps");
    std::getline(lines, line);
    EXPECT_EQ(line, "0/0\t10\t3\t32\t848\t0\tbox");
    EXPECT_NE(out_.str().find("banks=1 models=1 bitmaps=1 copies=0\n"), std::string::npos);
}

TEST_F(Cli, MenuListsEntriesWithTheirState) {
    ASSERT_EQ(Run(Words({"menu", ".", "menu", "0/0/1"})), 0);
    EXPECT_EQ(out_.str(),
              "menu: BFP\n  32786\tExport All\tenabled\n  32787\tImport All\tenabled\n"
              "  32798\tExport All As...\tenabled\n  32785\tCancel\tenabled\n"
              "menu: Model\n  32792\tView Model\tenabled\n  32788\tExport Model\tenabled\n"
              "  32789\tImport Model\tenabled\n  32793\tExport Model As...\tenabled\n"
              "  32794\tImport Model From...\tenabled\n  32785\tCancel\tenabled\n");
}

TEST_F(Cli, CommandsPrintTheirMessagesOnOneLineEach) {
    ASSERT_EQ(Run(Words({"export-bitmap", "0/1", "view-bitmap", "0/1/0", "import-bitmap", "0/1", "modified"})), 0);
    const auto path = (dir_ / "bfp" / "data" / "O380.bmp").string();
    const std::string out = out_.str();
    EXPECT_EQ(out.find("message [Bitmap file] The bitmap will be written to\\n" + path + "\n"), 0u);
    EXPECT_NE(out.find("shell: open "), std::string::npos);
    EXPECT_NE(
        out.find("message [Opening file Bitmap file] The bitmap will be read from\\n" + path + "\nmodified: yes\n"),
        std::string::npos);
    EXPECT_EQ(Run(Words({"export-model", "0/0"})), 0);
    EXPECT_EQ(out_.str(), "message [Model (3DS) file] The model will be written to\\n" +
                              (dir_ / "bfp" / "data" / "box.3ds").string() + "\n");
}

// A batch never waits for an answer, yet its output must name every file it
// replaced that somebody had edited since an earlier run exported it.
TEST_F(Cli, ABatchReplacesAFileEditedSinceAnEarlierRunsExportAndNamesIt) {
    ScopedAppData data(dir_ / "data");
    ASSERT_EQ(Run(Words({"export-bitmap", "0/1"})), 0);
    const auto bitmap = dir_ / "bfp" / "data" / "O380.bmp";
    const auto exported = ReadFileBytes(bitmap);
    auto painted = exported;
    painted.back() ^= 1;
    WriteFileBytes(bitmap, painted);
    ASSERT_EQ(Run(Words({"export-bitmap", "0/1"})), 0);
    EXPECT_NE(out_.str().find("message [Export] O380.bmp was changed since it was exported. Replace it?\n"),
              std::string::npos);
    EXPECT_EQ(ReadFileBytes(bitmap), exported);
}

TEST_F(Cli, SaveWritesTheImageBackAndSaveAsToAnotherFile) {
    ASSERT_EQ(
        Run(Words({"export-bitmap", "0/1", "import-bitmap", "0/1", "save", (dir_ / "copy.bfp").string(), "modified"})),
        0);
    EXPECT_EQ(ReadFileBytes(dir_ / "copy.bfp"), ReadFileBytes(dir_ / "data.bfp"));
    EXPECT_NE(out_.str().find("modified: no"), std::string::npos);
    ASSERT_EQ(Run(Words({"save", "modified"})), 0);
    EXPECT_EQ(out_.str(), "modified: no\n");
}

TEST_F(Cli, AfterSaveAsExportsGoToTheFolderOfTheNewName) {
    std::filesystem::create_directories(dir_ / "bfp" / "renamed");
    ASSERT_EQ(Run(Words({"save", (dir_ / "renamed.bfp").string(), "export-model", "0/0"})), 0);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "bfp" / "renamed" / "box.3ds"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "bfp" / "data" / "box.3ds"));
}

TEST_F(Cli, WithoutTheProgramsFolderExportsGoToTheUsersOwnOrTheChosenOne) {
    std::filesystem::remove_all(dir_ / "bfp");
    ASSERT_EQ(Run(Words({"export-bitmap", "0/1"})), 0);
    EXPECT_TRUE(std::filesystem::exists(UserExportRoot() / "data" / "O380.bmp"));
    ASSERT_EQ(Run({"--export-dir", (dir_ / "mine").string(), (dir_ / "data.bfp").string(), "export-model", "0/0"}), 0);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "mine" / "box.3ds"));
}

// Links the C++ library cannot make on Windows, FIFOs and the password
// database it does not have (POSIX tests; tests/windows has device names).
#ifndef _WIN32
// Another user's link in the export folder must not lead an export onto the
// victim's files; a pipe or a read-only file is no file to replace either.
TEST_F(Cli, ExportsNeverWriteThroughALinkNorOverAPipeOrAReadOnlyFile) {
    const auto folder = dir_ / "bfp" / "data";
    WriteFileBytes(dir_ / "victim", {1, 2, 3});
    std::filesystem::create_symlink(dir_ / "victim", folder / "box.3ds");
    std::filesystem::create_symlink(dir_ / "victim", folder / "O380.bmp");
    ASSERT_EQ(mkfifo((folder / "box.gltf").c_str(), 0600), 0);
    WriteFileBytes(folder / "box.obj", {4});
    std::filesystem::permissions(folder / "box.obj", std::filesystem::perms::owner_read);
    for (const auto& actions : {Words({"export-model", "0/0"}), Words({"export-bitmap", "0/1"}),
                                Words({"export-model-as", "gltf", "0/0"}), Words({"export-model-as", "obj", "0/0"})}) {
        Run(actions);
        EXPECT_NE((out_.str() + err_.str()).find(", so it "), std::string::npos) << out_.str() << err_.str();
    }
    EXPECT_EQ(ReadFileBytes(dir_ / "victim"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "box.3ds"));
    EXPECT_TRUE(std::filesystem::is_fifo(folder / "box.gltf"));
    EXPECT_EQ(ReadFileBytes(folder / "box.obj"), (std::vector<uint8_t>{4}));
}

// Without HOME, exports go below the home the system lists for the user,
// never below the shared temporary folder where anyone could make them first.
TEST(CliHome, WithoutHomeExportsGoBelowTheUsersHomeFromThePasswordDatabase) {
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* documents = std::getenv("XDG_DOCUMENTS_DIR");
    const std::string kept = documents ? documents : "";
    unsetenv("HOME");
    unsetenv("XDG_DOCUMENTS_DIR");
    const auto root = UserExportRoot();
    if (!home.empty()) setenv("HOME", home.c_str(), 1);
    if (documents) setenv("XDG_DOCUMENTS_DIR", kept.c_str(), 1);
    const passwd* user = getpwuid(geteuid());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(root.string().rfind(user->pw_dir, 0), 0u) << root;
    EXPECT_NE(root.string().rfind(std::filesystem::temp_directory_path().string(), 0), 0u) << root;
}
#endif

TEST_F(Cli, ExitStatusTellsWhatWentWrong) {
    EXPECT_EQ(Run(Words({"menu", "0/9"})), 1);
    EXPECT_EQ(err_.str(), "pallix-cli: no item at 0/9\n");
    EXPECT_EQ(Run(Words({"menu", "x"})), 1);
    EXPECT_EQ(Run({"--program-dir", dir_.path().string(), (dir_ / "none.bfp").string(), "tree"}), 1);
    EXPECT_NE(out_.str().find("was not found."), std::string::npos);
    EXPECT_EQ(Run(Words({"frobnicate"})), 2);
    EXPECT_EQ(Run(Words({"menu"})), 2);
    EXPECT_EQ(Run({"--bogus", "x"}), 2);
    EXPECT_EQ(Run({}), 2);
}

TEST_F(Cli, BitmapsLeaveAndComeBackAsPngAndARefusedImportExitsOneWithNothingSaved) {
    const auto before = ReadFileBytes(dir_ / "data.bfp");
    ASSERT_EQ(Run(Words({"export-bitmap-as", "png", "0/1", "import-bitmap-from", "png", "0/1", "save"})), 0)
        << out_.str() << err_.str();
    EXPECT_TRUE(std::filesystem::exists(dir_ / "bfp" / "data" / "O380.png"));
    EXPECT_EQ(ReadFileBytes(dir_ / "data.bfp"), before);
    WriteFileBytes(dir_ / "bfp" / "data" / "O380.png", {0x89, 'P', 'N', 'G'});
    EXPECT_EQ(Run(Words({"import-bitmap-from", "png", "0/1", "save"})), 1);
    EXPECT_NE(out_.str().find("message [Import Bitmap] O380.png cannot be imported: it is not a PNG file."),
              std::string::npos)
        << out_.str();
    EXPECT_EQ(ReadFileBytes(dir_ / "data.bfp"), before);
    EXPECT_EQ(Run(Words({"export-bitmap-as", "gif", "0/1"})), 2);
}

TEST_F(Cli, CommandsTheItemsPopupDoesNotOfferAreRefused) {
    const auto before = ReadFileBytes(dir_ / "data.bfp");
    EXPECT_EQ(Run(Words({"export-bitmap", "0/0", "import-bitmap", "0/0", "save"})), 1);
    EXPECT_EQ(err_.str(), "pallix-cli: export-bitmap is not offered for the item at 0/0\n");
    EXPECT_EQ(Run(Words({"import-model", "0/1"})), 1);
    EXPECT_EQ(Run(Words({"export-all", "0/0"})), 1);
    EXPECT_EQ(Run(Words({"import-all", "0/0"})), 1);
    EXPECT_EQ(ReadFileBytes(dir_ / "data.bfp"), before);
}

TEST_F(Cli, WholeFileExportAndImportRunAndChangeNothingWhenNothingWasEdited) {
    const auto before = ReadFileBytes(dir_ / "data.bfp");
    EXPECT_EQ(Run(Words({"export-all", ".", "import-all", ".", "import-all", "0", "modified"})), 0);
    EXPECT_NE(out_.str().find("message [Import All] Imported: 0\\nUnchanged: 2\\nRefused: 0"), std::string::npos)
        << out_.str();
    EXPECT_NE(out_.str().find("modified: no"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "bfp" / "data" / "CM3D 1" / "box.3ds"));
    EXPECT_EQ(ReadFileBytes(dir_ / "data.bfp"), before);
}

TEST_F(Cli, ARefusedImportEndsTheRunWithStatusOneOnceTheOtherActionsRan) {
    EXPECT_EQ(Run(Words({"import-bitmap", "0/1", "modified"})), 1);
    EXPECT_NE(out_.str().find("was not found."), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("modified: no"), std::string::npos);
    ASSERT_EQ(Run(Words({"export-all", "0"})), 0);
    WriteFileBytes(dir_ / "bfp" / "data" / "O380.bmp", bfp::MakeBmp(8, 8, 24, 2));
    EXPECT_EQ(Run(Words({"import-all", "0", "modified"})), 1);
    EXPECT_NE(out_.str().find("Refused: 1"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("modified: no"), std::string::npos);
}

TEST_F(Cli, FailedModelJobEndsTheRunWithStatusOne) {
    WriteFileBytes(dir_ / "blocked", {});
    EXPECT_EQ(Run({"--export-dir", (dir_ / "blocked" / "sub").string(), (dir_ / "data.bfp").string(), "export-model",
                   "0/0", "modified"}),
              1);
    EXPECT_NE(out_.str().find("message [Model (3DS) file] ERR_"), std::string::npos);
    EXPECT_EQ(out_.str().find("modified:"), std::string::npos);
    EXPECT_EQ(Run(Words({"export-model", "0/0", "import-model", "0/0", "modified"})), 0);
    EXPECT_NE(out_.str().find("modified: yes"), std::string::npos);
}

TEST(CliConsole, MessagesAndShellActionsAreOneLineEach) {
    std::ostringstream out;
    ConsoleUi ui(out, false);
    ui.Notify("No data associated with item.\n", "Bugger");
    ui.ShellOpen("/tmp/x.bmp");
    ui.StartProgram("/p/vistel", "/tmp/x.dxf", "/p");
    EXPECT_EQ(out.str(),
              "message [Bugger] No data associated with item.\\n\nshell: open /tmp/x.bmp\n"
              "shell: run /p/vistel /tmp/x.dxf in /p\n");
}

TEST(CliCommandLine, SaveTakesAnOutputOnlyWhenTheNextWordIsNoAction) {
    std::string error;
    auto parsed = ParseCommandLine({"--shell", "f.bfp", "save", "tree", "save", "out.bfp"}, error);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(parsed->performShell);
    ASSERT_EQ(parsed->actions.size(), 3u);
    EXPECT_EQ(parsed->actions[0].argument, "");
    EXPECT_EQ(parsed->actions[2].argument, "out.bfp");
    // Options go before the file.
    EXPECT_FALSE(ParseCommandLine({"f.bfp", "--shell"}, error));
}

}  // namespace
