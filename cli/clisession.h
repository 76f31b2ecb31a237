#pragma once
#include <iosfwd>
#include <span>

#include "browser/commandtable.h"
#include "browser/pallixview.h"
#include "cli/commandline.h"
#include "cli/consoleui.h"
#include "datafile/pallixdoc.h"
#include "framework/doctemplate.h"

// One run of pallix-cli: the same document, view and template as the
// desktop program, driven by the actions of the command line.
class CliSession {
public:
    // An action of pallix-cli's own; the tree's commands come from the
    // command table.
    struct OwnAction {
        const char* name;
        ActionArgument argument;
        bool (CliSession::*run)(const CliAction& action);
    };
    static std::span<const OwnAction> OwnActions();

    CliSession(const CliInvocation& invocation, std::ostream& out, std::ostream& err);

    // The exit status: 0 when every action ran, 1 when the file could not be
    // loaded, a path names no item, a command was refused or a job failed.
    int Run();

private:
    bool RunAction(const CliAction& action);
    bool RunCommand(const CliAction& action);
    // The item at the action's PATH; null, after saying so, when there is none.
    fw::TreeItem* ItemOf(const CliAction& action);

    bool PrintTree(const CliAction& action);
    bool PrintRecords(const CliAction& action);
    bool PrintStats(const CliAction& action);
    bool PrintModified(const CliAction& action);
    bool Save(const CliAction& action);
    bool Expand(const CliAction& action);
    bool Collapse(const CliAction& action);
    bool PrintMenu(const CliAction& action);

    const CliInvocation& invocation_;
    std::ostream& out_;
    std::ostream& err_;
    ConsoleUi ui_;
    CPallixDoc document_;
    CPallixView view_;
    fw::SingleDocTemplate template_;
    // An import refused a file: the run ends with status 1 after all.
    bool importRefused_ = false;
};
