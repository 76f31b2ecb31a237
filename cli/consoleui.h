#pragma once
#include <iosfwd>

#include "framework/uiservices.h"

// The user interface of pallix-cli: every message box becomes one line
// "message [CAPTION] TEXT", shell actions are printed and performed only
// when asked to.
class ConsoleUi : public fw::UiServices {
public:
    ConsoleUi(std::ostream& out, bool performShellActions) : out_(out), performShell_(performShellActions) {}

    fw::MessageResult ShowMessage(const std::string& text, const std::string& caption, fw::MessageStyle style) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    // Printed only: without --shell nothing is started, and that is no failure.
    bool ShellOpen(const std::filesystem::path& file) override;
    bool StartProgram(const std::filesystem::path& program, const std::string& parameter,
                      const std::filesystem::path& workingDirectory) override;
    // Batch output stays as scripts know it: the message boxes say enough.
    void ShowStatus(const std::string&) override {}
    // Nobody picks anything from a popup here.
    int TrackPopupMenu(const fw::PopupMenu&, fw::Point, const fw::CommandTarget&) override { return 0; }
    // Nobody is asked: a save without a path is cancelled.
    std::optional<std::filesystem::path> AskSavePath(const std::filesystem::path&) override { return std::nullopt; }
    // The command line gives the answer before the command asks.
    std::optional<size_t> AskChoice(const std::string&, const std::string&, const std::vector<std::string>&) override {
        return choice_;
    }
    void AnswerChoicesWith(std::optional<size_t> choice) { choice_ = choice; }
    // Nobody watches, so nobody cancels.
    std::unique_ptr<fw::ProgressReport> OpenProgress(const std::string&, uint64_t) override { return nullptr; }

private:
    std::ostream& out_;
    bool performShell_;
    std::optional<size_t> choice_;
};
