// Moving a file that is being read out of the way of a writer of the same
// name. The new name is claimed atomically, so no other program can take it
// between choosing it and renaming to it.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <random>
#else
#include <unistd.h>
#endif

#include "error3ds.h"
#include "file3ds.h"
#include "platformfile3ds.h"
#include "stream3ds.h"
#include "strings3ds.h"

namespace {

// The folder part of a path, separator included; empty without one.
std::string FolderOf(const char* path) {
    const std::string text(path);
    const std::size_t cut = text.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : text.substr(0, cut + 1);
}

#ifdef _WIN32
// Renaming on Windows fails when the target exists, so the rename itself
// claims the name; try fresh names until one is free.
std::string RenameToFreshName(const char* from, const std::string& folder) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "3ds%08X.tmp", static_cast<unsigned>(random()));
        const std::string candidate = folder + suffix;
        if (RenameFile3ds(from, candidate.c_str()) == 0) {
            return candidate;
        }
        if (errno != EEXIST && errno != EACCES) {
            break;
        }
    }
    return {};
}
#else
// mkstemp creates the name exclusively; renaming over our own empty file
// then replaces it in one step.
std::string RenameToFreshName(const char* from, const std::string& folder) {
    std::string candidate = folder + "3dsXXXXXX";
    const int descriptor = mkstemp(candidate.data());
    if (descriptor < 0) {
        return {};
    }
    close(descriptor);
    if (RenameFile3ds(from, candidate.c_str()) != 0) {
        RemoveFile3ds(candidate.c_str());
        return {};
    }
    return candidate;
}
#endif

void Reopen(File3ds* file) {
    file->stream = OpenStream3ds(file->name, "rb");
    file->streamOffset = 0;
    if (file->stream != nullptr && file->buffer != nullptr) {
        std::setvbuf(file->stream, nullptr, _IONBF, 0);
    }
}

}  // namespace

void MoveAsideForReading3ds(File3ds* file) {
    if (file == nullptr || file->stream == nullptr || file->name == nullptr) {
        PushError3ds(ERR_INVALID_ARG);
        return;
    }
    // The current file's position may live in the window; settle it first.
    detail3ds::ParkCurrent();
    const std::int64_t position = file->window + static_cast<std::int64_t>(file->cursor);
    const bool closed = std::fclose(file->stream) == 0;
    file->stream = nullptr;
    if (!closed) {
        PushError3ds(ERR_CLOSING_FILE);
        return;
    }
    const std::string fresh = RenameToFreshName(file->name, FolderOf(file->name));
    if (fresh.empty()) {
        // The file keeps its name; reading goes on from there.
        Reopen(file);
        PushError3ds(ERR_OPENING_FILE);
        return;
    }
    char* freshName = DuplicateString3ds(fresh.c_str());
    if (freshName == nullptr) {
        RenameFile3ds(fresh.c_str(), file->name);
        Reopen(file);
        PushError3ds(ERR_NO_MEM);
        return;
    }
    file->temporary = 1;
    std::free(file->name);
    file->name = freshName;
    Reopen(file);
    if (file->stream == nullptr) {
        PushError3ds(ERR_OPENING_FILE);
        return;
    }
    StreamSeek3ds(*file, position);
    detail3ds::ResumeCurrent();
}
