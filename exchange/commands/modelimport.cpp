// Import of a model from a mesh file, in place: the record keeps its size,
// its counts and arrays follow the mesh.
#include <algorithm>
#include <array>
#include <cstring>

#include "exchange/commands/modelimport.h"

#include "datafile/layouts.h"
#include "exchange/bitmap/modelpictures.h"
#include "exchange/commands/commandstatus.h"
#include "exchange/commands/modeljob.h"
#include "exchange/model/importrules.h"
#include "exchange/model/modelconversion.h"
#include "framework/littleendian.h"

using namespace pallix;

namespace {

constexpr const char* kImportCaption = "Import Model";

void WriteVertex(std::span<uint8_t> record, uint64_t at, const ExchangePoint& point) {
    const VertexFields fields = VertexFieldsOfPoint(point);
    WriteLE<int32_t>(record, at + ModelVertex::kX, fields.x);
    WriteLE<int32_t>(record, at + ModelVertex::kY, fields.y);
    WriteLE<int32_t>(record, at + ModelVertex::kZ, fields.z);
    WriteLE<int32_t>(record, at + ModelVertex::kU, fields.u);
    WriteLE<int32_t>(record, at + ModelVertex::kV, fields.v);
}

void WriteTriangle(std::span<uint8_t> record, uint64_t at, const ExchangeFace& face,
                   const std::array<uint8_t, 4>& carried) {
    const auto corners = TriangleCornersOfFace(face);
    WriteLE<uint16_t>(record, at + ModelTriangle::kIndex0, uint16_t(corners[0]));
    WriteLE<uint16_t>(record, at + ModelTriangle::kIndex1, uint16_t(corners[1]));
    WriteLE<uint16_t>(record, at + ModelTriangle::kIndex2, uint16_t(corners[2]));
    WriteLE<uint16_t>(record, at + ModelTriangle::kBitmapIndex, uint16_t(face.material));
    std::memcpy(record.data() + at + ModelTriangle::kCarriedBytes, carried.data(), carried.size());
}

// Every triangle carries the bytes of its own old triangle, or of the last
// one for triangles the model did not have.
std::vector<std::array<uint8_t, 4>> CarriedBytes(const ModelArrays& old, size_t faceCount) {
    std::vector<std::array<uint8_t, 4>> carried(faceCount);
    for (uint32_t k = 0; k < faceCount; ++k) {
        const uint32_t own = std::min<uint32_t>(k, old.triangleCount - 1u);
        for (uint32_t i = 0; i < 4; ++i) carried[k][i] = old.TriangleByte(own, ModelTriangle::kCarriedBytes + i);
    }
    return carried;
}

std::vector<ExchangePoint> PointsOf(const ModelArrays& model) {
    std::vector<ExchangePoint> points;
    for (uint32_t k = 0; k < model.vertexCount; ++k) points.push_back(PointFromVertex(model, k));
    return points;
}

std::vector<FaceCorners> FacesOf(const ModelArrays& model) {
    std::vector<FaceCorners> faces;
    for (uint32_t k = 0; k < model.triangleCount; ++k) {
        const ExchangeFace face = FaceFromTriangle(model, k, 0);
        const auto corner = [&](uint32_t vertex) {
            return vertex < model.vertexCount ? PointFromVertex(model, vertex) : ExchangePoint{};
        };
        faces.push_back({corner(face.a), corner(face.b), corner(face.c)});
    }
    return faces;
}

// Writes counts, vertices and triangles; the bytes nobody names come from
// the record's last vertex and last triangle as they were before.
void WriteTables(std::span<uint8_t> record, const ModelArrays& old, const ImportedTables& tables) {
    const std::vector<uint8_t> lastVertex(old.vertices.end() - ModelVertex::kSize, old.vertices.end());
    const std::vector<uint8_t> lastTriangle(old.triangles.end() - ModelTriangle::kSize, old.triangles.end());
    const auto carried = CarriedBytes(old, tables.faces.size());
    WriteLE<uint16_t>(record, ModelRecord::kVertexCount, uint16_t(tables.points.size()));
    WriteLE<uint16_t>(record, ModelRecord::kTriangleCount, uint16_t(tables.faces.size()));
    uint64_t at = ModelRecord::kVertices;
    for (const ExchangePoint& point : tables.points) {
        std::memcpy(record.data() + at, lastVertex.data(), ModelVertex::kSize);
        WriteVertex(record, at, point);
        at += ModelVertex::kSize;
    }
    for (size_t k = 0; k < tables.faces.size(); ++k, at += ModelTriangle::kSize) {
        std::memcpy(record.data() + at, lastTriangle.data(), ModelTriangle::kSize);
        WriteTriangle(record, at, tables.faces[k], carried[k]);
    }
}

fw::CommandResult WriteImportIntoRecord(const fw::Expected<ImportedMesh>& file, const std::filesystem::path& path,
                                        std::span<uint8_t> model, uint32_t recordSize, const TextureNames& textures) {
    const auto old = LocateModelArrays(model);
    if (!old) return fw::CommandResult::Refused(kInvalidModel, kInvalidModelCaption);
    const ModelRoom room{std::min<uint64_t>(recordSize, model.size()), old->vertexCount, old->triangleCount,
                         PointsOf(*old), FacesOf(*old)};
    // A file the reader or the rules refuse is a failed import: nothing
    // changed, and a batch stops there.
    if (!file) return fw::CommandResult::Failed(file.why(), kImportCaption);
    const auto tables = ApplyImportRules(*file, path, textures, room);
    if (!tables) return fw::CommandResult::Failed(tables.why(), kImportCaption);
    WriteTables(model, *old, *tables);
    return fw::CommandResult::Done(tables->note, kImportCaption);
}

std::string PictureRefusal(const std::filesystem::path& path, const std::string& why) {
    return "Cannot import \"" + fw::Utf8FromPath(path.filename()) + "\" with its pictures: " + why +
           " The model and its bitmaps are left as they were.";
}

}  // namespace

