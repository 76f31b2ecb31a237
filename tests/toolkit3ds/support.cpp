#include "tests/toolkit3ds/support.h"

#include <bit>
#include <cstdio>
#include <fstream>
#include <iterator>

void ToolkitTest::SetUp() {
    ClearErrors3ds();
    SetFileBufferSize3ds(1 << 20);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("toolkit3ds-") + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
}

void ToolkitTest::TearDown() {
    ClearErrors3ds();
    ReleaseDatabase3ds(&database_);
    CloseAllFiles3ds();
    ClearErrors3ds();
    SetFileBufferSize3ds(1 << 20);
    std::filesystem::remove_all(folder_);
}

Database3ds* ToolkitTest::ReadDatabase(const ByteVector& bytes) {
    const std::string name = "in" + std::to_string(++inputs_) + ".3ds";
    File3ds* file = OpenFile3ds(WriteBytes(name, bytes).c_str(), "r");
    NewDatabase3ds(&database_);
    ReadDatabase3ds(file, database_);
    return database_;
}

ByteVector ToolkitTest::WriteDatabase(Database3ds* database, const std::string& name) {
    File3ds* file = OpenFile3ds(PathOf(name).c_str(), "w");
    WriteDatabase3ds(file, database);
    CloseFile3ds(file);
    return ReadAll(PathOf(name));
}

std::string ToolkitTest::PathOf(const std::string& name) const { return (folder_ / name).string(); }

std::string ToolkitTest::WriteBytes(const std::string& name, const ByteVector& bytes) const {
    const std::string path = PathOf(name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

ByteVector ToolkitTest::ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return ByteVector((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<ErrorCode3ds> ToolkitTest::Errors() {
    std::vector<ErrorCode3ds> codes;
    const ErrorEntry3ds* entries = ErrorEntries3ds();
    for (int i = 0; i < kErrorListSize3ds && entries[i].code != NO_TOOLKIT_ERRORS; ++i) {
        codes.push_back(entries[i].code);
    }
    return codes;
}

std::string ToolkitTest::Report() {
    std::FILE* sink = std::tmpfile();
    ReportErrors3ds(sink);
    std::rewind(sink);
    std::string text;
    for (int c = std::fgetc(sink); c != EOF; c = std::fgetc(sink)) {
        text.push_back(static_cast<char>(c));
    }
    std::fclose(sink);
    return text;
}

void AppendWord(ByteVector& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendDword(ByteVector& out, std::uint32_t value) {
    AppendWord(out, static_cast<std::uint16_t>(value));
    AppendWord(out, static_cast<std::uint16_t>(value >> 16));
}

void AppendFloat(ByteVector& out, float value) { AppendDword(out, std::bit_cast<std::uint32_t>(value)); }

void AppendText(ByteVector& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

ByteVector Chunk(std::uint16_t tag, const ByteVector& body) {
    ByteVector out;
    AppendWord(out, tag);
    AppendDword(out, static_cast<std::uint32_t>(body.size() + 6));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

ByteVector Concat(std::initializer_list<ByteVector> parts) {
    ByteVector out;
    for (const auto& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}
