// Export All of the whole file: each bank into a folder of its own, since
// the same model names come back in bank after bank.
#include "exchange/commands/exportbanks.h"

#include "exchange/commands/batchsteps.h"
#include "exchange/commands/modelexport.h"
#include "exchange/files/batchwrites.h"
#include "exchange/files/exportpaths.h"
#include "framework/pathtext.h"

namespace {

constexpr const char* kExportAllCaption = "Export All";

// "CM3D 1" of the bank's label "CM3D 1: 3 Objects  2 Bitmaps".
std::string BankFolderName(const ItemRecord& bank) {
    return SafeFileStem(bank.szLabel.substr(0, bank.szLabel.find(':')));
}

size_t ItemCount(const std::vector<CommandContext>& banks) {
    size_t count = 0;
    for (const CommandContext& bank : banks) count += bank.children.size();
    return count;
}

}  // namespace

std::vector<CommandContext> BanksInOwnFolders(const CommandContext& root) {
    std::vector<CommandContext> banks;
    for (const CommandContext& bank : root.banks) {
        if (!bank.record) continue;
        banks.push_back(bank);
        banks.back().exportFolder = root.exportFolder / fw::PathFromUtf8(BankFolderName(*bank.record));
    }
    return banks;
}

fw::CommandResult ExportAllBanks(const CommandContext& context, const ModelExport& exportModel) {
    fw::WaitCursor wait(context.ui);
    BatchOfWrites batch(context.exportFolder);
    const auto banks = BanksInOwnFolders(context);
    BatchSteps steps(context.ui, kExportAllCaption, ItemCount(banks));
    for (const CommandContext& bank : banks) {
        const auto result = ExportBankItems(bank, steps, exportModel);
        if (result.Failed()) return result;
        if (steps.Cancelled()) return ExportAllCancelled(context.exportFolder);
    }
    const std::string where = fw::Utf8FromPath(context.exportFolder);
    return fw::CommandResult::Done(
        "Exported " + std::to_string(banks.size()) + " banks, each into a folder of its own in\n" + where,
        kExportAllCaption);
}
