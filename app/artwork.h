#pragma once
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <functional>
#include <map>
#include <string>

#include "framework/imagelist.h"

// The program's bitmaps: white is their transparent colour.
QPixmap LoadArtwork(const QString& resourcePath);

// The n-th picture of the toolbar strip (16 by 15 pixels each). Icons carry
// their artwork at twice the size too, pixel for pixel, for screens scaled
// to 200 %.
QIcon ToolbarIcon(int position);

// The tree's icons, drawn for the resource names of the view's image list.
// The list exists only after the view's first initial update, so it is
// looked up when an icon is first needed.
class TreeIcons {
public:
    using ImageListSource = std::function<const fw::ImageList*()>;
    explicit TreeIcons(ImageListSource source) : source_(std::move(source)) {}

    // The icon at an image index; a null icon for an index the list lacks.
    QIcon Icon(int image) const;

private:
    ImageListSource source_;
    mutable std::map<std::string, QIcon> loaded_;
};
