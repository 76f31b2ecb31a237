#pragma once
#include <filesystem>
#include <functional>
#include <span>

#include "exchange/commands/commandcontext.h"
#include "exchange/commands/commandstatus.h"
#include "exchange/formats/exchangemesh.h"
#include "framework/commandresult.h"
#include "framework/expected.h"

// What an export or import of a model works on: the model's record, the
// bank's bitmaps after it and their texture names, and its file.
struct ModelJobTarget {
    ItemRecord record;
    TextureNames textures;
    std::vector<ItemRecord> bitmaps;  // the records the textures name
    std::filesystem::path path;
};

// The target of a model command, announced under the caption (as a file
// the command writes or reads) while paths are announced, or why not: the item has no record or no bitmap follows it.
// The file is named after the model, with the extension given.
fw::Expected<ModelJobTarget> PrepareModelJob(const CommandContext& context, const char* noSiblingMessage,
                                             const char* announceCaption, FileUse use, const char* extension);
// A target's refusal as the command shows it.
fw::CommandResult TargetRefused(const fw::Refusal& refusal);

// The target's model as the writers take it, with the stored files of the
// bitmaps it shows; refused (kInvalidModel) when its arrays are damaged.
fw::Expected<ExportedModel> ModelToExport(const CommandContext& context, const ModelJobTarget& target);

// The file stem of the model at `item` among a bank's items: names that are
// alike once made safe never share a file.
std::string ModelStemInBank(const std::vector<ItemRecord>& bankItems, size_t item);

// The image from the record's start to its end.
std::span<uint8_t> ModelBytes(CPallixDoc& document, const ItemRecord& record);

inline constexpr const char* kInvalidModel = "Invalid model. Cannot export";
inline constexpr const char* kInvalidModelCaption = "Pallix";
