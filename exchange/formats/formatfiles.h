#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// The file work every format shares: whole files written with every failure
// caught, and files read whole only when they are ordinary files of a size a
// model's file can have.

// Writes the bytes; returns why not, in words that name the file, or nothing.
std::string SaveBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes);
std::string SaveText(const std::filesystem::path& path, const std::string& text);

// Larger files are refused: no model file of the program's reach comes near.
inline constexpr uint64_t kMaxModelFileBytes = uint64_t(32) << 20;

// A file with more points or triangles than this is far beyond any model,
// whatever welding would make of it; readers refuse it before allocating.
inline constexpr size_t kMaxImportedEntries = size_t(1) << 20;

// Whether a point read from a file lies anywhere at all.
bool IsFinitePoint(double x, double y, double z, double u, double v);

struct LoadedBytes {
    std::vector<uint8_t> bytes;
    std::string failure;  // in words that name the file; empty when read
};
LoadedBytes LoadModelFile(const std::filesystem::path& path);
// A picture's file beside a model: no bytes and no failure when it is not
// there (the model alone was copied), a failure when it is but cannot be read.
LoadedBytes LoadPictureBeside(const std::filesystem::path& path);

// The file name as messages show it.
std::string Shown(const std::filesystem::path& path);
