#include "cli/commandline.h"

#include <algorithm>

#include "cli/clisession.h"
#include "exchange/formats/bitmapformats.h"
#include "exchange/model/modelformattable.h"
#include "framework/pathtext.h"

namespace {

constexpr size_t kUsageWidth = 88;
const char* ArgumentWord(ActionArgument argument) {
    switch (argument) {
        case ActionArgument::itemPath: return " PATH";
        case ActionArgument::optionalOutput: return " [OUT]";
        case ActionArgument::formatAndItemPath:
        case ActionArgument::bitmapFormatAndItemPath: return " FORMAT PATH";
        default: return "";
    }
}

std::optional<ActionArgument> ArgumentOfIn(const std::vector<CliActionName>& names, const std::string& action) {
    const auto found = std::find_if(names.begin(), names.end(),
                                    [&](const CliActionName& candidate) { return candidate.name == action; });
    if (found == names.end()) return std::nullopt;
    return found->argument;
}

}  // namespace

const std::vector<CliActionName>& CliActionNames() {
    static const std::vector<CliActionName> names = [] {
        std::vector<CliActionName> all;
        for (const auto& own : CliSession::OwnActions()) all.push_back({own.name, own.argument});
        for (const CommandRow& command : CommandTable()) {
            if (command.cliAction && !ArgumentOfIn(all, command.cliAction))
                all.push_back({command.cliAction, command.argument});
        }
        return all;
    }();
    return names;
}

std::optional<ActionArgument> ArgumentOf(const std::string& action) { return ArgumentOfIn(CliActionNames(), action); }

std::string CliUsage() {
    std::string usage =
        "usage: pallix-cli [--program-dir DIR] [--export-dir DIR] [--shell] FILE [ACTION ...]\n"
        "       pallix-cli --help | --version\n";
    std::string line = "actions:";
    const auto& names = CliActionNames();
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string word =
            " " + names[i].name + ArgumentWord(names[i].argument) + (i + 1 < names.size() ? " |" : "");
        if (line.size() + word.size() > kUsageWidth) {
            usage += line + "\n";
            line = "        ";
        }
        line += word;
    }
    std::string formats, bitmapFormats;
    for (const ModelFormat& format : ModelFormats()) formats += std::string(formats.empty() ? "" : " | ") + format.name;
    for (const BitmapFormat& format : BitmapFormats())
        bitmapFormats += std::string(bitmapFormats.empty() ? "" : " | ") + format.word;
    return usage + line + "\nPATH: '.' for the root, else child indexes from the root joined by '/' (0/2/1)\n" +
           "FORMAT: " + formats + " (models); " + bitmapFormats + " (bitmaps)\n";
}

namespace {

bool ParseOptions(const std::vector<std::string>& words, size_t& i, CliInvocation& invocation, std::string& error) {
    for (; i < words.size() && words[i].rfind("--", 0) == 0; ++i) {
        if (words[i] == "--shell") {
            invocation.performShell = true;
        } else if (words[i] == "--program-dir" && i + 1 < words.size()) {
            invocation.programDir = fw::PathFromUtf8(words[++i]);
        } else if (words[i] == "--export-dir" && i + 1 < words.size()) {
            invocation.exportDir = std::filesystem::absolute(fw::PathFromUtf8(words[++i]));
        } else {
            error = "unknown option or missing value: " + words[i];
            return false;
        }
    }
    return true;
}

bool KnownFormat(ActionArgument argument, const std::string& word) {
    if (argument == ActionArgument::formatAndItemPath) return ModelFormatNamed(word) != nullptr;
    return BitmapFormatByWord(word) != nullptr;
}

// Takes the words an action's argument needs; false, saying why, when they
// are missing or wrong.
bool TakeArguments(const std::vector<std::string>& words, size_t& i, ActionArgument argument, CliAction& action,
                   std::string& error) {
    const bool formatFirst =
        argument == ActionArgument::formatAndItemPath || argument == ActionArgument::bitmapFormatAndItemPath;
    if (formatFirst) {
        if (i < words.size() && !KnownFormat(argument, words[i])) {
            error = action.name + ": unknown FORMAT " + words[i];
            return false;
        }
        if (i < words.size()) action.format = words[i++];
    }
    if (argument == ActionArgument::itemPath || formatFirst) {
        if (i >= words.size()) {
            error =
                action.name + (argument == ActionArgument::itemPath ? " needs a PATH" : " needs a FORMAT and a PATH");
            return false;
        }
        action.argument = words[i++];
    } else if (argument == ActionArgument::optionalOutput && i < words.size() && !ArgumentOf(words[i])) {
        action.argument = words[i++];
    }
    return true;
}

bool ParseActions(const std::vector<std::string>& words, size_t i, CliInvocation& invocation, std::string& error) {
    while (i < words.size()) {
        CliAction action{words[i++], {}, {}};
        const auto argument = ArgumentOf(action.name);
        if (!argument) {
            error = "unknown action: " + action.name;
            return false;
        }
        if (!TakeArguments(words, i, *argument, action, error)) return false;
        invocation.actions.push_back(std::move(action));
    }
    return true;
}

}  // namespace

std::optional<CliInvocation> ParseCommandLine(const std::vector<std::string>& words, std::string& error) {
    CliInvocation invocation;
    size_t i = 0;
    if (!ParseOptions(words, i, invocation, error)) return std::nullopt;
    if (i >= words.size()) {
        error = "missing FILE";
        return std::nullopt;
    }
    invocation.file = words[i++];
    if (!ParseActions(words, i, invocation, error)) return std::nullopt;
    return invocation;
}
