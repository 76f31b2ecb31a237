// Import of a model from its 3DS file, in place: the record keeps its size,
// its counts and arrays follow the mesh.
#include <cmath>
#include <cstring>

#include "layouts.h"
#include "littleendian.h"
#include "meshdatabase.h"
#include "modelarrays.h"
#include "modeljob.h"
#include "pallixview.h"
#include "toolkit3ds.h"
#include "toolkitjob.h"
#include "pathtext.h"

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

int32_t Truncate(double value) { return static_cast<int32_t>(std::trunc(value)); }

std::string RoomRefusal(uint64_t needed, uint32_t recordSize) {
    return "The mesh needs " + std::to_string(needed) + " bytes in the model, which has only " +
           std::to_string(recordSize) + "; the model is left as it was.";
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
        const ExchangePoint& p = points[k];
        std::memcpy(record.data() + at, lastVertex.data(), ModelVertex::kSize);
        const int32_t v = Truncate(p.v * -65536.0);
        WriteLE<int32_t>(record, at + ModelVertex::kX, Truncate(p.x * 100));
        WriteLE<int32_t>(record, at + ModelVertex::kY, Truncate(p.z * 100));
        WriteLE<int32_t>(record, at + ModelVertex::kZ, Truncate(p.y * 100));
        WriteLE<int32_t>(record, at + ModelVertex::kU, Truncate(p.u * 65536.0));
        WriteLE<int32_t>(record, at + ModelVertex::kV, v == -1 ? 1 : v);
    }
    for (uint32_t k = 0; k < mesh.faceCount; ++k, at += ModelTriangle::kSize) {
        const ExchangeFace& f = faces[k];
        std::memcpy(record.data() + at, lastTriangle.data(), ModelTriangle::kSize);
        WriteLE<uint16_t>(record, at + ModelTriangle::kIndex0, uint16_t(f.c));
        WriteLE<uint16_t>(record, at + ModelTriangle::kIndex1, uint16_t(f.b));
        WriteLE<uint16_t>(record, at + ModelTriangle::kIndex2, uint16_t(f.a));
        WriteLE<uint16_t>(record, at + ModelTriangle::kBitmapIndex, uint16_t(f.material));
        std::memcpy(record.data() + at + ModelTriangle::kCarriedBytes, f.carried.data(), 4);
    }
}

}  // namespace

void CPallixView::OnImportModel() {
    const auto target = PrepareModelJob("Cannot find sibling item (b).", kAnnounceCaption);
    if (!target) return;
    ImportModelFromFile(target->path, ModelBytes(*target->record), target->record->nOffset, target->record->nSize,
                        target->textures);
    // A failed job changes nothing, not even the flag.
    if (!m_bJobFailed) m_document.SetModifiedFlag(true);
}

void CPallixView::ImportModelFromFile(const std::filesystem::path& path, std::span<uint8_t> model, uint32_t,
                                      uint32_t recordSize, const TextureNames&) {
    const auto old = LocateModelArrays(model);
    if (!old) {
        m_ui.Notify(kInvalidModel, kInvalidModelCaption);
        return;
    }
    std::vector<ExchangePoint> points;
    std::vector<ExchangeFace> faces;
    PrepareTables(*old, points, faces);
    const auto mesh = ReadModel3dsFile(path, points, faces);
    if (!mesh) return;
    const uint64_t needed = ModelRecord::kVertices + uint64_t(mesh->vertexCount) * ModelVertex::kSize +
                            uint64_t(mesh->faceCount) * ModelTriangle::kSize;
    if (needed > recordSize || !FitsIn(model, 0, needed)) {
        m_ui.Notify(RoomRefusal(needed, recordSize), kImportCaption);
        return;
    }
    WriteTables(model, *old, *mesh, points, faces);
}

std::optional<FetchedMesh> CPallixView::ReadModel3dsFile(const std::filesystem::path& path,
                                                         std::vector<ExchangePoint>& points,
                                                         std::vector<ExchangeFace>& faces) {
    ToolkitJob job(m_ui, kImportCaption, m_bJobFailed);
    File3ds* file = OpenFile3ds(fw::Utf8FromPath(path).c_str(), "r");
    if (job.Failed()) return std::nullopt;
    NewDatabase3ds(&job.database());
    if (job.Failed()) return std::nullopt;
    ReadDatabase3ds(file, job.database());
    if (job.Failed()) return std::nullopt;
    SceneSettings3ds* settings = nullptr;
    FetchSceneSettings3ds(job.database(), &settings);
    DiscardSceneSettings3ds(&settings);
    if (job.Failed()) return std::nullopt;
    std::optional<FetchedMesh> mesh;
    if (CountMeshes3ds(job.database()) == 1) {
        mesh = FetchMeshIntoTables(job.database(), points, faces);
        if (job.Failed()) return std::nullopt;
    } else {
        m_ui.Notify(kNotOneMesh, kImportCaption);
    }
    ReleaseDatabase3ds(&job.database());
    if (job.Failed()) return std::nullopt;
    CloseAllFiles3ds();
    if (job.Failed()) return std::nullopt;
    if (mesh && !mesh->refusal.empty()) {
        m_ui.Notify(mesh->refusal, kImportCaption);
        return std::nullopt;
    }
    return mesh;
}
