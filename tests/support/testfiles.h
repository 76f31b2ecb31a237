#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A folder of its own for one test, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Points the program's application data folder (where save journals lie)
// into a test folder for as long as it lives.
class ScopedAppData {
public:
    explicit ScopedAppData(const std::filesystem::path& base);
    ~ScopedAppData();
    ScopedAppData(const ScopedAppData&) = delete;
    ScopedAppData& operator=(const ScopedAppData&) = delete;
    std::filesystem::path journals() const { return base_ / "pallix"; }

private:
    std::filesystem::path base_;
    // The tests' own data folder, from the test's environment, comes back after.
    std::optional<std::string> before_;
};

void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path);
