#pragma once
#include <string>

#include "uiservices.h"

struct Database3ds;

// The toolkit's recorded errors, newest first, one per line.
std::string ToolkitErrorText();

// One export or import through the 3DS toolkit. It starts with a clear
// error list; whatever way it ends, its files are closed and its database
// released. A failure is reported without ending the program: the error
// list goes to the standard error stream and into a message box.
class ToolkitJob {
public:
    // `failed` is set when the job ends in failure.
    ToolkitJob(fw::UiServices& ui, std::string caption, bool& failed);
    ~ToolkitJob();
    ToolkitJob(const ToolkitJob&) = delete;
    ToolkitJob& operator=(const ToolkitJob&) = delete;

    Database3ds*& database() { return database_; }
    // True, after reporting the error list and setting the failure flag, when
    // a toolkit error is pending.
    bool Failed();

private:
    fw::UiServices& ui_;
    std::string caption_;
    bool& failed_;
    Database3ds* database_ = nullptr;
    bool reported_ = false;
};
