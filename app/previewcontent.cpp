#include "app/previewcontent.h"

#include <QLocale>
#include <algorithm>

#include "browser/pallixview.h"
#include "exchange/formats/exchangemesh.h"
#include "exchange/formats/storedbitmap.h"
#include "exchange/model/modelarrays.h"
#include "exchange/model/modelconversion.h"
#include "exchange/model/modeltextures.h"

namespace {

// Decoded pictures kept for stepping back and forth, in bytes.
constexpr qsizetype kDecodedBudget = 64 << 20;

QString Label(const fw::TreeItem* item) { return QString::fromLatin1(item->text); }

QString Count(qint64 count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(QLocale().toString(count), QString::fromLatin1(count == 1 ? one : many));
}

PreviewContent Damaged(const fw::TreeItem* item, const QString& reason) {
    return {PreviewContent::Kind::text, Label(item), reason, {}, {}, {}};
}

// Our own decoder, not Qt's: Qt's reader fills a picture whose header
// promises more pixels than the record holds with whatever memory held.
QImage ImageOf(const Picture& picture) {
    const bool indexed = !picture.palette.empty();
    QImage image(int(picture.width), int(picture.height), indexed ? QImage::Format_Indexed8 : QImage::Format_RGB888);
    if (indexed) {
        QList<QRgb> colours;
        for (size_t i = 0; i + 2 < picture.palette.size(); i += 3)
            colours.push_back(qRgb(picture.palette[i], picture.palette[i + 1], picture.palette[i + 2]));
        image.setColorTable(colours);
    }
    const size_t rowBytes = size_t(picture.width) * (indexed ? 1 : 3);
    for (uint32_t y = 0; y < picture.height; ++y)
        std::copy_n(picture.pixels.data() + y * rowBytes, rowBytes, image.scanLine(int(y)));
    return image;
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

fw::Expected<QImage> PreviewSource::Decode(const ItemRecord& record) {
    if (const QImage* known = decoded_.object(record.nOffset)) return *known;
    const auto bytes = RecordBytes(view_.GetDocument().Image(), record);
    if (bytes.empty()) return fw::Refuse("This bitmap's bytes lie outside the data file.");
    const auto picture = DecodeStoredBitmap(bytes);
    if (!picture) return picture.refusal();
    QImage image = ImageOf(*picture);
    decoded_.insert(record.nOffset, new QImage(image), image.sizeInBytes());
    return image;
}

PreviewContent PreviewSource::DescribeBitmap(fw::TreeItem* item) {
    const ItemRecord& record = *CPallixView::RecordOf(item);
    const auto picture = Decode(record);
    if (!picture) return Damaged(item, QString::fromStdString(picture.why()));
    const auto layout = ReadStoredBitmapLayout(RecordBytes(view_.GetDocument().Image(), record));
    PreviewContent content{PreviewContent::Kind::bitmap, Label(item), {}, *picture, {}, {}};
    content.details = QStringLiteral("%1 x %2 pixels, %3 bits per pixel, %4")
                          .arg(content.picture.width())
                          .arg(content.picture.height())
                          .arg(layout ? int(layout->header.bits) : content.picture.depth())
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
    const std::vector<ItemRecord> bitmaps = BankBitmaps(item);
    for (uint32_t triangle = 0; triangle < arrays->triangleCount; ++triangle) {
        const ExchangeFace face = FaceFromTriangle(*arrays, triangle, bitmaps.size());
        const std::array<uint32_t, 3> corners{face.a, face.b, face.c};
        if (face.a >= arrays->vertexCount || face.b >= arrays->vertexCount || face.c >= arrays->vertexCount) continue;
        vistel::MeshFace shown;
        for (size_t i = 0; i < corners.size(); ++i) {
            const ExchangePoint point = PointFromVertex(*arrays, corners[i]);
            shown.corners[i] = {point.x, point.y, point.z};
            // The exports' v runs up the picture, the canvas's down it: the
            // same flip the glTF export makes, so both show the same way up.
            shown.mapping[i] = {point.u, 1.0 - point.v};
        }
        shown.texture = bitmaps.empty() ? vistel::kNoTexture : static_cast<int>(face.material);
        content.mesh.faces.push_back(shown);
    }
    QString notes;
    content.textures = Textures(bitmaps, content.mesh, notes);
    content.details = QStringLiteral("%1, %2, %3 from the bank")
                          .arg(Count(arrays->vertexCount, "vertex", "vertices"),
                               Count(arrays->triangleCount, "triangle", "triangles"),
                               Count(static_cast<qint64>(bitmaps.size()), "texture", "textures")) +
                      notes;
    return content;
}

// The model's textures, as its export names them.
std::vector<ItemRecord> PreviewSource::BankBitmaps(fw::TreeItem* model) const {
    const fw::TreeControl& tree = view_.GetTreeCtrl();
    std::vector<ItemRecord> following;
    for (fw::TreeItem* item = tree.GetNextSiblingItem(model); item; item = tree.GetNextSiblingItem(item))
        if (const ItemRecord* record = CPallixView::RecordOf(item)) following.push_back(*record);
    return TextureBitmapsAfter(following);
}

// Only the bitmaps some face shows are decoded; the others stay null. The
// faces of a texture that cannot be shown are painted plain, and the
// details say why, so that grey is not taken for the bitmap.
std::vector<QImage> PreviewSource::Textures(const std::vector<ItemRecord>& bitmaps, const vistel::Mesh& mesh,
                                            QString& notes) {
    std::vector<QImage> textures(bitmaps.size());
    std::vector<bool> tried(bitmaps.size(), false);
    for (const vistel::MeshFace& face : mesh.faces) {
        const auto texture = static_cast<size_t>(face.texture);
        if (face.texture < 0 || tried[texture]) continue;
        tried[texture] = true;
        const ItemRecord& record = bitmaps[texture];
        const auto picture = Decode(record);
        if (picture)
            textures[texture] = *picture;
        else
            notes += QStringLiteral("\nThe faces of %1 show plain grey. %2")
                         .arg(LabelOfBitmapAt(record.nOffset), QString::fromStdString(picture.why()));
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
