#pragma once
#include <filesystem>

#include "framework/os.h"

namespace fw {

// The full path of the running program file.
inline std::filesystem::path ModulePath() { return os::ModulePath(); }

}  // namespace fw
