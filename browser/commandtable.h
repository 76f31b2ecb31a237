#pragma once
#include <span>

#include "framework/commandresult.h"

struct CommandContext;

// The popup menus of the tree that offer a command, as bits.
enum PopupMask : unsigned {
    kInBitmapPopup = 1u << 0,
    kInBfpPopup = 1u << 1,
    kInModelPopup = 1u << 2,
    kInBankPopup = 1u << 3,
    kInEveryPopup = kInBitmapPopup | kInBfpPopup | kInModelPopup | kInBankPopup,
};

// How pallix-cli takes the argument of an action: a model format (3ds,
// gltf, ...) or a bitmap format (bmp, png) before the path.
enum class ActionArgument { none, itemPath, optionalOutput, formatAndItemPath, bitmapFormatAndItemPath };

// One command of the tree: everything the popups, the view's dispatch,
// pallix-cli and its usage text know of it, and its body, which runs on the
// context the view takes when the command starts. A command without a body
// is offered, but disabled.
struct CommandRow {
    int id = 0;
    const char* menuText = nullptr;
    unsigned popups = 0;
    const char* cliAction = nullptr;  // not on the command line when null
    ActionArgument argument = ActionArgument::none;
    fw::CommandResult (*run)(const CommandContext& context) = nullptr;
};

// The rows in the order the popups list them.
std::span<const CommandRow> CommandTable();
// The row of a command id; null for an id that is no command of the tree.
const CommandRow* FindCommand(int commandId);
