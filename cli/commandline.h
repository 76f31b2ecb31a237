#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "browser/commandtable.h"

// pallix-cli [--program-dir DIR] [--export-dir DIR] [--shell] FILE [ACTION ...]
struct CliAction {
    std::string name;
    std::string argument;  // the PATH, or save's OUT; empty when there is none
    std::string format;    // the FORMAT of the actions that take one
};

struct CliInvocation {
    std::optional<std::filesystem::path> programDir;
    std::filesystem::path exportDir;  // empty: the folder the program chooses
    bool performShell = false;
    std::string file;
    std::vector<CliAction> actions;
};

// An action's name and how it takes its argument: pallix-cli's own actions,
// then the tree's commands in the order of the command table.
struct CliActionName {
    std::string name;
    ActionArgument argument;
};
const std::vector<CliActionName>& CliActionNames();

// How an action takes its argument; nullopt for a name that is no action.
std::optional<ActionArgument> ArgumentOf(const std::string& action);

// Parses the whole command line before anything runs, so that a usage error
// never leaves half the actions done. On error, says why in `error`.
std::optional<CliInvocation> ParseCommandLine(const std::vector<std::string>& words, std::string& error);

// The usage text, every action listed.
std::string CliUsage();
