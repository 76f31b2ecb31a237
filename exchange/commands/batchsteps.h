#pragma once
#include <cstdint>
#include <string>

#include "framework/uiservices.h"

// The steps of a command over many items, told to the user as progress.
class BatchSteps {
public:
    BatchSteps(fw::UiServices& ui, const std::string& title, uint64_t total)
        : progress_(ui.BeginProgress(title, total)) {}
    // One more step done; false from the moment the user cancels.
    bool Next() {
        cancelled_ = cancelled_ || !progress_.Step(++done_);
        return !cancelled_;
    }
    bool Cancelled() const { return cancelled_; }

private:
    fw::Progress progress_;
    uint64_t done_ = 0;
    bool cancelled_ = false;
};
