#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
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

// One import reads no more than this from all its files together, however
// often they name one another.
inline constexpr uint64_t kMaxImportBytes = uint64_t(64) << 20;
// The refusal of an import that would read more.
std::string TooMuchLoaded();

// Removes what a write that failed had written, so that no part of an
// export is left that looks whole; the pictures are forgotten as written.
struct FormatWriteResult;
struct WrittenPictures;
void RemoveWrittenFiles(FormatWriteResult& result, WrittenPictures* pictures);

// Text of a file quoted in a message, cut short where a hostile file makes
// it long (a data URI of megabytes).
std::string Capped(const std::string& text);

// Whether a point read from a file lies anywhere at all.
bool IsFinitePoint(double x, double y, double z, double u, double v);

// The file a model file names beside itself: only a plain name of a file in
// the model's own folder counts, with no folder part, no "..", and no link
// that leads out of the folder. Nothing for any other name.
std::optional<std::filesystem::path> FileBesideModel(const std::filesystem::path& folder, const std::string& utf8Name);

struct LoadedBytes {
    std::vector<uint8_t> bytes;
    std::string failure;  // in words that name the file; empty when read
};
LoadedBytes LoadModelFile(const std::filesystem::path& path);

// The file name as messages show it.
std::string Shown(const std::filesystem::path& path);
