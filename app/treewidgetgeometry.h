#pragma once
#include "framework/treecontrol.h"

class RecordTreeView;

// Hit tests and item rectangles answered from the record tree as it is
// really laid out on screen. Client points are viewport coordinates.
class TreeWidgetGeometry : public fw::TreeGeometry {
public:
    explicit TreeWidgetGeometry(const RecordTreeView& widget) : widget_(widget) {}

    fw::HitTestResult HitTest(fw::Point client) const override;
    std::optional<fw::Rect> ItemTextRect(fw::TreeItem* item) const override;
    fw::Point ClientToScreen(fw::Point client) const override;
    fw::Point ScreenToClient(fw::Point screen) const override;

private:
    const RecordTreeView& widget_;
};
