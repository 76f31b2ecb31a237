#pragma once
#include <string>

struct Database3ds;

// One export or import through the 3DS toolkit. It starts with a clear
// error list; whatever way it ends, its files are closed and its database
// released. The toolkit's rule is that every call leaves an error pending
// when it fails: the job runs its steps only while none is, so a job reads
// as its list of steps and ends at the first that fails.
class ToolkitJob {
public:
    ToolkitJob();
    ~ToolkitJob();
    ToolkitJob(const ToolkitJob&) = delete;
    ToolkitJob& operator=(const ToolkitJob&) = delete;

    Database3ds*& database() { return database_; }

    template <typename Step>
    ToolkitJob& Then(Step&& step) {
        if (!Failed()) step();
        return *this;
    }
    // True once a toolkit error is pending; the error list then goes to the
    // standard error stream, once.
    bool Failed();
    // The error list of a failed job, newest first.
    const std::string& Errors() const { return errors_; }

private:
    std::string errors_;
    Database3ds* database_ = nullptr;
    bool failed_ = false;
};
