#include "framework/treecontrol.h"

#include "framework/fixedtreegeometry.h"

namespace fw {

TreeControl::TreeControl()
    : quietObserver_(std::make_unique<TreeObserver>()),
      fixedGeometry_(std::make_unique<FixedTreeGeometry>(*this)),
      geometry_(fixedGeometry_.get()) {
    observer_ = quietObserver_.get();
}

TreeControl::~TreeControl() = default;

void TreeControl::SetObserver(TreeObserver* observer) { observer_ = observer ? observer : quietObserver_.get(); }

TreeItem* TreeControl::InsertItem(const std::string& text, int image, int selectedImage, TreeItem* parent, void* data) {
    auto& siblings = parent ? parent->children : roots_;
    auto item = std::make_unique<TreeItem>();
    item->text = text;
    item->image = image;
    item->selectedImage = selectedImage;
    item->data = data;
    item->parent = parent;
    item->row = static_cast<int>(siblings.size());
    observer_->BeginInsert(parent, item->row);
    siblings.push_back(std::move(item));
    observer_->EndInsert();
    return siblings.back().get();
}

void TreeControl::DeleteAllItems() {
    observer_->BeginReset();
    selected_ = nullptr;
    dropTarget_ = nullptr;
    roots_.clear();
    observer_->EndReset();
}

TreeItem* TreeControl::GetRootItem() const { return roots_.empty() ? nullptr : roots_.front().get(); }

TreeItem* TreeControl::TopLevelItem(size_t index) const {
    return index < roots_.size() ? roots_[index].get() : nullptr;
}

TreeItem* TreeControl::GetChildItem(TreeItem* item) const {
    if (!item) return GetRootItem();
    return item->children.empty() ? nullptr : item->children.front().get();
}

TreeItem* TreeControl::GetNextSiblingItem(TreeItem* item) const {
    if (!item) return nullptr;
    const auto& siblings = item->parent ? item->parent->children : roots_;
    const auto next = static_cast<size_t>(item->row) + 1;
    return next < siblings.size() ? siblings[next].get() : nullptr;
}

TreeItem* TreeControl::GetParentItem(TreeItem* item) const { return item ? item->parent : nullptr; }

bool TreeControl::ItemHasChildren(TreeItem* item) const { return item && !item->children.empty(); }

void TreeControl::SetItemImage(TreeItem* item, int image, int selectedImage) {
    item->image = image;
    item->selectedImage = selectedImage;
    observer_->ItemChanged(item);
}

bool TreeControl::Expand(TreeItem* item, ExpandAction action) {
    if (!ItemHasChildren(item)) return false;
    const bool expand = action == ExpandAction::toggle ? !item->expanded : action == ExpandAction::expand;
    if (expand == item->expanded) return true;
    if (listener_ && !listener_->OnItemExpanding(item)) return false;
    item->expanded = expand;
    observer_->ExpandChanged(item);
    return true;
}

void TreeControl::SelectItem(TreeItem* item) {
    if (selected_ == item) return;
    selected_ = item;
    observer_->SelectionChanged(item);
}

void TreeControl::SelectDropTarget(TreeItem* item) {
    if (dropTarget_ == item) return;
    if (dropTarget_) {
        dropTarget_->dropHighlighted = false;
        observer_->ItemChanged(dropTarget_);
    }
    dropTarget_ = item;
    if (item) {
        item->dropHighlighted = true;
        observer_->ItemChanged(item);
    }
}

void TreeControl::ClearDropHighlight(TreeItem* item) {
    if (!item) return;
    item->dropHighlighted = false;
    if (dropTarget_ == item) dropTarget_ = nullptr;
    observer_->ItemChanged(item);
}

namespace {

// Pre-order over the items, entering an item's children only when asked to.
template <typename Visit, typename Enter>
void Walk(const std::vector<std::unique_ptr<TreeItem>>& roots, Visit visit, Enter enter) {
    std::vector<TreeItem*> pending;
    for (auto it = roots.rbegin(); it != roots.rend(); ++it) pending.push_back(it->get());
    while (!pending.empty()) {
        TreeItem* item = pending.back();
        pending.pop_back();
        visit(item);
        if (!enter(item)) continue;
        for (auto it = item->children.rbegin(); it != item->children.rend(); ++it) pending.push_back(it->get());
    }
}

}  // namespace

std::vector<TreeItem*> TreeControl::VisibleItems() const {
    std::vector<TreeItem*> visible;
    Walk(
        roots_, [&](TreeItem* item) { visible.push_back(item); }, [](TreeItem* item) { return item->expanded; });
    return visible;
}

void TreeControl::ForEachItem(const std::function<void(TreeItem*)>& visit) const {
    Walk(roots_, visit, [](TreeItem*) { return true; });
}

int TreeControl::Depth(TreeItem* item) const {
    int depth = 0;
    for (TreeItem* up = item ? item->parent : nullptr; up; up = up->parent) ++depth;
    return depth;
}

}  // namespace fw
