#pragma once
#include <filesystem>
#include <string>

#include "framework/expected.h"

// A reader's refusal: the file, what is wrong with it, what the user can do.
fw::Refusal RefuseImport(const std::filesystem::path& path, const std::string& format, const std::string& reason);
