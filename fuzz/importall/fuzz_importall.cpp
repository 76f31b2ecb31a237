// Arbitrary bytes in the export folder as Import All finds them: the first
// byte chooses whether they stand for the bank's bitmap or its model's 3DS
// file, and Import All compares them with the export and takes them in.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "fuzz/formats/fuzzinput.h"
#include "tools/bfpbuilder.h"

namespace {

// A data file of one bank, a model and a bitmap, written once per run.
// The program's own data folder (export ledger, journals) lies beside it,
// so that runs neither read nor grow the user's.
std::filesystem::path DataFile(const std::filesystem::path& folder) {
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    bfp::ImageWriter image;
    image.AddBank({{bfp::Cube("box", 5, 1)}, {{"tex", bfp::MakeBmp(4, 4, 24, 1)}}});
    const auto path = folder / "data.bfp";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.bytes().data()), std::streamsize(image.bytes().size()));
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto input = FuzzInputFile(data + 1, size - 1, ".bin");
    const auto folder = input.parent_path() / "exports";
    static const std::filesystem::path dataFile = DataFile(input.parent_path());
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(input, folder / (data[0] % 2 ? "box.3ds" : "O380.bmp"));
    std::string usage;
    const auto invocation =
        ParseCommandLine({"--export-dir", folder.string(), dataFile.string(), "import-all", "0"}, usage);
    std::ostringstream out, err;
    CliSession(*invocation, out, err).Run();
    return 0;
}
