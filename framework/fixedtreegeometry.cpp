#include "framework/fixedtreegeometry.h"

#include <algorithm>

namespace fw {

namespace {

Rect TextRect(int row, int depth, const std::string& text) {
    const int left =
        (depth + 1) * FixedTreeGeometry::kIndent + FixedTreeGeometry::kIconWidth + FixedTreeGeometry::kLabelGap;
    const int width = static_cast<int>(text.size()) * FixedTreeGeometry::kCharWidth + FixedTreeGeometry::kLabelPadding;
    const int top = row * FixedTreeGeometry::kRowHeight;
    return Rect{left, top, left + width, top + FixedTreeGeometry::kRowHeight};
}

}  // namespace

HitTestResult FixedTreeGeometry::HitTest(Point client) const {
    if (client.y < 0 || client.x < 0) return {};
    const auto visible = tree_.VisibleItems();
    const auto row = static_cast<size_t>(client.y / kRowHeight);
    if (row >= visible.size()) return {};
    TreeItem* item = visible[row];
    const int depth = tree_.Depth(item);
    const Rect text = TextRect(static_cast<int>(row), depth, item->text);
    const int buttonLeft = depth * kIndent;
    const int iconLeft = buttonLeft + kIndent;
    unsigned flags = kHitOnRight;
    if (client.x < buttonLeft)
        flags = kHitOnIndent;
    else if (client.x < iconLeft)
        flags = kHitOnButton;
    else if (client.x < iconLeft + kIconWidth)
        flags = kHitOnIcon;
    // The label's right edge still belongs to it, so the keyboard's context menu,
    // opened at that edge, finds the item.
    else if (client.x <= text.right)
        flags = kHitOnLabel;
    return {item, flags};
}

std::optional<Rect> FixedTreeGeometry::ItemTextRect(TreeItem* item) const {
    const auto visible = tree_.VisibleItems();
    const auto found = std::find(visible.begin(), visible.end(), item);
    if (found == visible.end()) return std::nullopt;
    return TextRect(static_cast<int>(found - visible.begin()), tree_.Depth(item), item->text);
}

}  // namespace fw
