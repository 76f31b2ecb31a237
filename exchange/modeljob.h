#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <span>

#include "exchange/commandcontext.h"
#include "exchange/commandstatus.h"
#include "exchange/exchangemesh.h"
#include "framework/commandresult.h"

// What an export or import of a model works on: the model's record, the
// bank's bitmaps after it and their texture names, and its file.
struct ModelJobTarget {
    ItemRecord record;
    TextureNames textures;
    std::vector<ItemRecord> bitmaps;  // the records the textures name
    std::filesystem::path path;
};

// The target of a model command, announced under the caption while paths
// are announced; nothing, with the refusal to show, when the item has no
// record or no bitmap follows it.
// The file is named after the model, with the extension given.
std::optional<ModelJobTarget> PrepareModelJob(const CommandContext& context, const char* noSiblingMessage,
                                              const char* announceCaption, FileUse use, fw::CommandResult& refusal,
                                              const char* extension = ".3ds");

// The file stem of the model at `item` among a bank's items: names that are
// alike once made safe never share a file.
std::string ModelStemInBank(const std::vector<ItemRecord>& bankItems, size_t item);

// A model's import from the file of that extension through the format's
// reader, under the rules every format shares. The 3DS import marks the
// document modified whatever it read, as it always has; the other formats
// only when the model changed.
using MeshReader = ImportedFile (*)(const std::filesystem::path& path);
struct ModelImportFormat {
    MeshReader read;
    const char* extension;
    std::string announceCaption;
    bool modifiesWhenUnchanged;
};
fw::CommandResult ImportModelWith(const CommandContext& context, const ModelImportFormat& format);

// Export All with the given export of each model.
using ModelExport = std::function<fw::CommandResult(const CommandContext&)>;
fw::CommandResult ExportAllWith(const CommandContext& context, const ModelExport& exportModel);

// The image from the record's start to its end.
std::span<uint8_t> ModelBytes(CPallixDoc& document, const ItemRecord& record);
