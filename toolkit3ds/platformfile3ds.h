// File names reach the toolkit as UTF-8 text. These open, remove and rename
// files by such names on every platform (Windows takes wide names for
// anything beyond its ANSI code page).
#pragma once

#include <cstdint>
#include <cstdio>

std::FILE* OpenStream3ds(const char* utf8Name, const char* mode);
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
