// Reads arbitrary bytes as a 3DS file through the whole toolkit: the tree,
// every chunk's data, a copy of the tree, and writing that copy out.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "toolkit3ds/toolkit3ds.h"

namespace {

std::string ScratchPath(const char* role) {
    static const std::string tag = std::to_string(std::random_device{}());
    return (std::filesystem::temp_directory_path() / ("fuzz-toolkit3ds-" + tag + "-" + role)).string();
}

void CopyAndWrite(Database3ds* database, const std::string& output) {
    Database3ds* copy = nullptr;
    NewDatabase3ds(&copy);
    if (!ErrorPending3ds()) {
        CopyChunk3ds(database->top, &copy->top);
    }
    if (!ErrorPending3ds()) {
        WriteDatabase3ds(OpenFile3ds(output.c_str(), "w"), copy);
    }
    ReleaseDatabase3ds(&copy);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = ScratchPath("in.3ds");
    const std::string output = ScratchPath("out.3ds");
    {
        std::ofstream file(input, std::ios::binary);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    ClearErrors3ds();
    // Small buffers make every refill and seek path run often.
    SetFileBufferSize3ds(4096);
    Database3ds* database = nullptr;
    File3ds* file = OpenFile3ds(input.c_str(), "r");
    NewDatabase3ds(&database);
    if (!ErrorPending3ds()) {
        ReadDatabase3ds(file, database);
    }
    if (!ErrorPending3ds()) {
        WalkChunks3ds(database->top, [](Chunk3ds* chunk, int) {
            ReadChunkData3ds(chunk);
            return !ErrorPending3ds();
        });
    }
    if (!ErrorPending3ds()) {
        CopyAndWrite(database, output);
    }
    ClearErrors3ds();
    CloseAllFiles3ds();
    ReleaseDatabase3ds(&database);
    std::filesystem::remove(input);
    std::filesystem::remove(output);
    return 0;
}
