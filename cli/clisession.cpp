#include "cli/clisession.h"

#include <algorithm>
#include <ostream>
#include <string_view>

#include "browser/popupmenus.h"
#include "cli/itempath.h"
#include "cli/listing.h"
#include "exchange/formats/bitmapformats.h"
#include "exchange/model/modelformattable.h"
#include "framework/modulepath.h"

namespace {

CPallixView::ModulePathSource ModulePathFor(const CliInvocation& invocation) {
    if (!invocation.programDir) return [] { return fw::ModulePath(); };
    // The program is taken to live in the given folder.
    const auto program = *invocation.programDir / fw::ModulePath().filename();
    return [program] { return std::filesystem::absolute(program); };
}

// The command of that action name that a right click on the item offers
// enabled, as in the desktop program; null when there is none.
const CommandRow* OfferedCommand(const CPallixView& view, fw::TreeItem* item, const std::string& action) {
    const auto& entries = PopupMenuResource(view.PopupMenuFor(item)).items;
    for (const fw::MenuItem& entry : entries) {
        const CommandRow* command = FindCommand(entry.id);
        if (command && command->cliAction && action == command->cliAction && view.HasHandler(entry.id)) return command;
    }
    return nullptr;
}

// The format named on the command line as the choice a user would pick,
// from the table the command asks from.
std::optional<size_t> FormatChoice(const CommandRow& command, const std::string& format) {
    if (command.argument == ActionArgument::bitmapFormatAndItemPath) {
        const auto formats = BitmapFormats();
        for (size_t k = 0; k < formats.size(); ++k)
            if (format == formats[k].word) return k;
        return std::nullopt;
    }
    const auto formats = ModelFormats();
    for (size_t k = 0; k < formats.size(); ++k)
        if (format == formats[k].name) return k;
    return std::nullopt;
}

void PrintPopup(std::ostream& out, const CPallixView& view, int menuId) {
    if (!menuId) {
        out << "menu: none\n";
        return;
    }
    const fw::PopupMenu& menu = PopupMenuResource(menuId);
    out << "menu: " << menu.title << '\n';
    for (const fw::MenuItem& entry : menu.items) {
        if (entry.IsSeparator()) continue;
        out << "  " << entry.id << '\t' << entry.text << '\t' << (view.HasHandler(entry.id) ? "enabled" : "disabled")
            << '\n';
    }
}

}  // namespace

std::span<const CliSession::OwnAction> CliSession::OwnActions() {
    static const OwnAction actions[] = {
        {"tree", ActionArgument::none, &CliSession::PrintTree},
        {"records", ActionArgument::none, &CliSession::PrintRecords},
        {"stats", ActionArgument::none, &CliSession::PrintStats},
        {"modified", ActionArgument::none, &CliSession::PrintModified},
        {"save", ActionArgument::optionalOutput, &CliSession::Save},
        {"expand", ActionArgument::itemPath, &CliSession::Expand},
        {"collapse", ActionArgument::itemPath, &CliSession::Collapse},
        {"menu", ActionArgument::itemPath, &CliSession::PrintMenu},
    };
    return actions;
}

CliSession::CliSession(const CliInvocation& invocation, std::ostream& out, std::ostream& err)
    : invocation_(invocation),
      out_(out),
      err_(err),
      ui_(out, invocation.performShell),
      document_(ui_),
      view_(document_, ui_, ModulePathFor(invocation)),
      template_(document_, view_, ui_) {
    view_.SetExportFolder(invocation.exportDir);
    view_.Exports().KeepInDataFolder();
}

int CliSession::Run() {
    if (!template_.OpenDocumentFile(invocation_.file)) return 1;
    for (const CliAction& action : invocation_.actions) {
        if (!RunAction(action)) return 1;
    }
    return importRefused_ ? 1 : 0;
}

bool CliSession::RunAction(const CliAction& action) {
    const auto own = OwnActions();
    const auto found =
        std::find_if(own.begin(), own.end(), [&](const OwnAction& candidate) { return action.name == candidate.name; });
    return found != own.end() ? (this->*found->run)(action) : RunCommand(action);
}

fw::TreeItem* CliSession::ItemOf(const CliAction& action) {
    fw::TreeItem* item = ResolveItemPath(view_.GetTreeCtrl(), action.argument);
    if (!item) err_ << "pallix-cli: no item at " << action.argument << '\n';
    return item;
}

bool CliSession::RunCommand(const CliAction& action) {
    fw::TreeItem* item = ItemOf(action);
    if (!item) return false;
    const CommandRow* command = OfferedCommand(view_, item, action.name);
    if (!command) {
        err_ << "pallix-cli: " << action.name << " is not offered for the item at " << action.argument << '\n';
        return false;
    }
    view_.SetContextItem(item);
    ui_.AnswerChoicesWith(FormatChoice(*command, action.format));
    view_.OnCommand(command->id);
    ui_.AnswerChoicesWith(std::nullopt);
    // A refused import lets the batch go on, as in the window, but the batch
    // must still learn that a file it meant to read in was not.
    if (view_.LastResult().Refused() && std::string_view(command->cliAction).starts_with("import"))
        importRefused_ = true;
    return !view_.LastResult().Failed();
}

bool CliSession::PrintTree(const CliAction&) {
    ::PrintTree(out_, view_.GetTreeCtrl());
    return true;
}

bool CliSession::PrintRecords(const CliAction&) {
    ::PrintRecords(out_, view_.GetTreeCtrl());
    return true;
}

bool CliSession::PrintStats(const CliAction&) {
    ::PrintStats(out_, view_.GetTreeCtrl());
    return true;
}

bool CliSession::PrintModified(const CliAction&) {
    out_ << "modified: " << (document_.IsModified() ? "yes" : "no") << '\n';
    return true;
}

bool CliSession::Save(const CliAction& action) {
    return template_.DoSave(action.argument.empty() ? document_.GetPathName() : action.argument);
}

bool CliSession::Expand(const CliAction& action) {
    fw::TreeItem* item = ItemOf(action);
    if (item) view_.GetTreeCtrl().Expand(item, fw::TreeControl::ExpandAction::expand);
    return item;
}

bool CliSession::Collapse(const CliAction& action) {
    fw::TreeItem* item = ItemOf(action);
    if (item) view_.GetTreeCtrl().Expand(item, fw::TreeControl::ExpandAction::collapse);
    return item;
}

bool CliSession::PrintMenu(const CliAction& action) {
    fw::TreeItem* item = ItemOf(action);
    if (!item) return false;
    view_.SetContextItem(item);
    PrintPopup(out_, view_, view_.PopupMenuFor(item));
    view_.GetTreeCtrl().ClearDropHighlight(item);
    return true;
}
