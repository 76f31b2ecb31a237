// pallix-cli's output on the sample, compared with what it printed before:
// the exchange layer may change shape, but never what a user's batch job
// reads. PALLIX_UPDATE_GOLDEN=1 writes the expectation anew.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "tests/support/testfiles.h"

namespace {

const std::filesystem::path kGolden = std::filesystem::path(PALLIX_TESTDATA_DIR) / "cli" / "demo-golden.txt";

const std::vector<std::vector<std::string>> kCases = {
    {"tree", "records", "stats", "modified"},
    {"menu", ".", "menu", "0", "menu", "0/0", "menu", "0/0/0", "menu", "0/2", "menu", "0/2/1", "menu", "2/2"},
    {"expand", "0", "collapse", "0", "tree"},
    {"export-all", "0", "export-all", "1", "export-all", "2", "modified"},
    {"export-model", "0/0", "export-bitmap", "0/2", "export-model", "0/1/1", "import-model", "0/1/1", "modified"},
    {"view-bitmap", "0/3", "view-model", "0/1"},
    {"export-all", "0", "import-model", "0/0", "import-bitmap", "2/2", "modified", "save", "<DIR>/out.bfp", "records"},
    {"export-all", "."},
    {"import-model", "1/0"},
    {"export-bitmap", "0/0"},
    {"export-model", "0/2/0"},
    {"menu", "9"},
    {"import-bitmap", "1/1"},
    {"export-model-as", "gltf", "0/0", "import-model-from", "gltf", "0/0", "export-all-as", "obj", "2", "modified"},
    {"export-model-as", "glb", "1/0", "import-model-from", "obj", "1/0"},
    {"export-model-as", "fbx", "0/0"},
};

// Windows' paths ("<DIR>\\bfp\\demo", "C:\\...") print with "/" here, so one
// expectation serves both; a "\\n" in a message's text stays as it is.
std::string WithSlashes(std::string text) {
    if (std::filesystem::path::preferred_separator != '\\') return text;
    for (size_t at = 0; at < text.size(); ++at) {
        const bool drive = at + 2 < text.size() && std::isalpha(static_cast<unsigned char>(text[at])) &&
                           text[at + 1] == ':' && text[at + 2] == '\\';
        if (!drive && text.compare(at, 5, "<DIR>") != 0) continue;
        for (; at < text.size() && text[at] != ' ' && text[at] != '\n'; ++at)
            if (text[at] == '\\') text[at] = '/';
    }
    return text;
}

// Folders differ from run to run; what is printed about them does not.
std::string Normalised(std::string text, const std::filesystem::path& dir) {
    for (size_t at; (at = text.find(dir.string())) != std::string::npos;) text.replace(at, dir.string().size(), "<DIR>");
    text = WithSlashes(text);
    return std::regex_replace(text, std::regex("shell: (open|run) [^\n]*/([^/\n]+)"), "shell: $1 .../$2");
}

std::string ExportedFiles(const std::filesystem::path& folder) {
    std::vector<std::string> lines;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            lines.push_back(entry.path().lexically_relative(folder).generic_string() + " " +
                            std::to_string(entry.file_size()));
    }
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return text;
}

std::string RunCase(const std::vector<std::string>& actions) {
    TempDir dir;
    std::filesystem::copy_file(std::filesystem::path(PALLIX_SOURCE_DIR) / "samples" / "demo.bfp", dir / "demo.bfp");
    std::filesystem::create_directories(dir / "bfp" / "demo");
    std::vector<std::string> words = {"--program-dir", dir.path().string(), (dir / "demo.bfp").string()};
    // Files the actions write go into the run's own folder.
    for (const auto& word : actions)
        words.push_back(std::regex_replace(word, std::regex("^<DIR>"), dir.path().string()));
    std::string error;
    const auto invocation = ParseCommandLine(words, error);
    std::ostringstream out, err;
    const int status = invocation ? CliSession(*invocation, out, err).Run() : 2;
    std::string text = "## ";
    for (const auto& word : actions) text += word + " ";
    text += "\nexit " + std::to_string(status) + "\n--out\n" + out.str() + "--err\n" + err.str() + "--files\n" +
            ExportedFiles(dir / "bfp" / "demo");
    return Normalised(text, dir.path());
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(CliGolden, EveryActionOnTheSamplePrintsWhatItPrintedBefore) {
    std::string all;
    for (const auto& actions : kCases) all += RunCase(actions);
    if (std::getenv("PALLIX_UPDATE_GOLDEN")) std::ofstream(kGolden, std::ios::binary) << all;
    EXPECT_EQ(all, ReadText(kGolden));
}

}  // namespace
