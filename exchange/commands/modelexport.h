#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>
#include "exchange/commands/batchsteps.h"
#include "exchange/commands/commandcontext.h"
#include "exchange/formats/exchangemesh.h"
#include "framework/commandresult.h"
#include "framework/expected.h"

// The model as a 3DS file in the export folder, its materials naming the
// bank's bitmaps.
fw::CommandResult ExportModel(const CommandContext& context);
// The bank's models, then its bitmaps, each into its own file.
fw::CommandResult ExportAll(const CommandContext& context);

// The steps under the commands, for a model record that starts `model`
// (the span reaches to the end of the image).
fw::CommandResult WriteModel3dsFile(const std::filesystem::path& path, const ExportedModel& model);
fw::CommandResult ExportModelToFile(const std::filesystem::path& path, std::span<const uint8_t> model,
                                    const std::string& modelName, const TextureNames& textures);
// What ExportModelToFile would write, byte for byte, made in memory: the
// question "was this file changed?" writes nothing.
fw::Expected<std::vector<uint8_t>> ExportModelToBytes(std::span<const uint8_t> model, const std::string& modelName,
                                                      const TextureNames& textures);

// Export All with the given export of each model.
using ModelExport = std::function<fw::CommandResult(const CommandContext&)>;
fw::CommandResult ExportAllWith(const CommandContext& context, const ModelExport& exportModel);

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
