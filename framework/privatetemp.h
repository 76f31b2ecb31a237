#pragma once
#include <filesystem>

namespace fw {

// A folder for temporary files that only this user can reach:
// created with mode 0700 where the platform has modes, refused when another
// user owns it or it is a link. Raises a FileException naming the folder
// when it cannot be used.
std::filesystem::path PrivateTemporaryFolder();

}  // namespace fw
