#include "browser/commandtable.h"

#include <algorithm>

#include "browser/pallixview.h"
#include "framework/commandids.h"

namespace {

using Path = ActionArgument;

const CommandRow kCommands[] = {
    {cmd::kBitmapView, "View", kInBitmapPopup, "view-bitmap", Path::itemPath,
     [](CPallixView& view) { return view.OnViewBitmap(); }},
    {cmd::kBitmapExport, "Export...", kInBitmapPopup, "export-bitmap", Path::itemPath,
     [](CPallixView& view) { return view.OnExportBitmap(); }},
    {cmd::kBitmapImport, "Import...", kInBitmapPopup, "import-bitmap", Path::itemPath,
     [](CPallixView& view) { return view.OnImportBitmap(); }},
    {cmd::kModelView, "View Model", kInModelPopup, "view-model", Path::itemPath,
     [](CPallixView& view) { return view.OnViewModel(); }},
    {cmd::kModelExport, "Export Model", kInModelPopup, "export-model", Path::itemPath,
     [](CPallixView& view) { return view.OnExportModel(); }},
    {cmd::kModelImport, "Import Model", kInModelPopup, "import-model", Path::itemPath,
     [](CPallixView& view) { return view.OnImportModel(); }},
    {cmd::kFileExportAll, "Export All", kInBfpPopup, "export-all", Path::itemPath,
     [](CPallixView& view) { return view.OnExportAllBanks(); }},
    {cmd::kFileImportAll, "Import All", kInBfpPopup, "import-all", Path::itemPath,
     [](CPallixView& view) { return view.OnImportAll(); }},
    {cmd::kBankExportAll, "Export All", kInBankPopup, "export-all", Path::itemPath,
     [](CPallixView& view) { return view.OnExportAll(); }},
    {cmd::kBankImportAll, "Import All", kInBankPopup, "import-all", Path::itemPath,
     [](CPallixView& view) { return view.OnImportAll(); }},
    {cmd::kCancel, "Cancel", kInEveryPopup, nullptr, Path::none,
     [](CPallixView&) { return fw::CommandResult::Done(); }},
    {cmd::kModelExportAs, "Export Model As...", kInModelPopup, "export-model-as", Path::formatAndItemPath,
     [](CPallixView& view) { return view.OnExportModelAs(); }},
    {cmd::kModelImportFrom, "Import Model From...", kInModelPopup, "import-model-from", Path::formatAndItemPath,
     [](CPallixView& view) { return view.OnImportModelFrom(); }},
    {cmd::kBankExportAllAs, "Export All As...", kInBankPopup, "export-all-as", Path::formatAndItemPath,
     [](CPallixView& view) { return view.OnExportAllAs(); }},
    {cmd::kBitmapExportAs, "Export Bitmap As...", kInBitmapPopup, "export-bitmap-as", Path::bitmapFormatAndItemPath,
     [](CPallixView& view) { return view.OnExportBitmapAs(); }},
    {cmd::kBitmapImportFrom, "Import Bitmap From...", kInBitmapPopup, "import-bitmap-from",
     Path::bitmapFormatAndItemPath, [](CPallixView& view) { return view.OnImportBitmapFrom(); }},
    {cmd::kFileExportAllAs, "Export All As...", kInBfpPopup, "export-all-as", Path::formatAndItemPath,
     [](CPallixView& view) { return view.OnExportAllAs(); }},
};

}  // namespace

std::span<const CommandRow> CommandTable() { return kCommands; }

const CommandRow* FindCommand(int commandId) {
    const auto row = std::find_if(std::begin(kCommands), std::end(kCommands),
                                  [commandId](const CommandRow& command) { return command.id == commandId; });
    return row == std::end(kCommands) ? nullptr : &*row;
}
