#include "app/previewcontent.h"

#include <QLocale>
#include <limits>

#include "browser/pallixview.h"
#include "exchange/formats/exchangemesh.h"
#include "exchange/model/modelarrays.h"
#include "exchange/model/modelconversion.h"

namespace {

// Decoded pictures kept for stepping back and forth, in bytes.
constexpr qsizetype kDecodedBudget = 64 << 20;
constexpr uint32_t kBitCountField = 28;  // of the BMP file's info header

QString Label(const fw::TreeItem* item) { return QString::fromLatin1(item->text); }

QString Count(qint64 count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(QLocale().toString(count), QString::fromLatin1(count == 1 ? one : many));
}

PreviewContent Damaged(const fw::TreeItem* item, const QString& reason) {
    return {PreviewContent::Kind::text, Label(item), reason, {}, {}, {}};
}

// The bits per pixel the BMP file's header gives, or 0 when it is too short.
int BitCount(std::span<const uint8_t> file) {
    if (file.size() < kBitCountField + 2) return 0;
    return file[kBitCountField] | file[kBitCountField + 1] << 8;
}

// The bytes a record names, when the image holds all of them.
std::optional<std::span<const uint8_t>> RecordBytes(std::span<const uint8_t> image, uint32_t offset, uint32_t size) {
    if (offset > image.size() || size > image.size() - offset) return std::nullopt;
    return image.subspan(offset, size);
}

// The leaves below a model or bitmap show their parent.
fw::TreeItem* RecordOwner(fw::TreeItem* item) {
    fw::TreeItem* parent = item->parent;
    return parent && parent->data && parent->data == item->data ? parent : item;
}

}  // namespace

PreviewSource::PreviewSource(CPallixView& view) : view_(view), decoded_(kDecodedBudget) {}

PreviewContent PreviewSource::Describe(fw::TreeItem* item) {
    if (!item) return {};
    item = RecordOwner(item);
    const ItemRecord* record = CPallixView::RecordOf(item);
    if (!record) return DescribeFile();
    switch (record->nKind) {
        case ITEM_BITMAP: return DescribeBitmap(item);
        case ITEM_MODEL: return DescribeModel(item);
        case ITEM_BANK: return DescribeBank(item);
        default: return Damaged(item, QStringLiteral("This item has a record of unknown kind."));
    }
}

QImage PreviewSource::Decode(uint32_t offset, uint32_t size) {
    if (const QImage* known = decoded_.object(offset)) return *known;
    const auto bytes = RecordBytes(view_.GetDocument().Image(), offset, size);
    if (!bytes || bytes->size() > size_t(std::numeric_limits<int>::max())) return {};
    QImage picture = QImage::fromData(bytes->data(), static_cast<int>(bytes->size()), "BMP");
    if (!picture.isNull()) decoded_.insert(offset, new QImage(picture), picture.sizeInBytes());
    return picture;
}

PreviewContent PreviewSource::DescribeBitmap(fw::TreeItem* item) {
    const ItemRecord& record = *CPallixView::RecordOf(item);
    const auto bytes = RecordBytes(view_.GetDocument().Image(), record.nOffset, record.nSize);
    if (!bytes) return Damaged(item, QStringLiteral("This bitmap's bytes lie outside the data file."));
    PreviewContent content{PreviewContent::Kind::bitmap, Label(item), {}, Decode(record.nOffset, record.nSize), {}, {}};
    if (content.picture.isNull())
        return Damaged(item, QStringLiteral("This bitmap is damaged: its bytes are no BMP picture."));
    content.details = QStringLiteral("%1 x %2 pixels, %3 bits per pixel, %4")
                          .arg(content.picture.width())
                          .arg(content.picture.height())
                          .arg(BitCount(*bytes))
                          .arg(Count(record.nSize, "byte", "bytes"));
    if (record.nCopyOf != 0) content.details += QStringLiteral("\nA copy of %1").arg(LabelOfBitmapAt(record.nCopyOf));
    return content;
}

QString PreviewSource::LabelOfBitmapAt(uint32_t offset) const {
    QString label = QStringLiteral("the bitmap at offset %1").arg(offset);
    bool found = false;
    view_.GetTreeCtrl().ForEachItem([&](fw::TreeItem* item) {
        const ItemRecord* record = CPallixView::RecordOf(item);
        if (found || !record || record->nKind != ITEM_BITMAP || record->nOffset != offset || record->nCopyOf) return;
        label = QStringLiteral("%1 in %2").arg(Label(item), Label(item->parent).section(':', 0, 0));
        found = true;
    });
    return label;
}

