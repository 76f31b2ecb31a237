#include "framework/reporting.h"

#include "framework/apptext.h"

namespace fw {

namespace {

void ShowFrameworkError(UiServices& ui, const std::string& text) {
    ui.ShowMessage(text, text::kAppName, MessageStyle{MessageButtons::ok, MessageIcon::exclamation, true});
}

}  // namespace

void ReportFileException(UiServices& ui, const FileException& error) {
    const std::string message = error.Message();
    ShowFrameworkError(ui, message.empty() ? text::kFileGeneric : message);
}

void ReportSaveLoadException(UiServices& ui, const std::string& path, const FileException* error,
                             const std::string& defaultMessage) {
    std::string message;
    if (error) {
        FileException named = error->path().empty() ? FileException(error->cause(), path) : *error;
        message = named.Message();
    }
    ShowFrameworkError(ui, message.empty() ? defaultMessage : message);
}

}  // namespace fw
