#pragma once
#include <cstdint>
#include <string>

#include "framework/profile.h"
#include "framework/uiservices.h"

namespace fw {

// The framework's document: a path, a title, a modified flag and the hooks
// through which the template creates, opens and saves it.
class Document {
public:
    explicit Document(UiServices& ui) : ui_(ui) {}
    virtual ~Document() = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const std::string& GetPathName() const { return pathName_; }
    // Sets the path and, when asked, adds it to the recent-file list.
    void SetPathName(const std::string& path, bool addToRecentFiles = true);
    // The file name of the path, or "Untitled" for a new document.
    std::string GetTitle() const;

    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true) { modified_ = modified; }

    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::string& path) = 0;
    virtual bool OnSaveDocument(const std::string& path) = 0;
    // False when there is nothing a save could write, as for a new document
    // of a program that only edits existing files.
    virtual bool HasContentsToSave() const { return true; }
    // A save to a path the user chose: what is there now may be replaced.
    virtual bool OnSaveDocumentAs(const std::string& path) { return OnSaveDocument(path); }

    // Releases the contents; counts how often that happened, so the template
    // knows whether a failed open left the old contents in place.
    void ClearContents();
    uint64_t ContentsGeneration() const { return contentsGeneration_; }

    void SetRecentFileList(RecentFileList* recent) { recent_ = recent; }
    UiServices& ui() const { return ui_; }

protected:
    virtual void DeleteContents() {}

private:
    UiServices& ui_;
    RecentFileList* recent_ = nullptr;
    std::string pathName_;
    bool modified_ = false;
    uint64_t contentsGeneration_ = 0;
};

}  // namespace fw
