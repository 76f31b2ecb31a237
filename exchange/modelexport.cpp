// Export of models as 3DS mesh files, one model or a whole bank.
#include "exportpaths.h"
#include "meshdatabase.h"
#include "modelarrays.h"
#include "modeljob.h"
#include "pallixview.h"
#include "toolkit3ds.h"
#include "toolkitjob.h"
#include "pathtext.h"

namespace {

constexpr const char* kExportCaption = "Model (3DS) file";
constexpr const char* kExportAllCaption = "Export All";

// The model's own file stem among its bank's models: names that are alike
// once made safe never share a file.
std::string BankModelStem(const fw::TreeItem* model, const std::string& label) {
    if (!model->parent) return SafeFileStem(label);
    std::vector<std::string> names;
    size_t mine = 0;
    for (const auto& child : model->parent->children) {
        const ItemRecord* record = CPallixView::RecordOf(child.get());
        if (!record || record->nKind != ITEM_MODEL) continue;
        if (child.get() == model) mine = names.size();
        names.push_back(record->szLabel);
    }
    return names.empty() ? SafeFileStem(label) : ModelFileStems(names)[mine];
}

}  // namespace

fw::TreeItem* CPallixView::RecordOwner(fw::TreeItem* item) const {
    // The information leaves act for their parent, whose record they share.
    fw::TreeItem* parent = m_tree.GetParentItem(item);
    return parent && RecordOf(parent) == RecordOf(item) ? parent : item;
}

std::optional<ModelJobTarget> CPallixView::PrepareModelJob(const char* noSiblingMessage, const char* announceCaption) {
    m_bJobFailed = false;
    ModelJobTarget target;
    target.record = ContextRecord();
    if (!target.record) return std::nullopt;
    fw::TreeItem* item = RecordOwner(m_hContextItem);
    while (item && RecordOf(item)->nKind != ITEM_BITMAP) item = m_tree.GetNextSiblingItem(item);
    if (!item) {
        m_ui.Notify(noSiblingMessage, "Bugger");
        return std::nullopt;
    }
    for (; item && RecordOf(item)->nKind == ITEM_BITMAP && target.textures.size() < kMaxTextureNames;
         item = m_tree.GetNextSiblingItem(item))
        target.textures.push_back(BitmapFileName(RecordOf(item)->nOffset));
    const std::string stem = BankModelStem(RecordOwner(m_hContextItem), target.record->szLabel);
    target.path = ExportFolder(m_szModulePath, m_szDataPath) / fw::PathFromUtf8(stem + ".3ds");
    if (m_bAnnouncePaths) m_ui.Notify(fw::Utf8FromPath(target.path), announceCaption);
    return target;
}

std::span<uint8_t> CPallixView::ModelBytes(const ItemRecord& record) {
    auto image = m_document.Image();
    return image.subspan(std::min<size_t>(record.nOffset, image.size()));
}

void CPallixView::OnExportModel() {
    const auto target = PrepareModelJob("Cannot find sibling item (a).", kExportCaption);
    if (!target) return;
    ExportModelToFile(target->path, ModelBytes(*target->record), target->record->nOffset, target->record->nSize,
                      target->textures);
}

void CPallixView::ExportModelToFile(const std::filesystem::path& path, std::span<const uint8_t> model, uint32_t,
                                    uint32_t, const TextureNames& textures) {
    const auto arrays = LocateModelArrays(model);
    if (!arrays) {
        m_ui.Notify(kInvalidModel, kInvalidModelCaption);
        return;
    }
    std::vector<ExchangePoint> points;
    std::vector<ExchangeFace> faces;
    for (uint32_t k = 0; k < arrays->vertexCount; ++k) points.push_back(PointFromVertex(*arrays, k));
    for (uint32_t k = 0; k < arrays->triangleCount; ++k) faces.push_back(FaceFromTriangle(*arrays, k, textures.size()));
    WriteModel3dsFile(path, points, faces, textures);
}

bool CPallixView::WriteModel3dsFile(const std::filesystem::path& path, const std::vector<ExchangePoint>& points,
                                    const std::vector<ExchangeFace>& faces, const TextureNames& textures) {
    ToolkitJob job(m_ui, kExportCaption, m_bJobFailed);
    File3ds* file = OpenFile3ds(fw::Utf8FromPath(path).c_str(), "w");
    if (job.Failed()) return false;
    NewDatabase3ds(&job.database());
    if (job.Failed()) return false;
    CreateDatabase3ds(job.database(), DatabaseKind3ds::MeshFile);
    if (job.Failed()) return false;
    BuildMeshDatabase(fw::Utf8FromPath(path.stem()), job.database(), points, faces, textures);
    if (job.Failed()) return false;
    WriteDatabase3ds(file, job.database());
    if (job.Failed()) return false;
    CloseAllFiles3ds();
    if (job.Failed()) return false;
    ReleaseDatabase3ds(&job.database());
    if (job.Failed()) return false;
    return true;
}

void CPallixView::OnExportAll() {
    m_bJobFailed = false;
    if (!ContextRecord()) return;
    m_bAnnouncePaths = false;
    fw::WaitCursor wait(m_ui);
    m_hContextItem = m_tree.GetChildItem(m_hContextItem);
    const char* closing = nullptr;
    for (; m_hContextItem && RecordOf(m_hContextItem)->nKind == ITEM_MODEL; m_hContextItem = m_tree.GetNextSiblingItem(m_hContextItem)) {
        OnExportModel();
        if (m_bJobFailed) break;
        if (!m_tree.GetNextSiblingItem(m_hContextItem)) closing = "Object Exported. No Bitmaps Found";
    }
    for (; !m_bJobFailed && m_hContextItem && RecordOf(m_hContextItem)->nKind == ITEM_BITMAP;
         m_hContextItem = m_tree.GetNextSiblingItem(m_hContextItem)) {
        OnExportBitmap();
        if (!m_tree.GetNextSiblingItem(m_hContextItem)) closing = "Object Exported";
    }
    if (closing && !m_bJobFailed) m_ui.Notify(closing, kExportAllCaption);
    m_bAnnouncePaths = true;
}
