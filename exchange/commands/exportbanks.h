#pragma once
#include <vector>
#include "exchange/commands/commandcontext.h"
#include "exchange/commands/modelexport.h"
#include "framework/commandresult.h"

// For the root: every bank as Export All, each into a folder of its own
// (model names repeat across banks).
fw::CommandResult ExportAllBanks(const CommandContext& context, const ModelExport& exportModel = ExportModel);

// The root's banks, each with its own folder in the export folder: the
// bank's name ("CM3D 1") made safe.
std::vector<CommandContext> BanksInOwnFolders(const CommandContext& root);
