#pragma once
#include <cstddef>
#include <filesystem>
#include <functional>

#include "exchange/commands/batchsteps.h"
#include "exchange/commands/commandcontext.h"
#include "exchange/model/modelformattable.h"
#include "framework/commandresult.h"

// The model as a 3DS file in the export folder, its materials naming the
// bank's bitmaps.
fw::CommandResult ExportModel(const CommandContext& context);
// The same in any format of the table.
fw::CommandResult ExportModelAs(const CommandContext& context, const ModelFormat& format);
// The bank's models as 3DS files (or in the format), then its bitmaps as
// BMP files, each into its own file.
fw::CommandResult ExportAll(const CommandContext& context);
fw::CommandResult ExportAllAs(const CommandContext& context, const ModelFormat& format);
// For the root: every bank so, each into a folder of its own, as Export All
// puts them.
fw::CommandResult ExportAllBanksAs(const CommandContext& context, const ModelFormat& format);

// One model's export, as Export All runs it for each.
using ModelExport = std::function<fw::CommandResult(const CommandContext&)>;

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
