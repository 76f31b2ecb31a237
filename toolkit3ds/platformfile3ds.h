// File names reach the toolkit as UTF-8 text. These open, remove and rename
// files by such names on every platform (Windows takes wide names for
// anything beyond its ANSI code page).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "toolkit3ds/error3ds.h"

std::FILE* OpenStream3ds(const char* utf8Name, const char* mode);
// Opens a file to read ("rb") when it is a regular file, without waiting for
// a pipe's other end; null, with ERR_NOT_REGULAR_FILE recorded, for anything else.
std::FILE* OpenRegularForReading3ds(const char* utf8Name);
int RemoveFile3ds(const char* utf8Name);
int RenameFile3ds(const char* utf8From, const char* utf8To);
// Like RenameFile3ds, also where `utf8To` exists (Windows' rename refuses).
int ReplaceFile3ds(const char* utf8From, const char* utf8To);
// Flushes the stream and asks the system to put its bytes on the disk.
bool SyncStream3ds(std::FILE* stream);
// Seeks to an offset from the start and tells the offset, beyond 2 GiB too.
bool SeekStream3ds(std::FILE* stream, std::int64_t offset);
std::int64_t TellStream3ds(std::FILE* stream);
// Creates a file that must not exist yet (errno EEXIST when it does), for
// writing, with the permission bits of `permissionsOf` where the platform
// has them and that file exists; null on failure.
std::FILE* CreateExclusiveStream3ds(const char* utf8Name, const char* utf8PermissionsOf);
// Renames `utf8From` to `utf8To` only when nothing has that name yet
// (errno EEXIST when something has); 0 on success.
int RenameNoReplace3ds(const char* utf8From, const char* utf8To);

// The name a write that replaces `utf8Name` must replace: the name itself, or
// the regular file a link of that name leads to, so that the link stays.
// Empty, with the reason in *refusal, for a folder, a pipe, a device or
// other special file, a link to no file, and a file that may not be written:
// none of them is ever replaced by a file.
std::string ReplaceableTarget3ds(const char* utf8Name, ErrorCode3ds* refusal);
