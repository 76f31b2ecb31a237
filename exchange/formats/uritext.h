#pragma once
#include <string>

// glTF names its files by URI: a file name travels percent-encoded, so that
// spaces and letters beyond ASCII survive every reader.
std::string UriFromFileName(const std::string& utf8Name);
std::string FileNameFromUri(const std::string& uri);