PreviewContent PreviewSource::DescribeModel(fw::TreeItem* item) {
    const ItemRecord& record = *CPallixView::RecordOf(item);
    const auto image = view_.GetDocument().Image();
    const auto arrays = LocateModelArrays(image.subspan(std::min<size_t>(record.nOffset, image.size())));
    if (!arrays)
        return Damaged(item, QStringLiteral("This model is damaged: its vertex or triangle arrays do not fit."));
    PreviewContent content{PreviewContent::Kind::model, Label(item), {}, {}, {}, {}};
    const std::vector<fw::TreeItem*> bitmaps = BankBitmaps(item);
    for (uint32_t triangle = 0; triangle < arrays->triangleCount; ++triangle) {
        const ExchangeFace face = FaceFromTriangle(*arrays, triangle, bitmaps.size());
        const std::array<uint32_t, 3> corners{face.a, face.b, face.c};
        if (face.a >= arrays->vertexCount || face.b >= arrays->vertexCount || face.c >= arrays->vertexCount) continue;
        vistel::MeshFace shown;
        for (size_t i = 0; i < corners.size(); ++i) {
            const ExchangePoint point = PointFromVertex(*arrays, corners[i]);
            shown.corners[i] = {point.x, point.y, point.z};
            shown.mapping[i] = {point.u, point.v};
        }
        shown.texture = bitmaps.empty() ? vistel::kNoTexture : static_cast<int>(face.material);
        content.mesh.faces.push_back(shown);
    }
    content.textures = Textures(bitmaps, content.mesh);
    content.details = QStringLiteral("%1, %2, %3 from the bank")
                          .arg(Count(arrays->vertexCount, "vertex", "vertices"),
                               Count(arrays->triangleCount, "triangle", "triangles"),
                               Count(static_cast<qint64>(bitmaps.size()), "texture", "textures"));
    return content;
}

// A model's textures are the bitmaps that follow it in its bank, as its
// export names them.
std::vector<fw::TreeItem*> PreviewSource::BankBitmaps(fw::TreeItem* model) const {
    const fw::TreeControl& tree = view_.GetTreeCtrl();
    fw::TreeItem* item = model;
    while (item && CPallixView::RecordOf(item)->nKind != ITEM_BITMAP) item = tree.GetNextSiblingItem(item);
    std::vector<fw::TreeItem*> bitmaps;
    for (; item && CPallixView::RecordOf(item)->nKind == ITEM_BITMAP && bitmaps.size() < kMaxTextureNames;
         item = tree.GetNextSiblingItem(item))
        bitmaps.push_back(item);
    return bitmaps;
}

// Only the bitmaps some face shows are decoded; the others stay null.
std::vector<QImage> PreviewSource::Textures(const std::vector<fw::TreeItem*>& bitmaps, const vistel::Mesh& mesh) {
    std::vector<QImage> textures(bitmaps.size());
    for (const vistel::MeshFace& face : mesh.faces) {
        if (face.texture < 0 || !textures[static_cast<size_t>(face.texture)].isNull()) continue;
        const ItemRecord& record = *CPallixView::RecordOf(bitmaps[static_cast<size_t>(face.texture)]);
        textures[static_cast<size_t>(face.texture)] = Decode(record.nOffset, record.nSize);
    }
    return textures;
}

PreviewContent PreviewSource::DescribeBank(fw::TreeItem* item) const {
    qint64 models = 0, bitmaps = 0, copies = 0;
    for (const auto& child : item->children) {
        const ItemRecord* record = CPallixView::RecordOf(child.get());
        if (!record) continue;
        models += record->nKind == ITEM_MODEL;
        bitmaps += record->nKind == ITEM_BITMAP;
        copies += record->nKind == ITEM_BITMAP && record->nCopyOf != 0;
    }
    return {PreviewContent::Kind::text,
            Label(item),
            QStringLiteral("%1\n%2, %3 of them copies of earlier ones")
                .arg(Count(models, "model", "models"), Count(bitmaps, "bitmap", "bitmaps"), QLocale().toString(copies)),
            {},
            {},
            {}};
}

PreviewContent PreviewSource::DescribeFile() const {
    fw::TreeItem* root = view_.GetTreeCtrl().GetRootItem();
    if (!root) return {};
    const size_t banks = root->children.size();
    qint64 models = 0, bitmaps = 0;
    for (const auto& bank : root->children) {
        for (const auto& child : bank->children) {
            const ItemRecord* record = CPallixView::RecordOf(child.get());
            models += record && record->nKind == ITEM_MODEL;
            bitmaps += record && record->nKind == ITEM_BITMAP;
        }
    }
    if (banks == 0) return Damaged(root, QStringLiteral("No model banks found."));
    const QString details = QStringLiteral("%1\n%2\n%3")
                                .arg(Count(qint64(banks), "model bank", "model banks"),
                                     Count(models, "model", "models"), Count(bitmaps, "bitmap", "bitmaps"));
    return {PreviewContent::Kind::text, Label(root), details, {}, {}, {}};
}
