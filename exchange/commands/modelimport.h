#pragma once
#include <cstdint>
#include <filesystem>
#include <span>

#include "exchange/commands/commandcontext.h"
#include "exchange/formats/exchangemesh.h"
#include "exchange/model/modelformattable.h"
#include "framework/commandresult.h"

// The model read back from its 3DS file in the export folder, or from its
// file in any format of the table, under the rules every format shares.
fw::CommandResult ImportModel(const CommandContext& context);
fw::CommandResult ImportModelFrom(const CommandContext& context, const ModelFormat& format);

// The step under the commands, for a model record that starts `model` (the
// span reaches to the end of the image).
fw::CommandResult ImportModelFromFile(const ModelFormat& format, const std::filesystem::path& path,
                                      std::span<uint8_t> model, uint32_t recordSize, const TextureNames& textures);
