#include "app/treewidgetgeometry.h"

#include "app/recordtreemodel.h"
#include "app/recordtreeview.h"

namespace {

// Which part of an item a point in its row lies on.
unsigned PartFlags(const RecordTreeView::ItemParts& parts, const QPoint& point, bool hasButton) {
    if (point.x() < parts.button.left()) return fw::kHitOnIndent;
    if (point.x() <= parts.button.right()) return hasButton ? fw::kHitOnButton : fw::kHitOnIndent;
    if (point.x() < parts.icon.left()) return fw::kHitOnIndent;
    if (point.x() <= parts.icon.right()) return fw::kHitOnIcon;
    // The label's right edge still counts as the label: the keyboard's
    // context menu is asked for at the top right corner of the text.
    if (point.x() <= parts.label.right() + 1) return fw::kHitOnLabel;
    return fw::kHitOnRight;
}

}  // namespace

fw::HitTestResult TreeWidgetGeometry::HitTest(fw::Point client) const {
    const QPoint point(client.x, client.y);
    if (!widget_.viewport()->rect().contains(point)) return {};
    const QModelIndex index = widget_.indexAt(point);
    const auto parts = widget_.PartsOf(index);
    if (!parts) return {};
    fw::TreeItem* item = RecordTreeModel::ItemAt(index);
    return {item, PartFlags(*parts, point, !item->children.empty())};
}

std::optional<fw::Rect> TreeWidgetGeometry::ItemTextRect(fw::TreeItem* item) const {
    const auto parts = widget_.PartsOf(widget_.Model().IndexOf(item));
    if (!parts) return std::nullopt;
    const QRect& label = parts->label;
    return fw::Rect{label.left(), label.top(), label.right() + 1, label.bottom() + 1};
}

fw::Point TreeWidgetGeometry::ClientToScreen(fw::Point client) const {
    const QPoint screen = widget_.viewport()->mapToGlobal(QPoint(client.x, client.y));
    return {screen.x(), screen.y()};
}

fw::Point TreeWidgetGeometry::ScreenToClient(fw::Point screen) const {
    const QPoint client = widget_.viewport()->mapFromGlobal(QPoint(screen.x, screen.y));
    return {client.x(), client.y()};
}
