#pragma once
#include <filesystem>
#include <string>

namespace fw {

// A folder for temporary files that only this process uses: made fresh on
// first use, with a name nobody could guess or take first, for this user
// only, under the user's runtime folder or the temporary folder; removed
// when the program ends, unless another program was handed a file of it. Raises a FileException naming the folder when
// it cannot be had.
std::filesystem::path PrivateTemporaryFolder();

// Another program was handed a file of the folder and may read it after
// this one ended: the folder then stays (in the runtime folder, the session
// clears it).
void KeepPrivateTemporaryFolder();

// A path in that folder for a file to be created anew (with File's
// createPrivate mode): a file of that name from an earlier use goes first.
std::filesystem::path PrivateTemporaryFile(const std::string& name);

}  // namespace fw
