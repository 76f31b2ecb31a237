#include "framework/document.h"

#include <filesystem>

#include "framework/apptext.h"
#include "framework/pathtext.h"

namespace fw {

void Document::SetPathName(const std::string& path, bool addToRecentFiles) {
    pathName_ = path;
    if (addToRecentFiles && recent_) recent_->Add(path);
}

std::string Document::GetTitle() const {
    if (pathName_.empty()) return text::kUntitled;
    return Utf8FromPath(PathFromUtf8(pathName_).filename());
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
