#include "programinfo/programinfo.h"

#include <cstdio>
#include <cstring>

#include "pallixversion.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// A desktop program on Windows starts without a console; the answer goes to
// the one it was started from, if any.
void ReachStartingConsole() {
#ifdef _WIN32
    if (GetConsoleWindow() == nullptr && AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::FILE* reopened = nullptr;
        freopen_s(&reopened, "CONOUT$", "w", stdout);
    }
#endif
}

}  // namespace

std::optional<int> AnswerInfoRequest(const ProgramInfo& program, int argc, char** argv) {
    if (argc < 2) return std::nullopt;
    const bool help = std::strcmp(argv[1], "--help") == 0;
    const bool version = std::strcmp(argv[1], "--version") == 0;
    if (!help && !version) return std::nullopt;
    ReachStartingConsole();
    if (help)
        std::fputs(program.usage, stdout);
    else
        std::printf("%s %s\n", program.name, pallix::kVersion);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
