#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace fw {

// Starts a program with its arguments in a working directory and returns at
// once; no shell sees the arguments. False when it could not be started.
bool StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& workingDirectory);

// The platform's "open" action on a file: the program associated with its type.
bool OpenWithAssociatedProgram(const std::filesystem::path& file);

}  // namespace fw
