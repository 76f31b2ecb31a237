#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "exchange/formats/exchangemesh.h"
#include "exchange/model/keeporder.h"
#include "framework/expected.h"

// How a mesh read from any format becomes a model's points and faces.

// The mapping coordinates of a point its file gives none.
inline constexpr double kNoMapping = 9999.0;
// The group of a face its file puts in no group; such a face gets bitmap 0.
inline constexpr uint32_t kNoGroup = UINT32_MAX;

// The start of every refusal of an import: the file, what is wrong and what
// the user can do (in `problem`), and that nothing changed.
std::string ImportSentence(const std::filesystem::path& path, const std::string& problem);

// What the model record offers: its bytes, and the counts it holds now.
struct ModelRoom {
    uint64_t recordBytes = 0;
    uint32_t vertexCount = 0;
    uint32_t faceCount = 0;
    // The model's points and faces as they are, so that those the file
    // keeps keep their places.
    std::vector<ExchangePoint> oldPoints;
    std::vector<FaceCorners> oldFaces;
};

// What the record writer takes: the points, the faces with their bitmap
// index in `material` (the carried bytes are the writer's), and a note for
// the closing message.
struct ImportedTables {
    std::vector<ExchangePoint> points;
    std::vector<ExchangeFace> faces;
    std::string note;
};

// Corners with the same position and mapping coordinates become one point;
// faces keep their corners in order, unused points are kept.
ImportedMesh WeldCorners(const ImportedMesh& mesh);

// The bank bitmap a texture file, image or material name names: the file
// name "O1F2A.bmp" or "O1F2A.png" in any folder, or the bare "O1F2A".
std::optional<uint32_t> BitmapNamed(const std::string& name, const TextureNames& bank);

// The bank bitmap of each group: the one whose file name the group's
// texture map names, else n for a material named "MAT<n>", else the group's
// position. `guessed` tells whether the position decided for a group that
// has faces.
std::vector<uint32_t> GroupBitmaps(const ImportedMesh& mesh, const TextureNames& bank, bool& guessed);

// A file's mesh as it goes into the model: corners welded (but for a model
// with twin points of its own, while the file fits as it stands, so that a
// file our export wrote comes back as it was), the model's points and faces
// back in their old places; refused when it has no vertices or faces, more
// than the model takes, a point the model cannot store, or more bytes than
// the record has.
fw::Expected<ImportedTables> ApplyImportRules(const ImportedMesh& read, const std::filesystem::path& path,
                                              const TextureNames& bank, const ModelRoom& room);
