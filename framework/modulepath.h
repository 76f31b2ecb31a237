#pragma once
#include <filesystem>

namespace fw {

// The full path of the running program file.
std::filesystem::path ModulePath();

}  // namespace fw
