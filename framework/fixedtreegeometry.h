#pragma once
#include "framework/treecontrol.h"

namespace fw {

// Rows of a fixed size, as a tree-view control with buttons, lines and lines
// at the root lays them out: one indent step per depth level (the top level
// included), the expand button in the last step, then the icon, then the label.
class FixedTreeGeometry : public TreeGeometry {
public:
    static constexpr int kRowHeight = 16;
    static constexpr int kIndent = 19;
    static constexpr int kIconWidth = 16;
    static constexpr int kLabelGap = 3;
    static constexpr int kCharWidth = 6;
    static constexpr int kLabelPadding = 4;

    explicit FixedTreeGeometry(const TreeControl& tree) : tree_(tree) {}

    HitTestResult HitTest(Point client) const override;
    std::optional<Rect> ItemTextRect(TreeItem* item) const override;
    // The headless client area sits at the screen's origin.
    Point ClientToScreen(Point client) const override { return client; }
    Point ScreenToClient(Point screen) const override { return screen; }

private:
    const TreeControl& tree_;
};

}  // namespace fw
