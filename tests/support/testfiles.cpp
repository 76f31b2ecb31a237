#include "tests/support/testfiles.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

TempDir::TempDir() {
    std::random_device random;
    path_ =
        std::filesystem::temp_directory_path() / ("pallix-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

// The variable the platform's application data folder follows: the journals
// lie in its "pallix" (Windows: "Pallix", the same name to its case-blind names).
#ifdef _WIN32
ScopedAppData::ScopedAppData(const std::filesystem::path& base) : base_(base) {
    _wputenv_s(L"LOCALAPPDATA", base.c_str());
}

ScopedAppData::~ScopedAppData() { _wputenv_s(L"LOCALAPPDATA", L""); }
#else
ScopedAppData::ScopedAppData(const std::filesystem::path& base) : base_(base) {
    if (const char* before = std::getenv("XDG_DATA_HOME")) before_ = before;
    setenv("XDG_DATA_HOME", base.c_str(), 1);
}

ScopedAppData::~ScopedAppData() {
    if (before_)
        setenv("XDG_DATA_HOME", before_->c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}
#endif

void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
