// Import of a model from its 3DS file, in place: the record keeps its size,
// its counts and arrays follow the mesh.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "importrules.h"
#include "layouts.h"
#include "littleendian.h"
#include "modelarrays.h"
#include "modeljob.h"
#include "pallixview.h"
#include "read3ds.h"

using namespace pallix;

namespace {

constexpr const char* kImportCaption = "Import Model";
constexpr const char* kAnnounceCaption = "Opening file Bitmap file";

int32_t Truncate(double value) { return static_cast<int32_t>(std::trunc(value)); }

// Writes counts, vertices and triangles; the bytes nobody names come from
// the record's last vertex and last triangle as they were before, and every
// triangle carries the bytes of its own old triangle, or of the last one for
// triangles the model did not have.
void WriteTables(std::span<uint8_t> record, const ModelArrays& old, const ImportedTables& tables) {
    std::vector<uint8_t> lastVertex(old.vertices.end() - ModelVertex::kSize, old.vertices.end());
    std::vector<uint8_t> lastTriangle(old.triangles.end() - ModelTriangle::kSize, old.triangles.end());
    std::vector<std::array<uint8_t, 4>> carried(tables.faces.size());
    for (uint32_t k = 0; k < carried.size(); ++k) {
        const uint32_t own = std::min<uint32_t>(k, old.triangleCount - 1u);
        for (uint32_t i = 0; i < 4; ++i) carried[k][i] = old.TriangleByte(own, ModelTriangle::kCarriedBytes + i);
    }
    WriteLE<uint16_t>(record, ModelRecord::kVertexCount, uint16_t(tables.points.size()));
    WriteLE<uint16_t>(record, ModelRecord::kTriangleCount, uint16_t(tables.faces.size()));
    uint64_t at = ModelRecord::kVertices;
    for (const ExchangePoint& p : tables.points) {
        std::memcpy(record.data() + at, lastVertex.data(), ModelVertex::kSize);
        const int32_t v = Truncate(p.v * -65536.0);
        WriteLE<int32_t>(record, at + ModelVertex::kX, Truncate(p.x * 100));
        WriteLE<int32_t>(record, at + ModelVertex::kY, Truncate(p.z * 100));
        WriteLE<int32_t>(record, at + ModelVertex::kZ, Truncate(p.y * 100));
        WriteLE<int32_t>(record, at + ModelVertex::kU, Truncate(p.u * 65536.0));
        WriteLE<int32_t>(record, at + ModelVertex::kV, v == -1 ? 1 : v);
        at += ModelVertex::kSize;
    }
    for (size_t k = 0; k < tables.faces.size(); ++k, at += ModelTriangle::kSize) {
        const ExchangeFace& f = tables.faces[k];
        std::memcpy(record.data() + at, lastTriangle.data(), ModelTriangle::kSize);
        WriteLE<uint16_t>(record, at + ModelTriangle::kIndex0, uint16_t(f.c));
        WriteLE<uint16_t>(record, at + ModelTriangle::kIndex1, uint16_t(f.b));
        WriteLE<uint16_t>(record, at + ModelTriangle::kIndex2, uint16_t(f.a));
        WriteLE<uint16_t>(record, at + ModelTriangle::kBitmapIndex, uint16_t(f.material));
        std::memcpy(record.data() + at + ModelTriangle::kCarriedBytes, carried[k].data(), 4);
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
                                      uint32_t recordSize, const TextureNames& textures) {
    const auto old = LocateModelArrays(model);
    if (!old) {
        m_ui.Notify(kInvalidModel, kInvalidModelCaption);
        return;
    }
    const ModelRoom room{std::min<uint64_t>(recordSize, model.size()), old->vertexCount, old->triangleCount};
    const ImportedTables tables = ApplyImportRules(ReadImported3ds(path), path, textures, room);
    // A refused file changes nothing, so the job counts as failed.
    m_bJobFailed = !tables.refusal.empty();
    if (m_bJobFailed) {
        m_ui.Notify(tables.refusal, kImportCaption);
        return;
    }
    WriteTables(model, *old, tables);
    if (!tables.note.empty()) m_ui.Notify(tables.note, kImportCaption);
}
