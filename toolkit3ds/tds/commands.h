// The commands of tds. Each returns the process's exit status and leaves
// the toolkit's error list for the caller to report.
#pragma once

int DumpTree(const char* path);
int CopyFile(const char* in, const char* out);
