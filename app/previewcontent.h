#pragma once
#include <QCache>
#include <QImage>
#include <QString>
#include <vector>

#include "datafile/itemrecord.h"
#include "framework/expected.h"
#include "framework/treecontrol.h"
#include "viewer/scene/mesh.h"

class CPallixView;

// What the preview pane shows for one item of the tree: a picture, a model
// with its textures, or only words (a bank's counts, or why a damaged record
// cannot be shown). The heading says what it is.
struct PreviewContent {
    enum class Kind { text, bitmap, model };
    Kind kind = Kind::text;
    QString heading;
    QString details;
    QImage picture;
    vistel::Mesh mesh;
    std::vector<QImage> textures;
};

// Builds what the pane shows of an item, reading only inside the document's
// image. Decoded bitmaps are kept by their offset, so that stepping through a
// bank decodes each of its textures once.
class PreviewSource {
public:
    explicit PreviewSource(CPallixView& view);

    PreviewContent Describe(fw::TreeItem* item);
    // The image changed (a new file, an import): every decoded bitmap goes.
    void Forget() { decoded_.clear(); }

private:
    PreviewContent DescribeBitmap(fw::TreeItem* item);
    PreviewContent DescribeModel(fw::TreeItem* item);
    PreviewContent DescribeBank(fw::TreeItem* item) const;
    PreviewContent DescribeFile() const;
    // The picture of the bitmap, or why it cannot be shown: its bytes lie
    // outside the image, or its pixels outside its record.
    fw::Expected<QImage> Decode(const ItemRecord& record);
    std::vector<ItemRecord> BankBitmaps(fw::TreeItem* model) const;
    // A texture that cannot be shown stays null, and `notes` says which and why.
    std::vector<QImage> Textures(const std::vector<ItemRecord>& bitmaps, const vistel::Mesh& mesh, QString& notes);
    QString LabelOfBitmapAt(uint32_t offset) const;

    CPallixView& view_;
    QCache<uint32_t, QImage> decoded_;
};
