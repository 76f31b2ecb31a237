#pragma once
#include <optional>

// What every program answers to --help and --version as its first argument:
// the usage text or "NAME VERSION" on standard output, and exit status 0.
struct ProgramInfo {
    const char* name;
    const char* usage;  // ends with a newline
};

// The exit status when the first argument asks for help or the version;
// nullopt when the program should go on as usual.
std::optional<int> AnswerInfoRequest(const ProgramInfo& program, int argc, char** argv);
