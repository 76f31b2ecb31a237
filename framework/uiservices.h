#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/menu.h"
#include "framework/treecontrol.h"

namespace fw {

// How a message box looks: its buttons and its icon.
enum class MessageButtons { ok, yesNo, yesNoCancel };
enum class MessageIcon { none, information, exclamation, question };
enum class MessageResult { ok, yes, no, cancel };

struct MessageStyle {
    MessageButtons buttons = MessageButtons::ok;
    MessageIcon icon = MessageIcon::none;
    bool taskModal = true;
};

// The progress of a long job as the user watches it.
class ProgressReport {
public:
    virtual ~ProgressReport() = default;
    // The job has done `done` of its total; false once the user asked to cancel.
    virtual bool Step(uint64_t done) = 0;
};

// A long job's progress, shown from its start to the end of the object's
// life. Nobody watching means nobody cancels.
class Progress {
public:
    explicit Progress(std::unique_ptr<ProgressReport> report) : report_(std::move(report)) {}
    bool Step(uint64_t done) { return !report_ || report_->Step(done); }

private:
    std::unique_ptr<ProgressReport> report_;
};

// What the program needs from the user interface. The desktop program backs
// it with real dialogs; the command-line program and the tests print or
// record instead, so every behaviour above the user interface runs headless.
class UiServices {
public:
    virtual ~UiServices() = default;

    // An empty caption means the platform's default caption.
    virtual MessageResult ShowMessage(const std::string& text, const std::string& caption, MessageStyle style) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // The platform's "open" action on a document file or a folder; false
    // when no program could be started for it.
    virtual bool ShellOpen(const std::filesystem::path& file) = 0;
    // Starts a program with one parameter in a working directory, without
    // waiting; false when it could not be started.
    virtual bool StartProgram(const std::filesystem::path& program, const std::string& parameter,
                              const std::filesystem::path& workingDirectory) = 0;
    // A line that says what a command did, where the user glances for it
    // (the status bar); it asks for no answer and may go unseen.
    virtual void ShowStatus(const std::string& text) = 0;
    // Shows a popup menu at a screen point, its entries enabled as the target
    // handles them, and returns the command chosen, or 0.
    virtual int TrackPopupMenu(const PopupMenu& menu, Point screen, const CommandTarget& target) = 0;
    // Asks for a path to save to; nullopt when the user cancels.
    virtual std::optional<std::filesystem::path> AskSavePath(const std::filesystem::path& suggested) = 0;
    // Asks the user to pick one of the options; nullopt when they cancel.
    virtual std::optional<size_t> AskChoice(const std::string& caption, const std::string& question,
                                            const std::vector<std::string>& options) = 0;
    // The progress of a job of `total` steps under a title; null when nobody
    // watches it.
    virtual std::unique_ptr<ProgressReport> OpenProgress(const std::string& title, uint64_t total) = 0;

    Progress BeginProgress(const std::string& title, uint64_t total) { return Progress(OpenProgress(title, total)); }

    // The system's own messages: task modal, OK button, no icon.
    void Notify(const std::string& text, const std::string& caption) { ShowMessage(text, caption, MessageStyle{}); }
};

// Shows the wait cursor for the lifetime of the object, even when an
// exception leaves the scope.
class WaitCursor {
public:
    explicit WaitCursor(UiServices& ui) : ui_(ui) { ui_.BeginWaitCursor(); }
    ~WaitCursor() { ui_.EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    UiServices& ui_;
};

}  // namespace fw
