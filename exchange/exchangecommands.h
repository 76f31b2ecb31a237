#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "exchange/commandcontext.h"
#include "exchange/exchangemesh.h"
#include "framework/commandresult.h"
#include "framework/file.h"

// The commands that move bitmaps and models in and out of the data file.
// Each acts on its context alone and says how it ended; intermediate
// messages (the path it is about to use) go straight to the context's UI.

fw::CommandResult ViewBitmap(const CommandContext& context);
fw::CommandResult ExportBitmap(const CommandContext& context);
fw::CommandResult ImportBitmap(const CommandContext& context);
fw::CommandResult ViewModel(const CommandContext& context);
fw::CommandResult ExportModel(const CommandContext& context);
fw::CommandResult ImportModel(const CommandContext& context);
// The bank's models, then its bitmaps, each into its own file.
fw::CommandResult ExportAll(const CommandContext& context);
// For the root: every bank as Export All, each into a folder of its own
// (model names repeat across banks).
fw::CommandResult ExportAllBanks(const CommandContext& context);
// For a bank or the root: every model and bitmap whose file in the export
// folder differs from what exporting it now would write is read back in;
// one summary at the end. A cancel puts back every byte it changed.
fw::CommandResult ImportAll(const CommandContext& context);

// The steps under the commands, for a model record that starts `model`
// (the span reaches to the end of the image).
fw::CommandResult WriteDxf(fw::File& file, std::span<const uint8_t> model, uint32_t offset, uint32_t size);
fw::CommandResult WriteModel3dsFile(const std::filesystem::path& path, const ExportedModel& model);
fw::CommandResult ExportModelToFile(const std::filesystem::path& path, std::span<const uint8_t> model,
                                    const std::string& modelName, const TextureNames& textures);
fw::CommandResult ImportModelFromFile(const std::filesystem::path& path, std::span<uint8_t> model, uint32_t recordSize,
                                      const TextureNames& textures);

inline constexpr const char* kInvalidModel = "Invalid model. Cannot export";
inline constexpr const char* kInvalidModelCaption = "Pallix";
