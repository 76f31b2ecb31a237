#include <cstdlib>
#include <fstream>
#include <sstream>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#endif

#include "tests/toolkit3ds/support.h"

namespace {

std::string TextOf(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

class TdsToolTest : public ToolkitTest {
protected:
    int Run(const std::string& arguments) {
        const std::string command =
            std::string(TDS_PATH) + " " + arguments + " > " + PathOf("stdout.txt") + " 2> " + PathOf("stderr.txt");
        const int status = std::system(command.c_str());
#ifdef _WIN32
        return status;
#else
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    }
    std::string Out() const { return TextOf(PathOf("stdout.txt")); }
    std::string Err() const { return TextOf(PathOf("stderr.txt")); }
};

TEST_F(TdsToolTest, DumpShowsTheTreeWithNames) {
    const std::string sample = std::string(PALLIX_TESTDATA_DIR) + "/3ds/assimp-bsd/RotatingCube.3DS";
    ASSERT_EQ(Run("dump " + sample), 0);
    EXPECT_EQ(Out().rfind("         0  4D4D CHUNK_MESH_FILE  5009\n", 0), 0U);
    EXPECT_NE(Out().find("        16    3D3D CHUNK_SCENE  792\n"), std::string::npos);
    EXPECT_NE(Out().find("4000 CHUNK_OBJECT"), std::string::npos);
    EXPECT_EQ(Err(), "");
}

TEST_F(TdsToolTest, CopyOntoTheSameFileIsRefusedHoweverItIsSpelled) {
    const ByteVector original = ReadAll(std::string(PALLIX_TESTDATA_DIR) + "/3ds/assimp-bsd/RotatingCube.3DS");
    const std::string path = WriteBytes("cube.3ds", original);
    const std::string dotted = (folder_ / "." / "cube.3ds").string();
    std::vector<std::string> spellings = {path, dotted};
#ifndef _WIN32
    std::filesystem::create_symlink(path, PathOf("link.3ds"));
    spellings.push_back(PathOf("link.3ds"));
#endif
    for (const std::string& out : spellings) {
        EXPECT_EQ(Run("copy " + path + " " + out), 1) << out;
        EXPECT_NE(Err().find("are the same file"), std::string::npos) << Err();
        EXPECT_EQ(ReadAll(path), original) << out;
    }
    // Only the file, its link and the captured output are left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), std::filesystem::directory_iterator()),
              static_cast<std::ptrdiff_t>(spellings.size() + 1));
}

TEST_F(TdsToolTest, CopyWritesANewFileByteForByte) {
    const ByteVector original = ReadAll(std::string(PALLIX_TESTDATA_DIR) + "/3ds/assimp-bsd/RotatingCube.3DS");
    const std::string in = WriteBytes("cube.3ds", original);
    const std::string out = WriteBytes("copy.3ds", {1, 2, 3});
    EXPECT_EQ(Run("copy " + in + " " + out), 0) << Err();
    EXPECT_EQ(ReadAll(out), original);
}

TEST_F(TdsToolTest, DamagedInputLeavesTheOutputAloneAndReportsTheErrors) {
    // The mesh container ends in three bytes, too few for a chunk.
    ByteVector damaged = Chunk(0x4D4D, Chunk(0x4100, {1, 2, 3}));
    const std::string in = WriteBytes("damaged.3ds", damaged);
    const std::string out = WriteBytes("keep.3ds", {1, 2, 3});
    EXPECT_EQ(Run("copy " + in + " " + out), 1);
    EXPECT_EQ(ReadAll(out), (ByteVector{1, 2, 3}));
    EXPECT_NE(Err().find(std::string(ErrorText3ds(ERR_INVALID_CHUNK)) + "\n"), std::string::npos);
    EXPECT_EQ(Run("dump"), 2);
}

#ifndef _WIN32
// A copy writes through a link to a file and keeps the link; what is not a
// plain file, or may not be written, stays as it is and the copy says why.
TEST_F(TdsToolTest, CopyWritesThroughALinkAndLeavesPipesAndReadOnlyFilesAlone) {
    const ByteVector original = ReadAll(std::string(PALLIX_TESTDATA_DIR) + "/3ds/assimp-bsd/RotatingCube.3DS");
    const std::string in = WriteBytes("cube.3ds", original);
    const std::string linked = WriteBytes("linked.3ds", {1, 2, 3});
    std::filesystem::create_symlink(linked, PathOf("link.3ds"));
    EXPECT_EQ(Run("copy " + in + " " + PathOf("link.3ds")), 0) << Err();
    EXPECT_TRUE(std::filesystem::is_symlink(PathOf("link.3ds")));
    EXPECT_EQ(ReadAll(linked), original);

    ASSERT_EQ(mkfifo(PathOf("pipe.3ds").c_str(), 0600), 0);
    EXPECT_EQ(Run("copy " + in + " " + PathOf("pipe.3ds")), 1);
    EXPECT_TRUE(std::filesystem::is_fifo(PathOf("pipe.3ds")));
    EXPECT_NE(Err().find(ErrorText3ds(ERR_NOT_REGULAR_FILE)), std::string::npos) << Err();
    // Reading a pipe is refused at once instead of waiting for a writer.
    EXPECT_EQ(Run("dump " + PathOf("pipe.3ds")), 1);
    EXPECT_NE(Err().find(ErrorText3ds(ERR_NOT_REGULAR_FILE)), std::string::npos) << Err();

    const std::string readOnly = WriteBytes("readonly.3ds", {1, 2, 3});
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
    EXPECT_EQ(Run("copy " + in + " " + readOnly), 1);
    EXPECT_EQ(ReadAll(readOnly), (ByteVector{1, 2, 3}));
    EXPECT_NE(Err().find(ErrorText3ds(ERR_READ_ONLY_FILE)), std::string::npos) << Err();
}
#endif
