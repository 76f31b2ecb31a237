#include "app/artwork.h"

#include <QBitmap>

namespace {

constexpr int kToolbarButtonWidth = 16;
constexpr int kToolbarButtonHeight = 15;

// The artwork is pixel art: at twice the size each pixel becomes a sharp
// square, where the smooth scaling Qt would otherwise apply blurs it.
QIcon CrispIcon(const QPixmap& picture) {
    QIcon icon(picture);
    if (picture.isNull()) return icon;
    QPixmap doubled = picture.scaled(picture.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    doubled.setDevicePixelRatio(2);
    icon.addPixmap(doubled);
    return icon;
}

}  // namespace

QPixmap LoadArtwork(const QString& resourcePath) {
    QPixmap picture(resourcePath);
    if (!picture.isNull()) picture.setMask(picture.createMaskFromColor(Qt::white));
    return picture;
}

QIcon ToolbarIcon(int position) {
    static const QPixmap strip = LoadArtwork(QStringLiteral(":/toolbar.xpm"));
    return CrispIcon(strip.copy(position * kToolbarButtonWidth, 0, kToolbarButtonWidth, kToolbarButtonHeight));
}

QIcon TreeIcons::Icon(int image) const {
    const fw::ImageList* list = source_();
    if (!list || image < 0 || static_cast<size_t>(image) >= list->size()) return {};
    const std::string& name = list->Resource(static_cast<size_t>(image));
    auto found = loaded_.find(name);
    if (found == loaded_.end())
        found = loaded_.emplace(name, CrispIcon(LoadArtwork(":/icons/" + QString::fromStdString(name) + ".xpm"))).first;
    return found->second;
}
