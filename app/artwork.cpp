#include "artwork.h"

#include <QBitmap>

namespace {

constexpr int kToolbarButtonWidth = 16;
constexpr int kToolbarButtonHeight = 15;

}  // namespace

QPixmap LoadArtwork(const QString& resourcePath) {
    QPixmap picture(resourcePath);
    if (!picture.isNull()) picture.setMask(picture.createMaskFromColor(Qt::white));
    return picture;
}

QIcon ToolbarIcon(int position) {
    static const QPixmap strip = LoadArtwork(QStringLiteral(":/toolbar.xpm"));
    return QIcon(strip.copy(position * kToolbarButtonWidth, 0, kToolbarButtonWidth, kToolbarButtonHeight));
}

QIcon TreeIcons::Icon(int image) const {
    const fw::ImageList* list = source_();
    if (!list || image < 0 || static_cast<size_t>(image) >= list->size()) return {};
    const std::string& name = list->Resource(static_cast<size_t>(image));
    auto found = loaded_.find(name);
    if (found == loaded_.end())
        found = loaded_.emplace(name, QIcon(LoadArtwork(":/icons/" + QString::fromStdString(name) + ".xpm"))).first;
    return found->second;
}
