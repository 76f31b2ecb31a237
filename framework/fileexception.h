#pragma once
#include <stdexcept>
#include <string>

namespace fw {

// A failure of the file layer: why it failed and which file it was.
class FileException : public std::runtime_error {
public:
    enum class Cause {
        none,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
        fileTooLarge,
        notRegularFile,  // a pipe, a device or another special file
        alreadyExists,   // a file to be created anew is there already
        linkRefused,     // a link where the program writes only files of its own making
    };

    FileException(Cause cause, std::string path);

    // Maps an errno value of a failed open, read or write to its cause.
    static FileException FromErrno(int errorNumber, std::string path);

    Cause cause() const { return cause_; }
    const std::string& path() const { return path_; }

    // The framework's text for the cause, with the path in place of "%1";
    // empty when the cause has no text of its own.
    std::string Message() const;

private:
    Cause cause_;
    std::string path_;
};

// Replaces every "%1" of a framework prompt with the argument.
std::string FormatPrompt(const std::string& prompt, const std::string& argument);

}  // namespace fw
