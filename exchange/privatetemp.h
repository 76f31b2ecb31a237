#pragma once
#include <filesystem>

// A folder for the temporary files of View that only this user can reach:
// created with mode 0700 where the platform has modes, refused when another
// user owns it or it is a link. Raises a FileException naming the folder
// when it cannot be used.
std::filesystem::path PrivateTemporaryFolder();
