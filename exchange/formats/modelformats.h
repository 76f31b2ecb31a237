#pragma once
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "exchange/formats/exchangemesh.h"
#include "framework/expected.h"

// Models in the formats today's 3-D editors read and write first, beside
// 3DS: glTF 2.0 (.gltf with its .bin, or .glb) and OBJ (.obj with its .mtl).
// Both are written Y-up, as those editors expect, and converted back into the
// exchange terms on reading. The mesh is named after the file's stem, as the
// 3DS export names its object, and its materials after the bitmaps they show.

// What a writer that wrote every file has to say of what it had to leave
// out (a bitmap that could not be decoded goes without its picture). A
// writer that could not write refuses in words that name the file.
using WriteNotes = std::vector<std::string>;

// The pictures written so far by one command: a bank's models share their
// bitmaps, and Export All need write each picture once. A bitmap's file name
// stands for its bytes while the command runs. Give none to write them all.
struct WrittenPictures {
    std::set<std::filesystem::path> paths;
    // Asked before a picture is written: false keeps the file there as it
    // is (the user's own painting), and the material still names it.
    std::function<bool(const std::filesystem::path&)> mayReplace;
    // Told of each picture written.
    std::function<void(const std::filesystem::path&)> wrote;
};

// A .gltf with "<stem>.bin" beside it, each bitmap used written beside as a
// PNG named like its BMP export ("O1F2A.bmp" -> "O1F2A.png"); or a .glb when
// binary, with the PNGs inside it as images named like the materials ("O1F2A").
fw::Expected<WriteNotes> WriteGltf(const ExportedModel& model, const std::filesystem::path& path, bool binary,
                                   WrittenPictures* written = nullptr);

// What the writer puts in the model's own file at `path`, made in memory
// and nothing written: the companions and pictures are only named.
fw::Expected<std::vector<uint8_t>> GltfBytes(const ExportedModel& model, const std::filesystem::path& path,
                                             bool binary);

// An .obj with "<stem>.mtl" beside it, whose materials name the bitmaps'
// BMP files; each bitmap used is written beside as that BMP file.
fw::Expected<WriteNotes> WriteObj(const ExportedModel& model, const std::filesystem::path& path,
                                  WrittenPictures* written = nullptr);
fw::Expected<std::vector<uint8_t>> ObjBytes(const ExportedModel& model, const std::filesystem::path& path);

// Every triangle of the file (.gltf or .glb; .obj), merged into one mesh in
// the exchange terms, or a refusal in words that names the file, says what
// is wrong and what the user can do.
fw::Expected<ImportedMesh> ReadGltf(const std::filesystem::path& path);
fw::Expected<ImportedMesh> ReadObj(const std::filesystem::path& path);
