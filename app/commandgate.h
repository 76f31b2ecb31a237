#pragma once
#include <QObject>
#include <deque>
#include <functional>

// Keeps the document in place while a command runs. A command's dialogs
// and popups run nested event loops, in which a file handed over or
// dropped, or a menu's Open, would otherwise replace the document and
// rebuild the tree under the command. Such requests wait until the last
// command has ended and then run in the order they came.
class CommandGate : public QObject {
public:
    // Marks a command in progress for its lifetime.
    class Command {
    public:
        explicit Command(CommandGate& gate) : gate_(gate) { ++gate_.running_; }
        ~Command() { gate_.End(); }
        Command(const Command&) = delete;
        Command& operator=(const Command&) = delete;

    private:
        CommandGate& gate_;
    };

    using Request = std::function<void()>;

    bool Busy() const { return running_ > 0; }
    // What runs once the commands in progress have ended, before the waiting
    // requests: a command may have changed what the window shows.
    void SetAfterCommands(std::function<void()> hook) { afterCommands_ = std::move(hook); }
    // Runs the request now as a command of its own, or after the commands in progress.
    void Run(Request request);

private:
    void End();
    void AfterCommands();
    void RunPending();

    int running_ = 0;
    std::deque<Request> pending_;
    std::function<void()> afterCommands_;
};
