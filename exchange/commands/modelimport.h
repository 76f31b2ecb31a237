#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include "exchange/commands/commandcontext.h"
#include "exchange/formats/exchangemesh.h"
#include "exchange/threeds/read3ds.h"
#include "framework/commandresult.h"

// The model read back from its 3DS file in the export folder.
fw::CommandResult ImportModel(const CommandContext& context);

// A model's import from the file of that extension through the format's
// reader, under the rules every format shares.
using MeshReader = ImportedFile (*)(const std::filesystem::path& path);

// The step under the command, for a model record that starts `model` (the
// span reaches to the end of the image, or of a copy of the record).
fw::CommandResult ImportModelFromFile(const std::filesystem::path& path, std::span<uint8_t> model, uint32_t recordSize,
                                      const TextureNames& textures, MeshReader read = ReadImported3ds);
fw::CommandResult ImportModelWith(const CommandContext& context, MeshReader read, const char* extension);
