#include "exchange/files/exportlocation.h"

#include "exchange/files/exportpaths.h"
#include "framework/userfolders.h"

std::filesystem::path UserExportRoot() { return fw::DocumentsFolder() / "Quon Data Manager"; }

std::filesystem::path ChooseExportFolder(const std::filesystem::path& modulePath, const std::string& dataPath,
                                         const std::filesystem::path& chosen) {
    if (!chosen.empty()) return chosen;
    const auto beside = ExportFolder(modulePath, dataPath);
    std::error_code error;
    if (std::filesystem::is_directory(beside, error)) return beside;
    return UserExportRoot() / beside.filename();
}

void MakeExportFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
}
