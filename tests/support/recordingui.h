#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/uiservices.h"

// A UiServices that remembers what the program showed and answers with
// what the test set up.
class RecordingUi : public fw::UiServices {
public:
    struct Message {
        std::string text;
        std::string caption;
        fw::MessageStyle style;
    };
    struct ShownMenu {
        int resourceId;
        fw::Point screen;
    };

    fw::MessageResult ShowMessage(const std::string& text, const std::string& caption,
                                  fw::MessageStyle style) override {
        messages.push_back({text, caption, style});
        return style.buttons == fw::MessageButtons::ok ? fw::MessageResult::ok : promptAnswer;
    }
    void BeginWaitCursor() override { ++waitDepth; }
    void EndWaitCursor() override { --waitDepth; }
    bool ShellOpen(const std::filesystem::path& file) override {
        opened.push_back(file);
        return programsStart;
    }
    bool StartProgram(const std::filesystem::path& program, const std::string& parameter,
                      const std::filesystem::path& directory) override {
        started.push_back(program.string() + " " + parameter + " in " + directory.string());
        return programsStart;
    }
    void ShowStatus(const std::string& text) override { statuses.push_back(text); }
    int TrackPopupMenu(const fw::PopupMenu& menu, fw::Point screen, const fw::CommandTarget&) override {
        menus.push_back({menu.resourceId, screen});
        return menuChoice;
    }
    std::optional<std::filesystem::path> AskSavePath(const std::filesystem::path&) override { return savePath; }
    std::optional<size_t> AskChoice(const std::string&, const std::string& question,
                                    const std::vector<std::string>&) override {
        questions.push_back(question);
        return choice;
    }
    // Every step is counted; the user cancels at step cancelAtStep (0: never).
    std::unique_ptr<fw::ProgressReport> OpenProgress(const std::string& title, uint64_t total) override {
        progressTitles.push_back(title + " of " + std::to_string(total));
        return std::make_unique<RecordedProgress>(*this);
    }

    std::vector<Message> messages;
    std::vector<std::filesystem::path> opened;
    std::vector<std::string> started;
    std::vector<std::string> statuses;
    std::vector<ShownMenu> menus;
    int waitDepth = 0;
    fw::MessageResult promptAnswer = fw::MessageResult::no;
    int menuChoice = 0;
    bool programsStart = true;
    std::optional<std::filesystem::path> savePath;
    std::vector<std::string> questions;
    std::optional<size_t> choice;
    std::vector<std::string> progressTitles;
    int progressSteps = 0;
    int cancelAtStep = 0;
    std::function<void()> onProgressStep;  // what else happens while a job goes on

private:
    struct RecordedProgress : fw::ProgressReport {
        explicit RecordedProgress(RecordingUi& ui) : ui(ui) {}
        bool Step(uint64_t) override {
            if (ui.onProgressStep) ui.onProgressStep();
            return ++ui.progressSteps < ui.cancelAtStep || ui.cancelAtStep == 0;
        }
        RecordingUi& ui;
    };
};
