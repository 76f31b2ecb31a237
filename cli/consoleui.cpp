#include "consoleui.h"

#include <ostream>

#include "launch.h"
#include "pathtext.h"

namespace {

std::string EscapeLineFeeds(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\n') escaped += "\\n";
        else escaped += c;
    }
    return escaped;
}

}  // namespace

fw::MessageResult ConsoleUi::ShowMessage(const std::string& text, const std::string& caption,
                                         fw::MessageStyle style) {
    out_ << "message [" << caption << "] " << EscapeLineFeeds(text) << '\n';
    // A question nobody can answer keeps things as they are.
    return style.buttons == fw::MessageButtons::yesNoCancel ? fw::MessageResult::cancel : fw::MessageResult::ok;
}

void ConsoleUi::ShellOpen(const std::filesystem::path& file) {
    out_ << "shell: open " << fw::Utf8FromPath(file) << '\n';
    if (performShell_) fw::OpenWithAssociatedProgram(file);
}

void ConsoleUi::StartProgram(const std::filesystem::path& program, const std::string& parameter,
                             const std::filesystem::path& workingDirectory) {
    out_ << "shell: run " << fw::Utf8FromPath(program) << ' ' << parameter << " in " << fw::Utf8FromPath(workingDirectory) << '\n';
    if (performShell_) fw::StartDetached(program, {parameter}, workingDirectory);
}
