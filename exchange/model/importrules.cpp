#include "exchange/model/importrules.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <tuple>

#include "datafile/layouts.h"
#include "exchange/formats/bitmapformats.h"
#include "exchange/model/modelconversion.h"
#include "framework/asciicase.h"
#include "framework/pathtext.h"

using namespace pallix;

namespace {

uint64_t BytesNeeded(size_t points, size_t faces) {
    return ModelRecord::kVertices + uint64_t(points) * ModelVertex::kSize + uint64_t(faces) * ModelTriangle::kSize;
}

bool Fits(const ImportedMesh& mesh, const ModelRoom& room) {
    return mesh.points.size() <= ModelRecord::kMaxCount && mesh.faces.size() <= ModelRecord::kMaxCount &&
           BytesNeeded(mesh.points.size(), mesh.faces.size()) <= room.recordBytes;
}

// The last path component, whichever slash the writer used.
std::string LastComponent(const std::string& name) {
    const size_t slash = name.find_last_of("/\\");
    return fw::AsciiLowered(slash == std::string::npos ? name : name.substr(slash + 1));
}

std::string Stem(const std::string& name) { return name.substr(0, name.rfind('.')); }

// Formats other than 3DS carry the bitmap as PNG or under its BMP name; an
// embedded picture, and a material our export named, by its bare name.
bool NamesBitmap(const std::string& textureFile, const std::string& bitmapFile) {
    const std::string texture = LastComponent(textureFile), bitmap = fw::AsciiLowered(bitmapFile);
    if (texture == bitmap || texture == Stem(bitmap)) return true;
    const bool picture = BitmapFormatOfFile(fw::PathFromUtf8(texture)) != nullptr;
    return picture && Stem(texture) == Stem(bitmap);
}

// "MAT<n>" with n written without leading zeros, below the bank's count.
std::optional<uint32_t> BitmapNumbered(const std::string& material, size_t bankCount) {
    if (material.size() < 4 || material.size() > 7 || !material.starts_with("MAT")) return std::nullopt;
    const std::string digits = material.substr(3);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
    if (digits.size() > 1 && digits[0] == '0') return std::nullopt;
    const uint32_t n = uint32_t(std::stoul(digits));
    return n < bankCount ? std::optional<uint32_t>(n) : std::nullopt;
}

std::string Counted(size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string RoomRefusal(const std::filesystem::path& path, const ImportedMesh& mesh, const ModelRoom& room) {
    return ImportSentence(
        path, "after merging shared corners its mesh has " + Counted(mesh.points.size(), "vertex", "vertices") +
                  " and " + Counted(mesh.faces.size(), "face", "faces") + ", but the model has room for " +
                  Counted(room.vertexCount, "vertex", "vertices") + " and " + Counted(room.faceCount, "face", "faces") +
                  " (or any mix within its " + std::to_string(room.recordBytes) +
                  " bytes: " + std::to_string(ModelRecord::kVertices) + " for the header, " +
                  std::to_string(ModelVertex::kSize) + " a vertex, " + std::to_string(ModelTriangle::kSize) +
                  " a face, at most 1000 of each). Simplify the mesh in your 3-D program and import it again");
}

std::string MeshRefusal(const std::filesystem::path& path, const ImportedMesh& mesh, const ModelRoom& room) {
    if (mesh.points.empty() || mesh.faces.empty())
        return ImportSentence(path,
                              "its mesh has no vertices or no faces, and the model needs both. Save the whole "
                              "mesh from your 3-D program");
    if (!std::all_of(mesh.points.begin(), mesh.points.end(), PointFitsModel))
        return ImportSentence(path,
                              "a point of its mesh is not a number or lies too far out for the model's "
                              "coordinates. Check the object's position and scale in your 3-D program");
    if (!Fits(mesh, room)) return RoomRefusal(path, mesh, room);
    return {};
}

ImportedTables Tables(const ImportedMesh& mesh, const TextureNames& bank) {
    ImportedTables tables;
    bool guessed = false;
    const std::vector<uint32_t> bitmaps = GroupBitmaps(mesh, bank, guessed);
    for (const ExchangePoint& p : mesh.points) tables.points.push_back(p);
    for (const ImportedFace& f : mesh.faces)
        tables.faces.push_back(ExchangeFace{f.a, f.b, f.c, {}, f.group < bitmaps.size() ? bitmaps[f.group] : 0});
    if (guessed)
        tables.note =
            "The textures of some faces were taken by the order of the file's materials, because their "
            "materials name no bitmap of the bank: check the textures of the model.";
    return tables;
}

}  // namespace

std::optional<uint32_t> BitmapNamed(const std::string& name, const TextureNames& bank) {
    if (name.empty()) return std::nullopt;
    for (uint32_t i = 0; i < bank.size(); ++i) {
        if (NamesBitmap(name, bank[i])) return i;
    }
    return std::nullopt;
}

std::string ImportSentence(const std::filesystem::path& path, const std::string& problem) {
    return "Cannot import \"" + fw::Utf8FromPath(path.filename()) + "\": " + problem + ". The model is left as it was.";
}

ImportedMesh WeldCorners(const ImportedMesh& mesh) {
    ImportedMesh welded;
    welded.groups = mesh.groups;
    std::map<std::tuple<double, double, double, double, double>, uint32_t> seen;
    std::vector<uint32_t> target(mesh.points.size());
    for (size_t k = 0; k < mesh.points.size(); ++k) {
        const ExchangePoint& p = mesh.points[k];
        const auto [at, added] = seen.try_emplace(std::tuple(p.x, p.y, p.z, p.u, p.v), uint32_t(welded.points.size()));
        if (added) welded.points.push_back(p);
        target[k] = at->second;
    }
    for (const ImportedFace& f : mesh.faces) welded.faces.push_back({target[f.a], target[f.b], target[f.c], f.group});
    return welded;
}

std::vector<uint32_t> GroupBitmaps(const ImportedMesh& mesh, const TextureNames& bank, bool& guessed) {
    std::vector<bool> used(mesh.groups.size(), false);
    for (const ImportedFace& f : mesh.faces) {
        if (f.group < used.size()) used[f.group] = true;
    }
    std::vector<uint32_t> bitmaps;
    guessed = false;
    for (uint32_t g = 0; g < mesh.groups.size(); ++g) {
        auto bitmap = BitmapNamed(mesh.groups[g].textureFile, bank);
        if (!bitmap) bitmap = BitmapNamed(mesh.groups[g].materialName, bank);
        if (!bitmap) bitmap = BitmapNumbered(mesh.groups[g].materialName, bank.size());
        if (!bitmap && used[g]) guessed = true;
        bitmaps.push_back(bitmap.value_or(g));
    }
    return bitmaps;
}

fw::Expected<ImportedTables> ApplyImportRules(const ImportedMesh& read, const std::filesystem::path& path,
                                              const TextureNames& bank, const ModelRoom& room) {
    // Editors split corners where materials or normals meet; a model that
    // has twin points itself keeps them while the file fits as it is.
    const bool keepTwins = HasTwinPoints(room.oldPoints) && Fits(read, room);
    const ImportedMesh mesh = keepTwins ? read : WeldCorners(read);
    if (std::string refusal = MeshRefusal(path, mesh, room); !refusal.empty()) return fw::Refuse(refusal);
    ImportedTables tables = Tables(mesh, bank);
    KeepOldPointOrder(tables.points, tables.faces, room.oldPoints);
    KeepOldFaceOrder(tables.faces, tables.points, room.oldFaces);
    return tables;
}
