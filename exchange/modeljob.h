#pragma once
#include <filesystem>
#include <optional>
#include <span>

#include "commandcontext.h"
#include "commandresult.h"
#include "exchangemesh.h"

// What an export or import of a model works on: the model's record, the
// texture names of the bank's bitmaps after it, and its .3ds file.
struct ModelJobTarget {
    ItemRecord record;
    TextureNames textures;
    std::filesystem::path path;
};

// The target of a model command, announced under the caption while paths
// are announced; nothing, with the refusal to show, when the item has no
// record or no bitmap follows it.
std::optional<ModelJobTarget> PrepareModelJob(const CommandContext& context, const char* noSiblingMessage,
                                              const char* announceCaption, fw::CommandResult& refusal);

// The file stem of the model at `item` among a bank's items: names that are
// alike once made safe never share a file.
std::string ModelStemInBank(const std::vector<ItemRecord>& bankItems, size_t item);

// The image from the record's start to its end.
std::span<uint8_t> ModelBytes(CPallixDoc& document, const ItemRecord& record);
