#pragma once
#include <filesystem>
#include <string>

#include "exchange/formats/exchangemesh.h"

// A reader's refusal: the file, what is wrong with it, what the user can do.
ImportedFile RefuseImport(const std::filesystem::path& path, const std::string& format, const std::string& reason);
