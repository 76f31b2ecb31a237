#include "document.h"

#include <filesystem>

#include "apptext.h"

namespace fw {

void Document::SetPathName(const std::string& path, bool addToRecentFiles) {
    pathName_ = path;
    if (addToRecentFiles && recent_) recent_->Add(path);
}

std::string Document::GetTitle() const {
    if (pathName_.empty()) return text::kUntitled;
    return std::filesystem::path(pathName_).filename().string();
}

bool Document::OnNewDocument() {
    ClearContents();
    pathName_.clear();
    modified_ = false;
    return true;
}

void Document::ClearContents() {
    DeleteContents();
    ++contentsGeneration_;
}

}  // namespace fw
