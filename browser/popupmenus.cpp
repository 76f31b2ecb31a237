#include "browser/popupmenus.h"

#include "browser/commandtable.h"

namespace {

// The entries of a popup are the commands that name it, in the table's
// order, parted by separators.
fw::PopupMenu Popup(int resourceId, const char* title, unsigned mask) {
    fw::PopupMenu menu{resourceId, title, {}};
    for (const CommandRow& command : CommandTable()) {
        if (!(command.popups & mask)) continue;
        if (!menu.items.empty()) menu.items.push_back(fw::MenuItem{});
        menu.items.push_back(fw::MenuItem{command.id, command.menuText});
    }
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
