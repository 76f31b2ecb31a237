#pragma once
#include <filesystem>
#include <optional>

namespace fw {

// The program's folder in the user's application data, which outlives a
// restart (unlike the temporary folder): $XDG_DATA_HOME/pallix or
// ~/.local/share/pallix, %LOCALAPPDATA%\Pallix on Windows. Created on first
// use, for this user only. Raises a FileException naming the folder when it
// cannot be had.
std::filesystem::path ApplicationDataFolder();

// The same folder when it is there already, without creating it; nothing
// when it is not there or cannot be used.
std::optional<std::filesystem::path> ExistingApplicationDataFolder();

}  // namespace fw
