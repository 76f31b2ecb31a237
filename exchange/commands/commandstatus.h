#pragma once
#include <filesystem>
#include <string>

#include "framework/pathtext.h"
#include "framework/uiservices.h"

// Which way a single export or import moves its file.
enum class FileUse { written, read };

// The box before a single export or import: the file's path, as it always
// showed, after the words that say what will happen to it; the status line
// says afterwards that it did.
inline std::string Announcement(const char* what, FileUse use, const std::filesystem::path& file) {
    return std::string("The ") + what + (use == FileUse::written ? " will be written to\n" : " will be read from\n") +
           fw::Utf8FromPath(file);
}

// The line a command leaves in the status bar: what it wrote or read, and where.
inline void TellExported(fw::UiServices& ui, const std::filesystem::path& file) {
    ui.ShowStatus("Exported " + fw::Utf8FromPath(file.filename()) + " to " + fw::Utf8FromPath(file.parent_path()));
}

// "2 models and 1 bitmap".
inline std::string ModelsAndBitmaps(size_t models, size_t bitmaps) {
    return std::to_string(models) + (models == 1 ? " model and " : " models and ") + std::to_string(bitmaps) +
           (bitmaps == 1 ? " bitmap" : " bitmaps");
}

inline void TellExportedAll(fw::UiServices& ui, size_t models, size_t bitmaps, const std::filesystem::path& folder) {
    ui.ShowStatus("Exported " + ModelsAndBitmaps(models, bitmaps) + " to " + fw::Utf8FromPath(folder));
}

// `bitmaps` names the bitmaps the file's pictures changed besides, if any.
inline void TellImported(fw::UiServices& ui, const std::filesystem::path& file, const std::string& bitmaps = {}) {
    ui.ShowStatus("Imported " + fw::Utf8FromPath(file.filename()) + " from " + fw::Utf8FromPath(file.parent_path()) +
                  (bitmaps.empty() ? "" : "; bitmaps changed: " + bitmaps));
}

inline void TellShown(fw::UiServices& ui, const std::filesystem::path& file, const std::string& shownBy) {
    ui.ShowStatus("Opened " + fw::Utf8FromPath(file.filename()) + " " + shownBy);
}
