#pragma once
#include <string>

#include "framework/document.h"
#include "framework/uiservices.h"

namespace fw {

// The view side of the single-document template.
class View {
public:
    virtual ~View() = default;
    // After every New and Open: the view rebuilds itself from the document.
    virtual void OnInitialUpdate() = 0;
};

// One document and one view, created once and reused for every New and Open;
// the framework's New, Open, Save and Save As with the save prompt.
class SingleDocTemplate {
public:
    SingleDocTemplate(Document& document, View& view, UiServices& ui) : document_(document), view_(view), ui_(ui) {}

    // "Save changes to %1?" when the document is modified; false when the user cancels.
    bool SaveModified();
    bool OnFileNew();
    bool OpenDocumentFile(const std::string& path);
    bool OnFileSave();
    bool OnFileSaveAs();
    // Saves to the path, or asks for one when it is empty; refused in words
    // when the document has nothing to save.
    bool DoSave(const std::string& path, bool replacePath = true);

    Document& document() const { return document_; }

private:
    Document& document_;
    View& view_;
    UiServices& ui_;
};

}  // namespace fw
