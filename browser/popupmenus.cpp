#include "popupmenus.h"

#include <initializer_list>

#include "commandids.h"

namespace {

// A popup whose entries are parted by separators.
fw::PopupMenu Popup(int resourceId, const char* title, std::initializer_list<fw::MenuItem> entries) {
    fw::PopupMenu menu{resourceId, title, {}};
    for (const fw::MenuItem& entry : entries) {
        if (!menu.items.empty()) menu.items.push_back(fw::MenuItem{});
        menu.items.push_back(entry);
    }
    return menu;
}

}  // namespace

const fw::PopupMenu& PopupMenuResource(int resourceId) {
    static const fw::PopupMenu bitmap = Popup(IDR_POPUP_BITMAP, "Bitmap",
        {{cmd::kBitmapView, "View"}, {cmd::kBitmapExport, "Export..."}, {cmd::kBitmapImport, "Import..."},
         {cmd::kCancel, "Cancel"}});
    static const fw::PopupMenu bfp = Popup(IDR_POPUP_BFP, "BFP",
        {{cmd::kFileExportAll, "Export All"}, {cmd::kFileImportAll, "Import All"}, {cmd::kCancel, "Cancel"}});
    static const fw::PopupMenu model = Popup(IDR_POPUP_MODEL, "Model",
        {{cmd::kModelView, "View Model"}, {cmd::kModelExport, "Export Model"}, {cmd::kModelImport, "Import Model"},
         {cmd::kCancel, "Cancel"}});
    static const fw::PopupMenu bank = Popup(IDR_POPUP_CM3D, "CM3D",
        {{cmd::kBankExportAll, "Export All"}, {cmd::kBankImportAll, "Import All"}, {cmd::kCancel, "Cancel"}});
    static const fw::PopupMenu none{};
    switch (resourceId) {
        case IDR_POPUP_BITMAP: return bitmap;
        case IDR_POPUP_BFP: return bfp;
        case IDR_POPUP_MODEL: return model;
        case IDR_POPUP_CM3D: return bank;
        default: return none;
    }
}
