#pragma once
#include <string>
#include <vector>

#include "framework/menu.h"

// The desktop program's resources that are plain data: the main menu, the
// toolbar, the accelerators and the status texts of the commands.
namespace res {

inline constexpr int kMainMenuId = 128;
inline constexpr size_t kRecentFileCount = 4;
inline constexpr int kMainWidth = 350;
inline constexpr int kMainHeight = 450;

inline constexpr const char* kAboutCaption = "About Pallix";
// %1 is the version, which the build takes from its one place.
inline constexpr const char* kAboutText = "Pallix Version %1";

// The main menu's popups in order; an entry with id 0 is a separator.
const std::vector<fw::PopupMenu>& MainMenu();

// Toolbar buttons in order, 0 for a separator. The n-th command of the list
// (separators not counted) shows the n-th picture of the toolbar strip.
const std::vector<int>& ToolbarButtons();

// One key combination of a command, written as in "Ctrl+N".
struct Accelerator {
    const char* keys;
    int commandId;
};
const std::vector<Accelerator>& Accelerators();

// What the status bar says while a command is pointed at, and its tool tip.
struct CommandPrompt {
    const char* statusText;
    const char* toolTip;
};
// The prompt of a command; empty texts for a command that has none.
CommandPrompt PromptFor(int commandId);

}  // namespace res
