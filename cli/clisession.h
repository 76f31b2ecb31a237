#pragma once
#include <iosfwd>

#include "commandline.h"
#include "consoleui.h"
#include "doctemplate.h"
#include "pallixdoc.h"
#include "pallixview.h"

// One run of pallix-cli: the same document, view and template as the
// desktop program, driven by the actions of the command line.
class CliSession {
public:
    CliSession(const CliInvocation& invocation, std::ostream& out, std::ostream& err);

    // The exit status: 0 when every action ran, 1 when the file could not be
    // loaded, a path names no item or a job failed.
    int Run();

private:
    bool RunAction(const CliAction& action);
    bool RunItemAction(const CliAction& action, fw::TreeItem* item);

    const CliInvocation& invocation_;
    std::ostream& out_;
    std::ostream& err_;
    ConsoleUi ui_;
    CPallixDoc document_;
    CPallixView view_;
    fw::SingleDocTemplate template_;
};
