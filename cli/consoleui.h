#pragma once
#include <iosfwd>

#include "uiservices.h"

// The user interface of pallix-cli: every message box becomes one line
// "message [CAPTION] TEXT", shell actions are printed and performed only
// when asked to.
class ConsoleUi : public fw::UiServices {
public:
    ConsoleUi(std::ostream& out, bool performShellActions) : out_(out), performShell_(performShellActions) {}

    fw::MessageResult ShowMessage(const std::string& text, const std::string& caption,
                                  fw::MessageStyle style) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void ShellOpen(const std::filesystem::path& file) override;
    void StartProgram(const std::filesystem::path& program, const std::string& parameter,
                      const std::filesystem::path& workingDirectory) override;
    // Nobody picks anything from a popup here.
    int TrackPopupMenu(const fw::PopupMenu&, fw::Point, const fw::CommandTarget&) override { return 0; }
    // Nobody is asked: a save without a path is cancelled.
    std::optional<std::filesystem::path> AskSavePath(const std::filesystem::path&) override { return std::nullopt; }
    // Nobody watches, so nobody cancels.
    std::unique_ptr<fw::ProgressReport> OpenProgress(const std::string&, uint64_t) override { return nullptr; }

private:
    std::ostream& out_;
    bool performShell_;
};
