#include "framework/launch.h"
#include "framework/privatetemp.h"

#include "framework/pathtext.h"

#ifdef _WIN32
#include <shellapi.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fw {

#ifdef _WIN32

namespace {

std::wstring QuoteArgument(const std::wstring& argument) {
    std::wstring quoted = L"\"";
    for (wchar_t c : argument) {
        if (c == L'"') quoted += L'\\';
        quoted += c;
    }
    return quoted + L"\"";
}

}  // namespace

bool StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& workingDirectory) {
    KeepPrivateTemporaryFolder();
    std::wstring parameters;
    for (const auto& argument : arguments) parameters += QuoteArgument(PathFromUtf8(argument).wstring()) + L" ";
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", program.c_str(), parameters.c_str(), workingDirectory.c_str(), SW_SHOWNORMAL));
    return result > 32;
}

bool OpenWithAssociatedProgram(const std::filesystem::path& file) {
    KeepPrivateTemporaryFolder();
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

#else

bool StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& workingDirectory) {
    KeepPrivateTemporaryFolder();
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    // A pipe closed on exec tells whether the program really started.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return false;
    const pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        // The grandchild runs the program, so nobody has to wait for it.
        if (fork() != 0) _exit(0);
        setsid();
        if ((workingDirectory.empty() || chdir(workingDirectory.c_str()) == 0)) execv(argv[0], argv.data());
        const char failed = 1;
        (void)!write(report[1], &failed, 1);
        _exit(127);
    }
    close(report[1]);
    waitpid(child, nullptr, 0);
    char failed = 0;
    const bool started = read(report[0], &failed, 1) == 0;
    close(report[0]);
    return started;
}

bool OpenWithAssociatedProgram(const std::filesystem::path& file) {
    KeepPrivateTemporaryFolder();
#ifdef __APPLE__
    const std::filesystem::path opener = "/usr/bin/open";
#else
    const std::filesystem::path opener = "/usr/bin/xdg-open";
#endif
    return StartDetached(opener, {file.string()}, {});
}

#endif

}  // namespace fw