fw::CommandResult ImportModel(const CommandContext& context) { return ImportModelFrom(context, Model3dsFormat()); }

fw::CommandResult ImportModelFrom(const CommandContext& context, const ModelFormat& format) {
    const auto target = PrepareModelJob(context, "Cannot find sibling item (b).", format.importCaption, FileUse::read,
                                        format.extension);
    if (!target) return TargetRefused(target.refusal());
    const auto file = format.read(target->path);
    // Every picture is weighed before anything changes: one that cannot be
    // taken leaves the model as it was too.
    const auto pictures = file ? TakePictures(file->pictures, target->textures, target->bitmaps, context.repeats,
                                              context.document.Image())
                               : std::vector<TakenPicture>();
    if (!pictures) return fw::CommandResult::Failed(PictureRefusal(target->path, pictures.why()), kImportCaption);
    const auto model = ModelBytes(context.document, target->record);
    const std::vector<uint8_t> before(model.begin(), model.end());
    auto result = WriteImportIntoRecord(file, target->path, model, target->record.nSize, target->textures);
    if (result.outcome != fw::CommandResult::Outcome::done) return result;
    if (auto written = WriteTakenPictures(context.document, *pictures); !written)
        return fw::CommandResult::Failed(written.why(), kImportCaption);
    // Only a model or a bitmap that changed makes the document modified
    // (the pictures taken are only those that change a bitmap).
    if (format.modifiesWhenUnchanged || !pictures->empty() ||
        !std::equal(model.begin(), model.end(), before.begin(), before.end()))
        context.document.SetModifiedFlag(true);
    TellImported(context.ui, target->path, DescribeTakenPictures(*pictures));
    return result;
}

fw::CommandResult ImportModelFromFile(const ModelFormat& format, const std::filesystem::path& path,
                                      std::span<uint8_t> model, uint32_t recordSize, const TextureNames& textures) {
    return WriteImportIntoRecord(format.read(path), path, model, recordSize, textures);
}
