#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "toolkit3ds/tds/commands.h"
#include "toolkit3ds/toolkit3ds.h"

namespace {

std::filesystem::path PathOf(const char* utf8) {
    const std::string text(utf8);
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// By the file itself, not by its spelling: "./d.3ds", "d.3ds" and a link to
// it are one file. A missing OUT is no file yet.
bool SameFile(const char* in, const char* out) {
    std::error_code error;
    return std::filesystem::equivalent(PathOf(in), PathOf(out), error) && !error;
}

}  // namespace

// Every chunk is read once before OUT is opened, so a damaged IN leaves OUT
// untouched; OUT is written beside itself and takes its place only when the
// write is complete.
int CopyFile(const char* in, const char* out) {
    if (SameFile(in, out)) {
        std::fprintf(stderr, "tds: %s and %s are the same file; copy it to another file.\n", in, out);
        return 1;
    }
    Database3ds* database = ReadInput(in);
    if (!ErrorPending3ds()) {
        ReadEveryChunkData3ds(database->top);
    }
    File3ds* target = nullptr;
    if (!ErrorPending3ds()) {
        target = OpenFile3ds(out, "w");
    }
    if (!ErrorPending3ds()) {
        WriteDatabase3ds(target, database);
    }
    if (!ErrorPending3ds()) {
        CloseAllFiles3ds();
    }
    const int status = ErrorPending3ds() ? 1 : 0;
    ReleaseDatabase3ds(&database);
    return status;
}
