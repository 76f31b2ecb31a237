#include "clisession.h"

#include <algorithm>
#include <ostream>

#include "itempath.h"
#include "listing.h"
#include "commandids.h"
#include "modulepath.h"
#include "popupmenus.h"

namespace {

CPallixView::ModulePathSource ModulePathFor(const CliInvocation& invocation) {
    if (!invocation.programDir) return [] { return fw::ModulePath(); };
    // The program is taken to live in the given folder.
    const auto program = *invocation.programDir / fw::ModulePath().filename();
    return [program] { return std::filesystem::absolute(program); };
}

int CommandOfAction(const std::string& action) {
    if (action == "view-bitmap") return cmd::kBitmapView;
    if (action == "export-bitmap") return cmd::kBitmapExport;
    if (action == "import-bitmap") return cmd::kBitmapImport;
    if (action == "view-model") return cmd::kModelView;
    if (action == "export-model") return cmd::kModelExport;
    if (action == "import-model") return cmd::kModelImport;
    if (action == "export-all") return cmd::kBankExportAll;
    return 0;
}

// Only what a right click on the item offers, as in the desktop program.
bool IsOffered(const CPallixView& view, fw::TreeItem* item, int command) {
    const auto& entries = PopupMenuResource(view.PopupMenuFor(item)).items;
    return view.HasHandler(command) &&
           std::any_of(entries.begin(), entries.end(), [&](const fw::MenuItem& entry) { return entry.id == command; });
}

void PrintMenu(std::ostream& out, const CPallixView& view, int menuId) {
    if (!menuId) {
        out << "menu: none\n";
        return;
    }
    const fw::PopupMenu& menu = PopupMenuResource(menuId);
    out << "menu: " << menu.title << '\n';
    for (const fw::MenuItem& entry : menu.items) {
        if (entry.IsSeparator()) continue;
        out << "  " << entry.id << '\t' << entry.text << '\t' << (view.HasHandler(entry.id) ? "enabled" : "disabled") << '\n';
    }
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
    if (action.name == "expand") {
        tree.Expand(item, fw::TreeControl::ExpandAction::expand);
    } else if (action.name == "collapse") {
        tree.Expand(item, fw::TreeControl::ExpandAction::collapse);
    } else if (action.name == "menu") {
        view_.SetContextItem(item);
        PrintMenu(out_, view_, view_.PopupMenuFor(item));
        tree.ClearDropHighlight(item);
    } else {
        const int command = CommandOfAction(action.name);
        if (!IsOffered(view_, item, command)) {
            err_ << "pallix-cli: " << action.name << " is not offered for the item at " << action.argument << '\n';
            return false;
        }
        view_.SetContextItem(item);
        view_.OnCommand(command);
        return !view_.LastJobFailed();
    }
    return true;
}
