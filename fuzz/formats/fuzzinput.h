#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "exchange/formats/exchangemesh.h"
#include "framework/expected.h"

// The readers take a path: each input goes to a file of this run's own
// folder, with the extension the reader expects; the folder goes at exit.
class FuzzFolder {
public:
    FuzzFolder()
        : path_(std::filesystem::temp_directory_path() / ("fuzz-formats-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
    }
    ~FuzzFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::filesystem::path FuzzInputFile(const uint8_t* data, size_t size, const char* extension) {
    static const FuzzFolder folder;
    const auto path = folder.path() / (std::string("input") + extension);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return path;
}

// What every reader promises: a refusal, or a mesh whose faces name only
// points and groups it has.
inline void AbortUnlessWellFormed(const fw::Expected<ImportedMesh>& read) {
    if (!read.ok()) return;
    for (const ImportedFace& face : read->faces)
        if (face.a >= read->points.size() || face.b >= read->points.size() || face.c >= read->points.size() ||
            face.group >= read->groups.size())
            std::abort();
}
