#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

// The readers take a path: each input goes to a file of this run's own
// folder, with the extension the reader expects.
inline std::filesystem::path FuzzInputFile(const uint8_t* data, size_t size, const char* extension) {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / ("fuzz-formats-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(path);
        return path;
    }();
    const auto path = folder / (std::string("input") + extension);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return path;
}
