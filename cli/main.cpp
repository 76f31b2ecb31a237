// pallix-cli: the data manager's document, tree and commands from the
// command line, for batch work and scripted tests.
#include <iostream>
#include <string>
#include <vector>

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "framework/pathtext.h"
#include "programinfo/programinfo.h"

#ifdef _WIN32
#include <shellapi.h>
#include <windows.h>
#endif

namespace {

// The words after the program's name, as UTF-8 whatever the platform's
// code page: Windows hands wide ones to those who ask.
std::vector<std::string> Arguments(int argc, char** argv) {
#ifdef _WIN32
    (void)argc;
    (void)argv;
    SetConsoleOutputCP(CP_UTF8);
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> words;
    for (int i = 1; i < count; ++i) words.push_back(fw::Utf8FromPath(std::filesystem::path(wide[i])));
    LocalFree(wide);
    return words;
#else
    return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto status = AnswerInfoRequest({"pallix-cli", CliUsage().c_str()}, argc, argv)) return *status;
    std::string error;
    const auto invocation = ParseCommandLine(Arguments(argc, argv), error);
    if (!invocation) {
        std::cerr << "pallix-cli: " << error << '\n' << CliUsage();
        return 2;
    }
    CliSession session(*invocation, std::cout, std::cerr);
    return session.Run();
}
