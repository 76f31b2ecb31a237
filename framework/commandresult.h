#pragma once
#include <string>

#include "framework/uiservices.h"

namespace fw {

// How a command ended, and what the user is told about it. A refusal lets a
// batch of commands go on: the command changed nothing, or, over many items,
// refused some of them; a failure (a job that could not finish) ends the batch.
struct CommandResult {
    enum class Outcome { done, refused, failed };

    Outcome outcome = Outcome::done;
    std::string message;  // empty: nothing to tell
    std::string caption;

    static CommandResult Done() { return {}; }
    static CommandResult Done(std::string message, std::string caption) {
        return {Outcome::done, std::move(message), std::move(caption)};
    }
    static CommandResult Refused(std::string message, std::string caption) {
        return {Outcome::refused, std::move(message), std::move(caption)};
    }
    static CommandResult Failed(std::string message, std::string caption) {
        return {Outcome::failed, std::move(message), std::move(caption)};
    }
    bool Failed() const { return outcome == Outcome::failed; }
    bool Refused() const { return outcome == Outcome::refused; }
};

// Tells the user what the result says, if anything.
inline void ShowResult(UiServices& ui, const CommandResult& result) {
    if (!result.message.empty()) ui.Notify(result.message, result.caption);
}

}  // namespace fw
