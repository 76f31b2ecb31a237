#include "clisession.h"

#include <ostream>

#include "itempath.h"
#include "listing.h"
#include "modulepath.h"

namespace {

CPallixView::ModulePathSource ModulePathFor(const CliInvocation& invocation) {
    if (!invocation.programDir) return [] { return fw::ModulePath(); };
    // The program is taken to live in the given folder.
    const auto program = *invocation.programDir / fw::ModulePath().filename();
    return [program] { return std::filesystem::absolute(program); };
}

}  // namespace

CliSession::CliSession(const CliInvocation& invocation, std::ostream& out, std::ostream& err)
    : invocation_(invocation),
      out_(out),
      err_(err),
      ui_(out, invocation.performShell),
      document_(ui_),
      view_(document_, ui_, ModulePathFor(invocation)),
      template_(document_, view_, ui_) {}

int CliSession::Run() {
    if (!template_.OpenDocumentFile(invocation_.file)) return 1;
    for (const CliAction& action : invocation_.actions) {
        if (!RunAction(action)) return 1;
    }
    return 0;
}

bool CliSession::RunAction(const CliAction& action) {
    fw::TreeControl& tree = view_.GetTreeCtrl();
    if (action.name == "tree") PrintTree(out_, tree);
    else if (action.name == "records") PrintRecords(out_, tree);
    else if (action.name == "stats") PrintStats(out_, tree);
    else if (action.name == "modified") out_ << "modified: " << (document_.IsModified() ? "yes" : "no") << '\n';
    else if (action.name == "save") return template_.DoSave(action.argument.empty() ? document_.GetPathName() : action.argument);
    else {
        fw::TreeItem* item = ResolveItemPath(tree, action.argument);
        if (!item) {
            err_ << "pallix-cli: no item at " << action.argument << '\n';
            return false;
        }
        return RunItemAction(action, item);
    }
    return true;
}

bool CliSession::RunItemAction(const CliAction& action, fw::TreeItem* item) {
    fw::TreeControl& tree = view_.GetTreeCtrl();
    if (action.name == "expand") tree.Expand(item, fw::TreeControl::ExpandAction::expand);
    else if (action.name == "collapse") tree.Expand(item, fw::TreeControl::ExpandAction::collapse);
    else {
        err_ << "pallix-cli: " << action.name << " is not available yet\n";
        return false;
    }
    return true;
}
