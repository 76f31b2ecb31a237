#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "framework/expected.h"

// The file work every format shares: whole files written with every failure
// caught, and files read whole only when they are ordinary files of a size a
// model's file can have.

// Writes the bytes, or says why not in words that name the file.
fw::Expected<void> SaveBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes);
fw::Expected<void> SaveText(const std::filesystem::path& path, const std::string& text);

// Larger files are refused: no model file of the program's reach comes near.
inline constexpr uint64_t kMaxModelFileBytes = uint64_t(32) << 20;

// A file with more points or triangles than this is far beyond any model,
// whatever welding would make of it; readers refuse it before allocating.
inline constexpr size_t kMaxImportedEntries = size_t(1) << 20;

// Whether a point read from a file lies anywhere at all.
bool IsFinitePoint(double x, double y, double z, double u, double v);

// The file's bytes, or why not in words that name the file.
fw::Expected<std::vector<uint8_t>> LoadModelFile(const std::filesystem::path& path);
// A picture's file beside a model: no bytes when it is not there (the model
// alone was copied), the refusal when it is there but cannot be read.
fw::Expected<std::vector<uint8_t>> LoadPictureBeside(const std::filesystem::path& path);

// The file name as messages show it.
std::string Shown(const std::filesystem::path& path);
