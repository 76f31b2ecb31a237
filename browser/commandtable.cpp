#include "browser/commandtable.h"

#include <algorithm>

#include "exchange/commands/bitmapcommands.h"
#include "exchange/commands/exportbanks.h"
#include "exchange/commands/formatquestion.h"
#include "exchange/commands/importall.h"
#include "exchange/commands/modelexport.h"
#include "exchange/commands/modelimport.h"
#include "exchange/commands/modelview.h"
#include "framework/commandids.h"

namespace {

using Path = ActionArgument;

const CommandRow kCommands[] = {
    {cmd::kBitmapView, "View", kInBitmapPopup, "view-bitmap", Path::itemPath, ViewBitmap},
    {cmd::kBitmapExport, "Export...", kInBitmapPopup, "export-bitmap", Path::itemPath, ExportBitmap},
    {cmd::kBitmapImport, "Import...", kInBitmapPopup, "import-bitmap", Path::itemPath, ImportBitmap},
    {cmd::kModelView, "View Model", kInModelPopup, "view-model", Path::itemPath, ViewModel},
    {cmd::kModelExport, "Export Model", kInModelPopup, "export-model", Path::itemPath, ExportModel},
    {cmd::kModelImport, "Import Model", kInModelPopup, "import-model", Path::itemPath, ImportModel},
    {cmd::kFileExportAll, "Export All", kInBfpPopup, "export-all", Path::itemPath,
     [](const CommandContext& context) { return ExportAllBanks(context); }},
    {cmd::kFileImportAll, "Import All", kInBfpPopup, "import-all", Path::itemPath, ImportAll},
    {cmd::kBankExportAll, "Export All", kInBankPopup, "export-all", Path::itemPath, ExportAll},
    {cmd::kBankImportAll, "Import All", kInBankPopup, "import-all", Path::itemPath, ImportAll},
    {cmd::kCancel, "Cancel", kInEveryPopup, nullptr, Path::none,
     [](const CommandContext&) { return fw::CommandResult::Done(); }},
    // The format is asked for once the command has its context, which holds
    // the records by value: what happens meanwhile cannot pull them away.
    {cmd::kModelExportAs, "Export Model As...", kInModelPopup, "export-model-as", Path::formatAndItemPath,
     [](const CommandContext& context) { return InModelFormatAsked(context, "Export Model As", ExportModelAs); }},
    {cmd::kModelImportFrom, "Import Model From...", kInModelPopup, "import-model-from", Path::formatAndItemPath,
     [](const CommandContext& context) { return InModelFormatAsked(context, "Import Model From", ImportModelFrom); }},
    {cmd::kBankExportAllAs, "Export All As...", kInBankPopup, "export-all-as", Path::formatAndItemPath,
     [](const CommandContext& context) { return InModelFormatAsked(context, "Export All As", ExportAllAs); }},
    {cmd::kBitmapExportAs, "Export Bitmap As...", kInBitmapPopup, "export-bitmap-as", Path::bitmapFormatAndItemPath,
     [](const CommandContext& context) { return InBitmapFormatAsked(context, "Export Bitmap As", ExportBitmapAs); }},
    {cmd::kBitmapImportFrom, "Import Bitmap From...", kInBitmapPopup, "import-bitmap-from",
     Path::bitmapFormatAndItemPath,
     [](const CommandContext& context) {
         return InBitmapFormatAsked(context, "Import Bitmap From", ImportBitmapFrom);
     }},
    {cmd::kFileExportAllAs, "Export All As...", kInBfpPopup, "export-all-as", Path::formatAndItemPath,
     [](const CommandContext& context) { return InModelFormatAsked(context, "Export All As", ExportAllBanksAs); }},
};

}  // namespace

std::span<const CommandRow> CommandTable() { return kCommands; }

const CommandRow* FindCommand(int commandId) {
    const auto row = std::find_if(std::begin(kCommands), std::end(kCommands),
                                  [commandId](const CommandRow& command) { return command.id == commandId; });
    return row == std::end(kCommands) ? nullptr : &*row;
}
