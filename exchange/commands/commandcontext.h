#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "datafile/itemrecord.h"
#include "datafile/pallixdoc.h"
#include "exchange/files/exportledger.h"
#include "framework/commandresult.h"
#include "framework/uiservices.h"

// What a command of the record tree acts on, taken when the command starts.
// The records come by value, so nothing that happens while a dialog is open
// can pull them away under the command. Filled by name (designated
// initialisers), as several fields share a type.
struct CommandContext {
    CPallixDoc& document;
    fw::UiServices& ui;
    // The item's record; none for the root.
    std::optional<ItemRecord> record{};
    // The records of the items after the one that owns the record (a leaf's
    // parent, or the item itself), under the same parent, in tree order.
    std::vector<ItemRecord> following{};
    // The records of the item's children, in tree order.
    std::vector<ItemRecord> children{};
    // A model's file name without its extension, its own among the bank's
    // models.
    std::string modelStem{};
    // Where the bitmaps lie that repeat the item's bitmap.
    std::vector<uint32_t> copies{};
    std::filesystem::path exportFolder{};
    std::filesystem::path programDir{};
    // Whether a command shows the path of the file it exports or imports.
    bool announcePaths = true;
    // For a bank or the root: every bitmap of the file that repeats another
    // (its nCopyOf names the one it repeats).
    std::vector<ItemRecord> repeats{};
    // For the root: the context of each bank, as a right click on it gives.
    std::vector<CommandContext> banks{};
    // What the exports wrote, kept by the view; every context a view makes
    // has it.
    ExportLedger* ledger = nullptr;
    // The file an import reads when the user named one (dropped it on the
    // item); empty: the item's own file in the export folder.
    std::filesystem::path chosenFile{};
};

// The refusal of a command on an item that has no record.
inline fw::CommandResult NoDataRefusal() {
    return fw::CommandResult::Refused("No data associated with item.\n", "Bugger");
}
