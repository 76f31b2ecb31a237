// The README's table of pallix-cli actions lists exactly the actions the
// program takes, so a new command cannot land undocumented.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>

#include "cli/commandline.h"

namespace {

// The first word of every `quoted` name in the first column of the table
// headed "| action | does |".
std::set<std::string> ActionsInReadme() {
    std::ifstream readme(std::filesystem::path(PALLIX_SOURCE_DIR) / "README.md");
    std::set<std::string> names;
    bool inTable = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("| action |", 0) == 0)
            inTable = true;
        else if (inTable && line.rfind("|", 0) != 0)
            break;
        if (!inTable) continue;
        const std::string firstCell = line.substr(0, line.find('|', 1));
        const std::regex quoted("`([a-z-]+)[^`]*`");
        for (std::sregex_iterator it(firstCell.begin(), firstCell.end(), quoted), end; it != end; ++it)
            names.insert((*it)[1]);
    }
    return names;
}

TEST(ReadmeActions, TheReadmeTableListsEveryActionOfTheCommandLineAndNoOther) {
    std::set<std::string> program;
    for (const auto& action : CliActionNames()) program.insert(action.name);
    EXPECT_EQ(ActionsInReadme(), program);
}

}  // namespace
