#include "resources/shellresources.h"

#include <map>

#include "framework/commandids.h"

namespace res {

namespace {

constexpr int kSeparator = 0;

}  // namespace

const std::vector<fw::PopupMenu>& MainMenu() {
    static const std::vector<fw::PopupMenu> menu = {
        {kMainMenuId,
         "&File",
         {{cmd::kFileNew, "&New\tCtrl+N"},
          {cmd::kFileOpen, "&Open...\tCtrl+O"},
          {cmd::kFileSave, "&Save\tCtrl+S"},
          {cmd::kFileSaveAs, "Save &As..."},
          {kSeparator, {}},
          {kSeparator, {}},
          {cmd::kFileMruFirst, "Recent File"},
          {kSeparator, {}},
          {cmd::kAppExit, "E&xit"}}},
        {kMainMenuId, "&View", {{cmd::kViewToolbar, "&Toolbar"}, {cmd::kViewStatusBar, "&Status Bar"}}},
        {kMainMenuId, "&Help", {{cmd::kAppAbout, "&About Pallix..."}}},
    };
    return menu;
}

const std::vector<int>& ToolbarButtons() {
    static const std::vector<int> buttons = {
        cmd::kFileNew,  cmd::kFileOpen,  cmd::kFileSave, kSeparator,      cmd::kEditCut,
        cmd::kEditCopy, cmd::kEditPaste, kSeparator,     cmd::kFilePrint, cmd::kAppAbout,
    };
    return buttons;
}

const std::vector<Accelerator>& Accelerators() {
    static const std::vector<Accelerator> keys = {
        {"Ctrl+N", cmd::kFileNew},    {"Ctrl+O", cmd::kFileOpen},   {"Ctrl+S", cmd::kFileSave},
        {"Ctrl+P", cmd::kFilePrint},  {"Ctrl+Z", cmd::kEditUndo},   {"Alt+Backspace", cmd::kEditUndo},
        {"Ctrl+X", cmd::kEditCut},    {"Shift+Del", cmd::kEditCut}, {"Ctrl+C", cmd::kEditCopy},
        {"Ctrl+Ins", cmd::kEditCopy}, {"Ctrl+V", cmd::kEditPaste},  {"Shift+Ins", cmd::kEditPaste},
        {"F6", cmd::kNextPane},       {"Shift+F6", cmd::kPrevPane},
    };
    return keys;
}

CommandPrompt PromptFor(int commandId) {
    static const std::map<int, CommandPrompt> prompts = {
        {cmd::kFileNew, {"Create a new document", "New"}},
        {cmd::kFileOpen, {"Open an existing document", "Open"}},
        {cmd::kFileSave, {"Save the active document", "Save"}},
        {cmd::kFileSaveAs, {"Save the active document with a new name", "Save As"}},
        {cmd::kFilePrintSetup, {"Change the printer and printing options", "Page Setup"}},
        {cmd::kFilePrint, {"Print the active document", "Print"}},
        {cmd::kFilePrintDirect, {"Print the active document without asking", "Print"}},
        {cmd::kFilePrintPreview, {"Display full pages", "Print Preview"}},
        {cmd::kEditCopy, {"Copy the selection and put it on the Clipboard", "Copy"}},
        {cmd::kEditCut, {"Cut the selection and put it on the Clipboard", "Cut"}},
        {cmd::kEditPaste, {"Insert Clipboard contents", "Paste"}},
        {cmd::kEditUndo, {"Undo the last action", "Undo"}},
        {cmd::kAppAbout, {"Display program information, version number and copyright", "About"}},
        {cmd::kAppExit, {"Quit the application; prompts to save documents", "Exit"}},
        {cmd::kNextPane, {"Switch to the next window pane", "Next Pane"}},
        {cmd::kPrevPane, {"Switch back to the previous window pane", "Previous Pane"}},
        {cmd::kViewToolbar, {"Show or hide the toolbar", "Toggle ToolBar"}},
        {cmd::kViewStatusBar, {"Show or hide the status bar", "Toggle StatusBar"}},
    };
    if (commandId >= cmd::kFileMruFirst && commandId <= cmd::kFileMruLast) return {"Open this document", ""};
    const auto found = prompts.find(commandId);
    return found == prompts.end() ? CommandPrompt{"", ""} : found->second;
}

}  // namespace res
