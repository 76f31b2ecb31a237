#pragma once
#include <filesystem>
#include <string>

#include "framework/pathtext.h"
#include "framework/uiservices.h"

// The line a command leaves in the status bar: what it wrote or read, and where.
inline void TellExported(fw::UiServices& ui, const std::filesystem::path& file) {
    ui.ShowStatus("Exported " + fw::Utf8FromPath(file.filename()) + " to " + fw::Utf8FromPath(file.parent_path()));
}

inline void TellExportedAll(fw::UiServices& ui, size_t models, size_t bitmaps, const std::filesystem::path& folder) {
    ui.ShowStatus("Exported " + std::to_string(models) + (models == 1 ? " model and " : " models and ") +
                  std::to_string(bitmaps) + (bitmaps == 1 ? " bitmap to " : " bitmaps to ") + fw::Utf8FromPath(folder));
}

// `bitmaps` names the bitmaps the file's pictures changed besides, if any.
inline void TellImported(fw::UiServices& ui, const std::filesystem::path& file, const std::string& bitmaps = {}) {
    ui.ShowStatus("Imported " + fw::Utf8FromPath(file.filename()) + " from " + fw::Utf8FromPath(file.parent_path()) +
                  (bitmaps.empty() ? "" : "; bitmaps changed: " + bitmaps));
}

inline void TellShown(fw::UiServices& ui, const std::filesystem::path& file, const std::string& shownBy) {
    ui.ShowStatus("Opened " + fw::Utf8FromPath(file.filename()) + " " + shownBy);
}
