// Import of a model from its 3DS file, in place: the record keeps its size,
// its counts and arrays follow the mesh.
#include <cstring>

#include "exchangecommands.h"
#include "layouts.h"
#include "littleendian.h"
#include "meshdatabase.h"
#include "modelconversion.h"
#include "modeljob.h"
#include "pathtext.h"
#include "toolkit3ds.h"
#include "toolkitjob.h"

using namespace pallix;

namespace {

constexpr const char* kImportCaption = "Import Model";
constexpr const char* kAnnounceCaption = "Opening file Bitmap file";
constexpr const char* kNotOneMesh = "Cannon import multiple meshes from a single object file";

// Points start at the origin with mapping coordinates that say "none"; every
// face carries the bytes of its own triangle, or of the last one for faces
// the model does not have yet.
void PrepareTables(const ModelArrays& model, std::vector<ExchangePoint>& points, std::vector<ExchangeFace>& faces) {
    points.assign(kMaxExchangeEntries, ExchangePoint{0, 0, 0, 9999.0, 9999.0});
    faces.assign(kMaxExchangeEntries, ExchangeFace{9999, 9999, 9999, {}, 0});
    for (uint32_t k = 0; k < kMaxExchangeEntries; ++k) {
        const uint32_t own = std::min<uint32_t>(k, model.triangleCount - 1u);
        for (uint32_t i = 0; i < 4; ++i) faces[k].carried[i] = model.TriangleByte(own, ModelTriangle::kCarriedBytes + i);
    }
}

std::string RoomRefusal(uint64_t needed, uint32_t recordSize) {
    return "The mesh needs " + std::to_string(needed) + " bytes in the model, which has only " +
           std::to_string(recordSize) + "; the model is left as it was.";
}

void WriteVertex(std::span<uint8_t> record, uint64_t at, const ExchangePoint& point) {
    const VertexFields fields = VertexFieldsOfPoint(point);
    WriteLE<int32_t>(record, at + ModelVertex::kX, fields.x);
    WriteLE<int32_t>(record, at + ModelVertex::kY, fields.y);
    WriteLE<int32_t>(record, at + ModelVertex::kZ, fields.z);
    WriteLE<int32_t>(record, at + ModelVertex::kU, fields.u);
    WriteLE<int32_t>(record, at + ModelVertex::kV, fields.v);
}

void WriteTriangle(std::span<uint8_t> record, uint64_t at, const ExchangeFace& face) {
    const auto corners = TriangleCornersOfFace(face);
    WriteLE<uint16_t>(record, at + ModelTriangle::kIndex0, uint16_t(corners[0]));
    WriteLE<uint16_t>(record, at + ModelTriangle::kIndex1, uint16_t(corners[1]));
    WriteLE<uint16_t>(record, at + ModelTriangle::kIndex2, uint16_t(corners[2]));
    WriteLE<uint16_t>(record, at + ModelTriangle::kBitmapIndex, uint16_t(face.material));
    std::memcpy(record.data() + at + ModelTriangle::kCarriedBytes, face.carried.data(), 4);
}

// Writes counts, vertices and triangles; the bytes nobody names come from
// the record's last vertex and last triangle as they were before.
void WriteTables(std::span<uint8_t> record, const ModelArrays& old, const FetchedMesh& mesh,
                 const std::vector<ExchangePoint>& points, const std::vector<ExchangeFace>& faces) {
    std::vector<uint8_t> lastVertex(old.vertices.end() - ModelVertex::kSize, old.vertices.end());
    std::vector<uint8_t> lastTriangle(old.triangles.end() - ModelTriangle::kSize, old.triangles.end());
    WriteLE<uint16_t>(record, ModelRecord::kVertexCount, mesh.vertexCount);
    WriteLE<uint16_t>(record, ModelRecord::kTriangleCount, mesh.faceCount);
    uint64_t at = ModelRecord::kVertices;
    for (uint32_t k = 0; k < mesh.vertexCount; ++k, at += ModelVertex::kSize) {
        std::memcpy(record.data() + at, lastVertex.data(), ModelVertex::kSize);
        WriteVertex(record, at, points[k]);
    }
    for (uint32_t k = 0; k < mesh.faceCount; ++k, at += ModelTriangle::kSize) {
        std::memcpy(record.data() + at, lastTriangle.data(), ModelTriangle::kSize);
        WriteTriangle(record, at, faces[k]);
    }
}

// The file's one mesh in the tables; nothing, with the refusal or the
// failure to show, when the file was refused or the job failed.
std::optional<FetchedMesh> ReadModel3dsFile(const std::filesystem::path& path, std::vector<ExchangePoint>& points,
                                            std::vector<ExchangeFace>& faces, fw::CommandResult& outcome) {
    ToolkitJob job(kImportCaption);
    File3ds* file = nullptr;
    std::optional<FetchedMesh> mesh;
    job.Then([&] { file = OpenFile3ds(fw::Utf8FromPath(path).c_str(), "r"); })
        .Then([&] { NewDatabase3ds(&job.database()); })
        .Then([&] { ReadDatabase3ds(file, job.database()); })
        .Then([&] {
            SceneSettings3ds* settings = nullptr;
            FetchSceneSettings3ds(job.database(), &settings);
            DiscardSceneSettings3ds(&settings);
        })
        .Then([&] {
            if (CountMeshes3ds(job.database()) == 1) mesh = FetchMeshIntoTables(job.database(), points, faces);
            else outcome = fw::CommandResult::Refused(kNotOneMesh, kImportCaption);
        })
        .Then([&] { ReleaseDatabase3ds(&job.database()); })
        .Then([&] { CloseAllFiles3ds(); });
    if (job.Failed()) {
        outcome = job.Result();
        return std::nullopt;
    }
    if (mesh && !mesh->refusal.empty()) {
        outcome = fw::CommandResult::Refused(mesh->refusal, kImportCaption);
        return std::nullopt;
    }
    return mesh;
}

}  // namespace

fw::CommandResult ImportModel(const CommandContext& context) {
    fw::CommandResult refusal;
    const auto target = PrepareModelJob(context, "Cannot find sibling item (b).", kAnnounceCaption, refusal);
    if (!target) return refusal;
    auto result = ImportModelFromFile(target->path, ModelBytes(context.document, target->record),
                                      target->record.nSize, target->textures);
    // A failed job changes nothing, not even the flag.
    if (!result.Failed()) context.document.SetModifiedFlag(true);
    return result;
}

fw::CommandResult ImportModelFromFile(const std::filesystem::path& path, std::span<uint8_t> model,
                                      uint32_t recordSize, const TextureNames&) {
    const auto old = LocateModelArrays(model);
    if (!old) return fw::CommandResult::Refused(kInvalidModel, kInvalidModelCaption);
    std::vector<ExchangePoint> points;
    std::vector<ExchangeFace> faces;
    PrepareTables(*old, points, faces);
    fw::CommandResult outcome;
    const auto mesh = ReadModel3dsFile(path, points, faces, outcome);
    if (!mesh) return outcome;
    const uint64_t needed = ModelRecord::kVertices + uint64_t(mesh->vertexCount) * ModelVertex::kSize +
                            uint64_t(mesh->faceCount) * ModelTriangle::kSize;
    if (needed > recordSize || !FitsIn(model, 0, needed))
        return fw::CommandResult::Refused(RoomRefusal(needed, recordSize), kImportCaption);
    WriteTables(model, *old, *mesh, points, faces);
    return fw::CommandResult::Done();
}
