#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "exchange/commandcontext.h"
#include "exchange/exchangecommands.h"
#include "exchange/modeljob.h"
#include "framework/commandresult.h"
#include "framework/uiservices.h"

// The steps of a command over many items, told to the user as progress.
class BatchSteps {
public:
    BatchSteps(fw::UiServices& ui, const std::string& title, uint64_t total)
        : progress_(ui.BeginProgress(title, total)) {}
    // One more step done; false from the moment the user cancels.
    bool Next() {
        cancelled_ = cancelled_ || !progress_.Step(++done_);
        return !cancelled_;
    }
    bool Cancelled() const { return cancelled_; }

private:
    fw::Progress progress_;
    uint64_t done_ = 0;
    bool cancelled_ = false;
};

// The context of one of the bank's items, as a right click on it would
// give, without announcing paths.
CommandContext ChildContext(const CommandContext& bank, size_t child);

// The bank's models, then its bitmaps, each into its own file, one step
// each; stops when the user cancels.
fw::CommandResult ExportBankItems(const CommandContext& bank, BatchSteps& steps,
                                  const ModelExport& exportModel = ExportModel);

// What the user is told when Export All is cancelled: the files written
// stay, as they are only copies of what the data file holds.
fw::CommandResult ExportAllCancelled(const std::filesystem::path& folder);

// The root's banks, each with its own folder in the export folder: the
// bank's name ("CM3D 1") made safe.
std::vector<CommandContext> BanksInOwnFolders(const CommandContext& root);
