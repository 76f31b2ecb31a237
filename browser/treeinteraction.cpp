// How the view reacts to the mouse and the keyboard, chooses its popup
// menus and routes their commands.
#include "browser/commandtable.h"
#include "browser/pallixview.h"
#include "browser/popupmenus.h"
#include "framework/commandids.h"

namespace {

bool IsOnItem(const fw::HitTestResult& hit) { return hit.item && (hit.flags & fw::kHitOnItem); }

}  // namespace

void CPallixView::OnLButtonDown(fw::Point client) {
    const auto hit = m_tree.Geometry().HitTest(client);
    if (IsOnItem(hit)) m_tree.SelectDropTarget(hit.item);
}

void CPallixView::OnRButtonDown(fw::Point client) {
    const auto hit = m_tree.Geometry().HitTest(client);
    if (IsOnItem(hit)) SetContextItem(hit.item);
}

void CPallixView::SetContextItem(fw::TreeItem* item) {
    m_tree.SelectDropTarget(item);
    m_hContextItem = item;
}

int CPallixView::PopupMenuFor(fw::TreeItem* item) const {
    if (item == m_tree.GetRootItem()) return IDR_POPUP_BFP;
    const ItemRecord* record = RecordOf(item);
    switch (record ? record->nKind : 0) {
        case ITEM_BANK: return IDR_POPUP_CM3D;
        case ITEM_BITMAP: return IDR_POPUP_BITMAP;
        case ITEM_MODEL: return IDR_POPUP_MODEL;
        default: return 0;
    }
}

bool CPallixView::OnContextMenu(fw::Point screen) {
    const auto hit = m_tree.Geometry().HitTest(m_tree.Geometry().ScreenToClient(screen));
    if (!IsOnItem(hit)) return false;
    if (const int menu = PopupMenuFor(hit.item)) ShowItemMenu(menu, screen);
    // The tree's own record of the highlight: the item may be gone by now.
    m_tree.SelectDropTarget(nullptr);
    return true;
}

bool CPallixView::OnKeyboardContextMenu() {
    fw::TreeItem* caret = m_tree.GetSelectedItem();
    const auto text = caret ? m_tree.Geometry().ItemTextRect(caret) : std::nullopt;
    if (!text) return false;
    SetContextItem(caret);
    return OnContextMenu(m_tree.Geometry().ClientToScreen(fw::Point{text->right, text->top}));
}

void CPallixView::ShowItemMenu(int menuId, fw::Point screen) {
    if (screen.x == -1 && screen.y == -1) {
        screen = m_tree.Geometry().ClientToScreen(fw::Point{0, 0});
        screen.x += 5;
        screen.y += 5;
    }
    if (const int command = m_ui.TrackPopupMenu(PopupMenuResource(menuId), screen, *this)) OnCommand(command);
}

int CPallixView::OnKeyDown(int virtualKey) {
    if (m_bShiftDown && virtualKey == cmd::kKeyF10) OnKeyboardContextMenu();
    m_bShiftDown = virtualKey == cmd::kKeyShift;
    return 0;
}

fw::TreeItem* CPallixView::NextItemInTreeOrder(fw::TreeItem* item) const {
    if (fw::TreeItem* child = m_tree.GetChildItem(item)) return child;
    for (; item; item = m_tree.GetParentItem(item)) {
        if (fw::TreeItem* sibling = m_tree.GetNextSiblingItem(item)) return sibling;
    }
    return nullptr;
}

bool CPallixView::HasHandler(int commandId) const {
    const CommandRow* command = FindCommand(commandId);
    return command && command->run;
}

bool CPallixView::OnCommand(int commandId) {
    if (!HasHandler(commandId)) return false;
    m_lastResult = RunOnContextItem(commandId);
    fw::ShowResult(m_ui, m_lastResult);
    return true;
}
