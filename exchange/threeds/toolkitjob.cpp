#include "exchange/threeds/toolkitjob.h"

#include <cstdio>

#include "toolkit3ds/toolkit3ds.h"

namespace {

// The toolkit's recorded errors, newest first, one per line, as the report
// on the error stream.
std::string ToolkitErrorText() {
    std::string text;
    const ErrorEntry3ds* entries = ErrorEntries3ds();
    for (int i = kErrorListSize3ds - 1; i >= 0; --i) {
        if (entries[i].code == NO_TOOLKIT_ERRORS) continue;
        if (!text.empty()) text += '\n';
        text += entries[i].text;
    }
    return text;
}

}  // namespace

ToolkitJob::ToolkitJob() { ClearErrors3ds(); }

ToolkitJob::~ToolkitJob() {
    // Clean-up must not be cut short by the errors that ended the job.
    ClearErrors3ds();
    CloseAllFiles3ds();
    if (database_) ReleaseDatabase3ds(&database_);
    ClearErrors3ds();
}

bool ToolkitJob::Failed() {
    if (failed_ || !ErrorPending3ds()) return failed_;
    failed_ = true;
    ReportErrors3ds(stderr);
    errors_ = ToolkitErrorText();
    return true;
}
