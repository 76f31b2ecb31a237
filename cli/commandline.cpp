#include "commandline.h"

#include <map>

#include "pathtext.h"

const char* const kCliUsage =
    "usage: pallix-cli [--program-dir DIR] [--shell] FILE [ACTION ...]\n"
    "actions: tree | records | stats | modified | save [OUT] | expand PATH | collapse PATH |\n"
    "         menu PATH | view-bitmap PATH | export-bitmap PATH | import-bitmap PATH |\n"
    "         view-model PATH | export-model PATH | import-model PATH | export-all PATH\n"
    "PATH: '.' for the root, else child indexes from the root joined by '/' (0/2/1)\n";

std::optional<ActionArgument> ArgumentOf(const std::string& action) {
    static const std::map<std::string, ActionArgument> actions = {
        {"tree", ActionArgument::none},
        {"records", ActionArgument::none},
        {"stats", ActionArgument::none},
        {"modified", ActionArgument::none},
        {"save", ActionArgument::optionalOutput},
        {"expand", ActionArgument::itemPath},
        {"collapse", ActionArgument::itemPath},
        {"menu", ActionArgument::itemPath},
        {"view-bitmap", ActionArgument::itemPath},
        {"export-bitmap", ActionArgument::itemPath},
        {"import-bitmap", ActionArgument::itemPath},
        {"view-model", ActionArgument::itemPath},
        {"export-model", ActionArgument::itemPath},
        {"import-model", ActionArgument::itemPath},
        {"export-all", ActionArgument::itemPath},
    };
    const auto found = actions.find(action);
    if (found == actions.end()) return std::nullopt;
    return found->second;
}

namespace {

bool ParseOptions(const std::vector<std::string>& words, size_t& i, CliInvocation& invocation, std::string& error) {
    for (; i < words.size() && words[i].rfind("--", 0) == 0; ++i) {
        if (words[i] == "--shell") {
            invocation.performShell = true;
        } else if (words[i] == "--program-dir" && i + 1 < words.size()) {
            invocation.programDir = fw::PathFromUtf8(words[++i]);
        } else {
            error = "unknown option or missing value: " + words[i];
            return false;
        }
    }
    return true;
}

bool ParseActions(const std::vector<std::string>& words, size_t i, CliInvocation& invocation, std::string& error) {
    while (i < words.size()) {
        CliAction action{words[i++], {}};
        const auto argument = ArgumentOf(action.name);
        if (!argument) {
            error = "unknown action: " + action.name;
            return false;
        }
        if (*argument == ActionArgument::itemPath) {
            if (i >= words.size()) {
                error = action.name + " needs a PATH";
                return false;
            }
            action.argument = words[i++];
        } else if (*argument == ActionArgument::optionalOutput && i < words.size() && !ArgumentOf(words[i])) {
            action.argument = words[i++];
        }
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
