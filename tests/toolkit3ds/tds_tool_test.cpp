#include <cstdlib>
#include <fstream>
#include <sstream>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "support.h"

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
        const std::string command = std::string(TDS_PATH) + " " + arguments + " > " + PathOf("stdout.txt") +
                                    " 2> " + PathOf("stderr.txt");
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

TEST_F(TdsToolTest, CopyOntoItselfKeepsTheFile) {
    const ByteVector original = ReadAll(std::string(PALLIX_TESTDATA_DIR) + "/3ds/assimp-bsd/RotatingCube.3DS");
    const std::string path = WriteBytes("cube.3ds", original);
    ASSERT_EQ(Run("copy " + path + " " + path), 0);
    EXPECT_EQ(ReadAll(path), original);
    // Only the file itself and the captured output are left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), std::filesystem::directory_iterator()), 3);
}

TEST_F(TdsToolTest, DamagedInputLeavesTheOutputAloneAndReportsTheErrors) {
    ByteVector damaged = Chunk(0x4D4D, Chunk(0x4110, {0xFF, 0x00, 1, 2, 3}));
    const std::string in = WriteBytes("damaged.3ds", damaged);
    const std::string out = WriteBytes("keep.3ds", {1, 2, 3});
    EXPECT_EQ(Run("copy " + in + " " + out), 1);
    EXPECT_EQ(ReadAll(out), (ByteVector{1, 2, 3}));
    EXPECT_EQ(Err(), std::string(ErrorText3ds(ERR_INVALID_CHUNK)) + "\n");
    EXPECT_EQ(Run("dump"), 2);
}
