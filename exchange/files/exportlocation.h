#pragma once
#include <filesystem>
#include <string>

// Where the exports of a data file go. The folder "bfp/<data file name>"
// beside the program is used when it exists, as modders set it up beside
// their tools; otherwise a folder of the user's own below their documents,
// made when the first file is written, so that exports work for every data
// file and an installed program never writes beside itself. A folder the
// user chose (empty: none) overrides both.
std::filesystem::path ChooseExportFolder(const std::filesystem::path& modulePath, const std::string& dataPath,
                                         const std::filesystem::path& chosen);

// The user's own folder for the exports of every data file.
std::filesystem::path UserExportRoot();

// Makes the folder an export is about to write into; a folder that cannot
// be made shows up as the write's own error.
void MakeExportFolder(const std::filesystem::path& folder);
