#pragma once
#include <QPointer>
#include <QWidget>
#include <map>
#include <string>

#include "framework/uiservices.h"

class DialogProgress;

// The framework's user-interface services on Qt widgets: message boxes,
// the wait cursor, the save dialog, popup menus, the status bar and the
// platform's "open".
class QtUiServices : public fw::UiServices {
public:
    // The window that owns the dialogs; none until the frame exists.
    void SetOwner(QWidget* owner) { owner_ = owner; }
    QWidget* Owner() const { return owner_; }

    fw::MessageResult ShowMessage(const std::string& text, const std::string& caption, fw::MessageStyle style) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    bool ShellOpen(const std::filesystem::path& file) override;
    bool StartProgram(const std::filesystem::path& program, const std::string& parameter,
                      const std::filesystem::path& workingDirectory) override;
    // In the owner's status bar, when the owner is the main window.
    void ShowStatus(const std::string& text) override;
    int TrackPopupMenu(const fw::PopupMenu& menu, fw::Point screen, const fw::CommandTarget& target) override;
    std::optional<std::filesystem::path> AskSavePath(const std::filesystem::path& suggested) override;
    std::optional<size_t> AskChoice(const std::string& caption, const std::string& question,
                                    const std::vector<std::string>& options) override;
    std::unique_ptr<fw::ProgressReport> OpenProgress(const std::string& title, uint64_t total) override;

    // The file dialog of Open, starting in the folder given (the last one
    // used) when it still exists; nullopt when the user cancels.
    std::optional<std::filesystem::path> AskOpenPath(const QString& startFolder = {});

private:
    friend class DialogProgress;
    // Keeps the open progress dialog out of a question's way for the
    // question's lifetime.
    class QuestionOverProgress {
    public:
        explicit QuestionOverProgress(DialogProgress* progress);
        ~QuestionOverProgress();
        QuestionOverProgress(const QuestionOverProgress&) = delete;
        QuestionOverProgress& operator=(const QuestionOverProgress&) = delete;

    private:
        DialogProgress* progress_;
    };

    QPointer<QWidget> owner_;
    // The innermost progress dialog open, if any.
    DialogProgress* openProgress_ = nullptr;
    // The option chosen last, by the question's caption.
    std::map<std::string, size_t> lastChoices_;
};

// Paths cross between Qt and the standard library without losing characters.
QString ToQString(const std::filesystem::path& path);
std::filesystem::path ToPath(const QString& path);
