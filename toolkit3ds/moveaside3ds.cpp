// Fresh names beside a file: moving a file that is being read out of the
// way of a writer of the same name, and the file a writer writes before it
// takes the target's place. A new name is claimed atomically, so no other
// program can take it between choosing it and using it.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "toolkit3ds/error3ds.h"
#include "toolkit3ds/file3ds.h"
#include "toolkit3ds/platformfile3ds.h"
#include "toolkit3ds/stream3ds.h"
#include "toolkit3ds/strings3ds.h"

namespace {

// The folder part of a path, separator included; empty without one.
std::string FolderOf(const char* path) {
    const std::string text(path);
    const std::size_t cut = text.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : text.substr(0, cut + 1);
}

constexpr int kNameAttempts = 100;

// Claims a candidate name; false when it is taken or cannot be used.
using Claim = bool (*)(const std::string& candidate, void* context);

// Tries fresh names in the folder until `claim` takes one; empty when none.
std::string ClaimFreshName(const std::string& folder, Claim claim, void* context) {
    // Seeded once: starting the system's random source costs more than
    // creating the file, and Export All makes thousands.
    static std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "3ds%08X.tmp", static_cast<unsigned>(random()));
        const std::string candidate = folder + suffix;
        if (claim(candidate, context)) {
            return candidate;
        }
        if (errno != EEXIST && errno != EACCES) {
            break;
        }
    }
    return {};
}

struct Staging {
    const char* target;
    std::FILE* stream;
};

bool CreateExclusively(const std::string& candidate, void* context) {
    auto* staging = static_cast<Staging*>(context);
    staging->stream = CreateExclusiveStream3ds(candidate.c_str(), staging->target);
    return staging->stream != nullptr;
}

bool RenameTo(const std::string& candidate, void* from) {
    return RenameNoReplace3ds(static_cast<const char*>(from), candidate.c_str()) == 0;
}

std::string RenameToFreshName(const char* from, const std::string& folder) {
    return ClaimFreshName(folder, RenameTo, const_cast<char*>(from));
}

void Reopen(File3ds* file) {
    file->stream = OpenStream3ds(file->name, "rb");
    file->streamOffset = 0;
    if (file->stream != nullptr && file->buffer != nullptr) {
        std::setvbuf(file->stream, nullptr, _IONBF, 0);
    }
}

}  // namespace

std::FILE* OpenStagingFile3ds(const char* target, File3ds* file) {
    if (target == nullptr || file == nullptr) {
        return nullptr;
    }
    ErrorCode3ds refusal = NO_TOOLKIT_ERRORS;
    const std::string replaces = ReplaceableTarget3ds(target, &refusal);
    if (replaces.empty()) {
        PushError3ds(refusal);
        return nullptr;
    }
    Staging staging{replaces.c_str(), nullptr};
    const std::string fresh = ClaimFreshName(FolderOf(replaces.c_str()), CreateExclusively, &staging);
    if (fresh.empty()) {
        return nullptr;
    }
    file->stagingName = DuplicateString3ds(fresh.c_str());
    file->replaces = DuplicateString3ds(replaces.c_str());
    if (file->stagingName == nullptr || file->replaces == nullptr) {
        std::fclose(staging.stream);
        RemoveFile3ds(fresh.c_str());
        std::free(file->stagingName);
        std::free(file->replaces);
        file->stagingName = file->replaces = nullptr;
        PushError3ds(ERR_NO_MEM);
        return nullptr;
    }
    return staging.stream;
}

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
