#pragma once
#include <filesystem>

namespace fw {

// The user's documents folder as the platform names it: the known folder
// on Windows, XDG_DOCUMENTS_DIR (the environment, then user-dirs.dirs)
// elsewhere, else Documents in the home folder; for a user without any home
// folder, Documents in the working folder, which the user chose.
std::filesystem::path DocumentsFolder();

#ifndef _WIN32
// The user's home folder: $HOME when it is an absolute path, else the one
// the password database lists for the user (never a shared folder such as
// the temporary one, where another user could have made the folder first);
// empty when neither is known.
std::filesystem::path HomeFolder();
#endif

}  // namespace fw
