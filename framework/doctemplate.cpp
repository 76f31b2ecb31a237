#include "framework/doctemplate.h"

#include <filesystem>

#include "framework/apptext.h"
#include "framework/fileexception.h"
#include "framework/pathtext.h"

namespace fw {

bool SingleDocTemplate::SaveModified() {
    if (!document_.IsModified()) return true;
    const std::string name = document_.GetPathName().empty() ? document_.GetTitle() : document_.GetPathName();
    const auto answer = ui_.ShowMessage(FormatPrompt(text::kAskToSave, name), text::kAppName,
                                        MessageStyle{MessageButtons::yesNoCancel, MessageIcon::question, true});
    switch (answer) {
        case MessageResult::cancel: return false;
        case MessageResult::yes: return DoSave(document_.GetPathName());
        default: return true;
    }
}

bool SingleDocTemplate::OnFileNew() {
    if (!SaveModified()) return false;
    if (!document_.OnNewDocument()) return false;
    view_.OnInitialUpdate();
    return true;
}

bool SingleDocTemplate::OpenDocumentFile(const std::string& path) {
    if (!SaveModified()) return false;
    const auto generation = document_.ContentsGeneration();
    const bool wasModified = document_.IsModified();
    if (!document_.OnOpenDocument(path)) {
        if (document_.ContentsGeneration() == generation) {
            document_.SetModifiedFlag(wasModified);
            return false;
        }
        // The load got as far as clearing the document: what is left is a new,
        // empty document, never the old path with nothing behind it, which a
        // Save would write over the old file.
        document_.OnNewDocument();
        view_.OnInitialUpdate();
        return false;
    }
    view_.OnInitialUpdate();
    return true;
}

bool SingleDocTemplate::OnFileSave() { return DoSave(document_.GetPathName()); }

bool SingleDocTemplate::OnFileSaveAs() { return DoSave({}); }

bool SingleDocTemplate::DoSave(const std::string& path, bool replacePath) {
    // Without contents the save would write an empty file, perhaps over a real one.
    if (!document_.HasContentsToSave()) {
        ui_.ShowMessage(text::kNothingToSave, text::kAppName,
                        MessageStyle{MessageButtons::ok, MessageIcon::exclamation, true});
        return false;
    }
    std::string target = path;
    const bool chosen = target.empty();
    if (chosen) {
        const std::filesystem::path suggested = PathFromUtf8(
            document_.GetPathName().empty() ? document_.GetTitle() + text::kFileExtension : document_.GetPathName());
        const auto answer = ui_.AskSavePath(suggested);
        if (!answer) return false;
        target = Utf8FromPath(*answer);
    }
    if (!(chosen ? document_.OnSaveDocumentAs(target) : document_.OnSaveDocument(target))) return false;
    if (replacePath) document_.SetPathName(target);
    return true;
}

}  // namespace fw
