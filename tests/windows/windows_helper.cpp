// A second program for the Windows tests, since a Windows process cannot
// fork: it holds a file open with the sharing a test names, or saves a data
// file and is killed (TerminateProcess) at a given write step of the save.
//   pallix_windows_helper hold FILE read|all|none READY RELEASE
//     opens FILE with that sharing, makes READY, waits until RELEASE exists
//   pallix_windows_helper save SOURCE TARGET FRESH KILLAT
//     opens SOURCE, puts FRESH's bytes in its image, saves to TARGET and
//     ends itself with TerminateProcess at write step KILLAT
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "datafile/pallixdoc.h"
#include "framework/file.h"
#include "framework/pathtext.h"
#include "tests/support/recordingui.h"
#include "tests/support/testfiles.h"

namespace {

int Hold(const std::filesystem::path& file, const std::wstring& sharing, const std::filesystem::path& ready,
         const std::filesystem::path& release) {
    const DWORD share = sharing == L"all"    ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                        : sharing == L"read" ? FILE_SHARE_READ
                                             : 0;
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return 3;
    WriteFileBytes(ready, {1});
    for (int waited = 0; waited < 60000 && !std::filesystem::exists(release); waited += 20) Sleep(20);
    CloseHandle(handle);
    return 0;
}

int stepsLeft = 0;

int SaveAndDie(const std::filesystem::path& source, const std::filesystem::path& target,
               const std::filesystem::path& fresh, int killAt) {
    RecordingUi ui;
    CPallixDoc doc(ui);
    if (!doc.OnOpenDocument(fw::Utf8FromPath(source))) return 2;
    const auto bytes = ReadFileBytes(fresh);
    if (bytes.size() != doc.Image().size()) return 4;
    std::copy(bytes.begin(), bytes.end(), doc.Image().begin());
    stepsLeft = killAt;
    // As abrupt as a power cut for this process: no destructor, no flush.
    fw::File::SetBeforeWriteHook([] {
        if (--stepsLeft == 0) TerminateProcess(GetCurrentProcess(), 137);
    });
    return doc.OnSaveDocument(fw::Utf8FromPath(target)) ? 0 : 3;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring action = argc > 1 ? argv[1] : L"";
    if (action == L"hold" && argc == 6) return Hold(argv[2], argv[3], argv[4], argv[5]);
    if (action == L"save" && argc == 6) return SaveAndDie(argv[2], argv[3], argv[4], _wtoi(argv[5]));
    std::fputs(
        "usage: pallix_windows_helper hold FILE read|all|none READY RELEASE\n"
        "       pallix_windows_helper save SOURCE TARGET FRESH KILLAT\n",
        stderr);
    return 2;
}
