#include "app/commandgate.h"

#include <QTimer>

void CommandGate::Run(Request request) {
    if (Busy()) {
        pending_.push_back(std::move(request));
        return;
    }
    Command command(*this);
    request();
}

void CommandGate::End() {
    // The waiting requests run from the event loop, once the command's own
    // code has unwound and holds on to nothing that they may replace.
    if (--running_ == 0) QTimer::singleShot(0, this, &CommandGate::AfterCommands);
}

void CommandGate::AfterCommands() {
    if (Busy()) return;
    if (afterCommands_) afterCommands_();
    RunPending();
}

void CommandGate::RunPending() {
    while (!Busy() && !pending_.empty()) {
        Request next = std::move(pending_.front());
        pending_.pop_front();
        Run(std::move(next));
    }
}
