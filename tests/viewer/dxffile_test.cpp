#include "viewer/dxf/dxffile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "tests/viewer/dxftext.h"

namespace {

namespace fs = std::filesystem;

class DxfFile : public ::testing::Test {
protected:
    void SetUp() override {
        // Unique, as other builds may run the same test at the same time.
        folder_ = fs::temp_directory_path() / ("vistel-test-" + std::to_string(std::random_device()()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path Write(const std::string& name, const std::string& text) {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    static std::string ErrorOf(const fs::path& path) {
        const auto result = dxf::ReadDxfFile(path);
        return result.ok() ? "no error" : result.error->Describe();
    }

    fs::path folder_;
};

TEST_F(DxfFile, ReadsAFileAsTheWriterLeavesIt) {
    const auto result = dxf::ReadDxfFile(Write("temp.dxf", dxftext::WithLineEnds(dxftext::Cube(), "\r\n")));
    ASSERT_TRUE(result.ok()) << result.error->Describe();
    EXPECT_EQ(result.model.faces.size(), 12u);
}

TEST_F(DxfFile, ReportsFilesThatCannotBeRead) {
    EXPECT_EQ(ErrorOf(folder_ / "missing.dxf"), "the file does not exist");
    EXPECT_EQ(ErrorOf(folder_), "this is a folder, not a file");
    // The writer leaves the file empty for a model it refuses.
    EXPECT_EQ(ErrorOf(Write("empty.dxf", "")), "the file is empty");
    EXPECT_EQ(ErrorOf(Write("cut.dxf", dxftext::Header())), "line 35: group 0 has no value: the file ends early");
}

TEST_F(DxfFile, RefusesAHugeFileWithoutReadingIt) {
    const fs::path path = Write("huge.dxf", "");
    fs::resize_file(path, dxf::kMaxFileBytes + 1);  // sparse: costs no disk
    EXPECT_EQ(ErrorOf(path), "the file is larger than 256 MiB, too large to show");
}

}  // namespace
