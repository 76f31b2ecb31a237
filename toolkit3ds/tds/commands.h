// The commands of tds. Each returns the process's exit status and leaves
// the toolkit's error list for the caller to report.
#pragma once

struct Database3ds;

int DumpTree(const char* path);
int CopyFile(const char* in, const char* out);

// A database read from the file (headers only; the file stays open), or
// null when even the record could not be made. Check the error flag.
Database3ds* ReadInput(const char* path);
