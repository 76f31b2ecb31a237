#pragma once
#include <optional>
#include <span>
#include <string>

#include "exchange/commands/commandcontext.h"
#include "exchange/commands/modelimport.h"
#include "framework/commandresult.h"

// Models in the formats today's 3-D editors prefer, beside 3DS: the same
// export folder, the same file names, the same import rules.
enum class ModelFormat { threeDs, gltf, glb, obj };

struct ModelFormatInfo {
    ModelFormat format;
    const char* name;       // as pallix-cli takes it
    const char* label;      // as the user picks it
    const char* extension;  // of the model's file
};
std::span<const ModelFormatInfo> ModelFormats();
std::optional<ModelFormat> ModelFormatNamed(const std::string& name);

// The reader of the format's files.
MeshReader ReaderOf(ModelFormat format);

fw::CommandResult ExportModelAs(const CommandContext& context, ModelFormat format);
fw::CommandResult ImportModelFrom(const CommandContext& context, ModelFormat format);
// The bank's models in the format, then its bitmaps as BMP files; for the
// root, every bank so, each into a folder of its own.
fw::CommandResult ExportAllAs(const CommandContext& context, ModelFormat format);
