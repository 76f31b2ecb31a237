// tds: the 3DS toolkit from the command line.
//   tds dump FILE      the chunk tree of FILE
//   tds copy IN OUT    IN read whole and written again as OUT (another file)
//   tds --help | --version
// Toolkit errors go to standard error as the toolkit's error list.
#include <cstdio>
#include <cstring>

#include "programinfo/programinfo.h"
#include "toolkit3ds/tds/commands.h"
#include "toolkit3ds/toolkit3ds.h"

namespace {

constexpr int kUsageStatus = 2;
constexpr const char* kUsage = "usage: tds dump FILE\n       tds copy IN OUT\n       tds --help | --version\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return kUsageStatus;
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto answered = AnswerInfoRequest({"tds", kUsage}, argc, argv)) return *answered;
    int status = 0;
    if (argc == 3 && std::strcmp(argv[1], "dump") == 0) {
        status = DumpTree(argv[2]);
    } else if (argc == 4 && std::strcmp(argv[1], "copy") == 0) {
        status = CopyFile(argv[2], argv[3]);
    } else {
        return Usage();
    }
    if (ErrorPending3ds()) {
        ReportErrors3ds(stderr);
    }
    // Closing deletes any file moved aside, also after a failure.
    ClearErrors3ds();
    CloseAllFiles3ds();
    return status;
}
