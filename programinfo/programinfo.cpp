#include "programinfo/programinfo.h"

#include <cstdio>
#include <cstring>

#include "pallixversion.h"

std::optional<int> AnswerInfoRequest(const ProgramInfo& program, int argc, char** argv) {
    if (argc < 2) return std::nullopt;
    const bool help = std::strcmp(argv[1], "--help") == 0;
    const bool version = std::strcmp(argv[1], "--version") == 0;
    if (!help && !version) return std::nullopt;
    if (program.reachConsole) program.reachConsole();
    if (help)
        std::fputs(program.usage, stdout);
    else
        std::printf("%s %s\n", program.name, pallix::kVersion);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
