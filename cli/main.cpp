// pallix-cli: the data manager's document, tree and commands from the
// command line, for batch work and scripted tests.
#include <iostream>
#include <string>
#include <vector>

#include "clisession.h"
#include "commandline.h"

int main(int argc, char** argv) {
    std::string error;
    const auto invocation = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!invocation) {
        std::cerr << "pallix-cli: " << error << '\n' << kCliUsage;
        return 2;
    }
    CliSession session(*invocation, std::cout, std::cerr);
    return session.Run();
}
