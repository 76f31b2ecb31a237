#include "toolkitjob.h"

#include <cstdio>

#include "toolkit3ds.h"

std::string ToolkitErrorText() {
    std::string text;
    // Newest first, as the report on the error stream.
    const ErrorEntry3ds* entries = ErrorEntries3ds();
    for (int i = kErrorListSize3ds - 1; i >= 0; --i) {
        if (entries[i].code == NO_TOOLKIT_ERRORS) continue;
        if (!text.empty()) text += '\n';
        text += entries[i].text;
    }
    return text;
}

ToolkitJob::ToolkitJob(fw::UiServices& ui, std::string caption, bool& failed)
    : ui_(ui), caption_(std::move(caption)), failed_(failed) {
    ClearErrors3ds();
}

ToolkitJob::~ToolkitJob() {
    Failed();
    // Clean-up must not be cut short by the errors that ended the job.
    ClearErrors3ds();
    CloseAllFiles3ds();
    if (database_) ReleaseDatabase3ds(&database_);
    ClearErrors3ds();
}

bool ToolkitJob::Failed() {
    if (!ErrorPending3ds()) return false;
    failed_ = true;
    if (!reported_) {
        reported_ = true;
        ReportErrors3ds(stderr);
        ui_.Notify(ToolkitErrorText(), caption_);
    }
    return true;
}
