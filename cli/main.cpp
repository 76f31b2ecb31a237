// pallix-cli: the data manager's document, tree and commands from the
// command line, for batch work and scripted tests.
#include <iostream>
#include <string>
#include <vector>

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "framework/os.h"
#include "programinfo/programinfo.h"

int main(int argc, char** argv) {
    if (const auto status = AnswerInfoRequest({"pallix-cli", CliUsage().c_str()}, argc, argv)) return *status;
    fw::os::UseUtf8Console();
    std::string error;
    const auto invocation = ParseCommandLine(fw::os::ProgramArguments(argc, argv), error);
    if (!invocation) {
        std::cerr << "pallix-cli: " << error << '\n' << CliUsage();
        return 2;
    }
    CliSession session(*invocation, std::cout, std::cerr);
    return session.Run();
}
