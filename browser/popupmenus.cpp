#include "browser/popupmenus.h"

#include "browser/commandtable.h"
#include "framework/commandids.h"

namespace {

// The entries of a popup are the commands that name it, in the table's
// order, parted by separators; Cancel, the way out, closes the list
// whatever commands were added after it.
fw::PopupMenu Popup(int resourceId, const char* title, unsigned mask) {
    fw::PopupMenu menu{resourceId, title, {}};
    const auto add = [&menu](const CommandRow& command) {
        if (!menu.items.empty()) menu.items.push_back(fw::MenuItem{});
        menu.items.push_back(fw::MenuItem{command.id, command.menuText});
    };
    for (const CommandRow& command : CommandTable())
        if ((command.popups & mask) && command.id != cmd::kCancel) add(command);
    if (const CommandRow* cancel = FindCommand(cmd::kCancel); cancel && (cancel->popups & mask)) add(*cancel);
    return menu;
}

}  // namespace

const fw::PopupMenu& PopupMenuResource(int resourceId) {
    static const fw::PopupMenu bitmap = Popup(IDR_POPUP_BITMAP, "Bitmap", kInBitmapPopup);
    static const fw::PopupMenu bfp = Popup(IDR_POPUP_BFP, "BFP", kInBfpPopup);
    static const fw::PopupMenu model = Popup(IDR_POPUP_MODEL, "Model", kInModelPopup);
    static const fw::PopupMenu bank = Popup(IDR_POPUP_CM3D, "CM3D", kInBankPopup);
    static const fw::PopupMenu none{};
    switch (resourceId) {
        case IDR_POPUP_BITMAP: return bitmap;
        case IDR_POPUP_BFP: return bfp;
        case IDR_POPUP_MODEL: return model;
        case IDR_POPUP_CM3D: return bank;
        default: return none;
    }
}
