#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fw {

// One item of a TreeControl. Callers hold plain pointers to items as handles;
// they stay valid until DeleteAllItems.
struct TreeItem {
    std::string text;
    int image = 0;
    int selectedImage = 0;
    void* data = nullptr;
    bool expanded = false;
    bool dropHighlighted = false;
    TreeItem* parent = nullptr;
    int row = 0;  // position among its parent's children
    std::vector<std::unique_ptr<TreeItem>> children;
};

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Where a hit test found a point.
enum HitTestFlags : unsigned {
    kHitNowhere = 0x0001,
    kHitOnIcon = 0x0002,
    kHitOnLabel = 0x0004,
    kHitOnIndent = 0x0008,
    kHitOnButton = 0x0010,
    kHitOnRight = 0x0020,
    kHitOnStateIcon = 0x0040,
    kHitOnItem = kHitOnIcon | kHitOnLabel | kHitOnStateIcon,
};

struct HitTestResult {
    TreeItem* item = nullptr;
    unsigned flags = kHitNowhere;
};

// Geometry of the rows on screen. The headless default lays the rows out at a
// fixed size; the desktop program answers from the real widget.
class TreeGeometry {
public:
    virtual ~TreeGeometry() = default;
    virtual HitTestResult HitTest(Point client) const = 0;
    virtual std::optional<Rect> ItemTextRect(TreeItem* item) const = 0;
    virtual Point ClientToScreen(Point client) const = 0;
    virtual Point ScreenToClient(Point screen) const = 0;
};

// Told before an item expands or collapses, as the tree-view control's
// expanding notification; returning false prevents the change.
class TreeExpandListener {
public:
    virtual ~TreeExpandListener() = default;
    virtual bool OnItemExpanding(TreeItem* item) = 0;
};

// Follows every change of the model, for a widget that shows it.
class TreeObserver {
public:
    virtual ~TreeObserver() = default;
    virtual void BeginReset() {}
    virtual void EndReset() {}
    virtual void BeginInsert(TreeItem* /*parent*/, int /*row*/) {}
    virtual void EndInsert() {}
    virtual void ItemChanged(TreeItem* /*item*/) {}
    virtual void ExpandChanged(TreeItem* /*item*/) {}
    virtual void SelectionChanged(TreeItem* /*item*/) {}
};

// The tree-view control's model: the single source of truth for the items,
// their images, data, expand state, selection (the caret) and drop highlight.
class TreeControl {
public:
    enum class ExpandAction { expand, collapse, toggle };

    TreeControl();
    ~TreeControl();

    TreeItem* InsertItem(const std::string& text, int image, int selectedImage, TreeItem* parent, void* data = nullptr);
    void DeleteAllItems();

    TreeItem* GetRootItem() const;
    TreeItem* GetChildItem(TreeItem* item) const;
    TreeItem* GetNextSiblingItem(TreeItem* item) const;
    TreeItem* GetParentItem(TreeItem* item) const;
    bool ItemHasChildren(TreeItem* item) const;
    size_t TopLevelCount() const { return roots_.size(); }
    TreeItem* TopLevelItem(size_t index) const;

    void* GetItemData(TreeItem* item) const { return item ? item->data : nullptr; }
    const std::string& GetItemText(TreeItem* item) const { return item->text; }
    void SetItemImage(TreeItem* item, int image, int selectedImage);

    // Expands or collapses an item that has children, after asking the
    // listener; an item without children never expands.
    bool Expand(TreeItem* item, ExpandAction action);
    bool IsExpanded(TreeItem* item) const { return item && item->expanded; }

    void SelectItem(TreeItem* item);
    TreeItem* GetSelectedItem() const { return selected_; }  // the caret item
    void SelectDropTarget(TreeItem* item);
    void ClearDropHighlight(TreeItem* item);
    TreeItem* GetDropHighlightItem() const { return dropTarget_; }

    // Items in the order they show: pre-order, children only of expanded items.
    std::vector<TreeItem*> VisibleItems() const;
    int Depth(TreeItem* item) const;
    // Visits every item in depth-first pre-order.
    void ForEachItem(const std::function<void(TreeItem*)>& visit) const;

    void SetExpandListener(TreeExpandListener* listener) { listener_ = listener; }
    void SetObserver(TreeObserver* observer);
    void SetGeometry(const TreeGeometry* geometry) { geometry_ = geometry; }
    const TreeGeometry& Geometry() const { return *geometry_; }

private:
    std::vector<std::unique_ptr<TreeItem>> roots_;
    TreeItem* selected_ = nullptr;
    TreeItem* dropTarget_ = nullptr;
    TreeExpandListener* listener_ = nullptr;
    TreeObserver* observer_ = nullptr;
    std::unique_ptr<TreeObserver> quietObserver_;
    std::unique_ptr<TreeGeometry> fixedGeometry_;
    const TreeGeometry* geometry_ = nullptr;
};

}  // namespace fw
