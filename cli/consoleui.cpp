#include "cli/consoleui.h"

#include <ostream>

#include "framework/launch.h"
#include "framework/pathtext.h"

namespace {

std::string EscapeLineFeeds(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\n')
            escaped += "\\n";
        else
            escaped += c;
    }
    return escaped;
}

}  // namespace

fw::MessageResult ConsoleUi::ShowMessage(const std::string& text, const std::string& caption, fw::MessageStyle style) {
    out_ << "message [" << caption << "] " << EscapeLineFeeds(text) << '\n';
    // Nobody is there to answer, and a batch must not wait for anyone. A
    // question with a way out keeps things as they are; a yes-or-no question
    // (replace an export file changed since it was written?) is answered yes,
    // so a batch job replaces its files as it always has.
    switch (style.buttons) {
        case fw::MessageButtons::yesNoCancel: return fw::MessageResult::cancel;
        case fw::MessageButtons::yesNo: return fw::MessageResult::yes;
        default: return fw::MessageResult::ok;
    }
}

bool ConsoleUi::ShellOpen(const std::filesystem::path& file) {
    out_ << "shell: open " << fw::Utf8FromPath(file) << '\n';
    return !performShell_ || fw::OpenWithAssociatedProgram(file);
}

bool ConsoleUi::StartProgram(const std::filesystem::path& program, const std::string& parameter,
                             const std::filesystem::path& workingDirectory) {
    out_ << "shell: run " << fw::Utf8FromPath(program) << ' ' << parameter << " in "
         << fw::Utf8FromPath(workingDirectory) << '\n';
    return !performShell_ || fw::StartDetached(program, {parameter}, workingDirectory);
}
