// File names reach the toolkit as UTF-8 text. These open, remove and rename
// files by such names on every platform (Windows takes wide names for
// anything beyond its ANSI code page).
#pragma once

#include <cstdio>

std::FILE* OpenStream3ds(const char* utf8Name, const char* mode);
int RemoveFile3ds(const char* utf8Name);
int RenameFile3ds(const char* utf8From, const char* utf8To);
// Like RenameFile3ds, also where `utf8To` exists (Windows' rename refuses).
int ReplaceFile3ds(const char* utf8From, const char* utf8To);
// Flushes the stream and asks the system to put its bytes on the disk.
bool SyncStream3ds(std::FILE* stream);
