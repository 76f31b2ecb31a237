#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
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

// One import reads no more than this from all its files together, however
// often they name one another.
inline constexpr uint64_t kMaxImportBytes = uint64_t(64) << 20;
// The refusal of an import that would read more.
std::string TooMuchLoaded();

// Text of a file quoted in a message, cut short where a hostile file makes
// it long (a data URI of megabytes).
std::string Capped(const std::string& text);

// The file a model file names beside itself: only a plain name of a file in
// the model's own folder counts, with no folder part, no "..", and no link
// that leads out of the folder. Nothing for any other name.
std::optional<std::filesystem::path> FileBesideModel(const std::filesystem::path& folder, const std::string& utf8Name);

// The files one export has written so far. Unless the export keeps them,
// they go again when it ends, and are forgotten as written pictures: an
// export that failed leaves no part of itself that looks whole.
struct WrittenPictures;
class WrittenFiles {
public:
    explicit WrittenFiles(WrittenPictures* pictures) : pictures_(pictures) {}
    ~WrittenFiles();
    WrittenFiles(const WrittenFiles&) = delete;
    WrittenFiles& operator=(const WrittenFiles&) = delete;
    void Add(const std::filesystem::path& path) { paths_.push_back(path); }
    void Keep() { paths_.clear(); }

private:
    WrittenPictures* pictures_;
    std::vector<std::filesystem::path> paths_;
};

// Whether a point read from a file lies anywhere at all.
bool IsFinitePoint(double x, double y, double z, double u, double v);

// The file's bytes, or why not in words that name the file.
fw::Expected<std::vector<uint8_t>> LoadModelFile(const std::filesystem::path& path);
// A picture's file beside a model: no bytes when it is not there (the model
// alone was copied), the refusal when it is there but cannot be read.
fw::Expected<std::vector<uint8_t>> LoadPictureBeside(const std::filesystem::path& path);

// The file name as messages show it.
std::string Shown(const std::filesystem::path& path);
