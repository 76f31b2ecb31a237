#pragma once
#include <filesystem>

#include "framework/os.h"

namespace fw {

// The user's documents folder as the platform names it: the known folder
// on Windows, XDG_DOCUMENTS_DIR (the environment, then user-dirs.dirs)
// elsewhere, else Documents in the home folder.
inline std::filesystem::path DocumentsFolder() { return os::DocumentsFolder(); }

}  // namespace fw
