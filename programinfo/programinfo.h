#pragma once
#include <optional>

// What every program answers to --help and --version as its first argument:
// the usage text or "NAME VERSION" on standard output, and exit status 0.
struct ProgramInfo {
    const char* name;
    const char* usage;  // ends with a newline
    // A desktop program, which Windows starts without a console, reaches the
    // one it was started from with this before it answers (fw::os::AttachParentConsole).
    void (*reachConsole)() = nullptr;
};

// The exit status when the first argument asks for help or the version;
// nullopt when the program should go on as usual.
std::optional<int> AnswerInfoRequest(const ProgramInfo& program, int argc, char** argv);
