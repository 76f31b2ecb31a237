#include "framework/fileexception.h"

#include <cerrno>

#include "framework/apptext.h"

namespace fw {

namespace {

const char* PromptForCause(FileException::Cause cause) {
    using C = FileException::Cause;
    switch (cause) {
        case C::generic: return text::kFileGeneric;
        case C::fileNotFound: return text::kFileNotFound;
        case C::badPath: return text::kFileBadPath;
        case C::tooManyOpenFiles: return text::kFileTooManyOpen;
        case C::accessDenied: return text::kFileAccessDenied;
        case C::invalidFile: return text::kFileInvalidFile;
        case C::removeCurrentDir: return text::kFileRemoveCurrent;
        case C::directoryFull: return text::kFileDirFull;
        case C::badSeek: return text::kFileBadSeek;
        case C::hardIO: return text::kFileHardIo;
        case C::sharingViolation: return text::kFileSharing;
        case C::lockViolation: return text::kFileLocking;
        case C::diskFull: return text::kFileDiskFull;
        case C::endOfFile: return text::kFileEndOfFile;
        case C::fileTooLarge: return text::kFileBeyondSizeLimit;
        case C::notRegularFile: return text::kFileNotRegular;
        // Callers that create anew handle this one; should it escape, the
        // user still reads that the file could not be had.
        case C::alreadyExists: return text::kFileGeneric;
        case C::linkRefused: return text::kFileIsLink;
        case C::none: break;
    }
    return nullptr;
}

}  // namespace

FileException::FileException(Cause cause, std::string path)
    : std::runtime_error("file error"), cause_(cause), path_(std::move(path)) {}

FileException FileException::FromErrno(int errorNumber, std::string path) {
    switch (errorNumber) {
        case ENOENT: return {Cause::fileNotFound, std::move(path)};
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP: return {Cause::badPath, std::move(path)};
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return {Cause::accessDenied, std::move(path)};
        case EMFILE:
        case ENFILE: return {Cause::tooManyOpenFiles, std::move(path)};
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return {Cause::diskFull, std::move(path)};
#ifdef EOVERFLOW
        case EOVERFLOW:
#endif
        case EFBIG: return {Cause::fileTooLarge, std::move(path)};
        case EEXIST: return {Cause::alreadyExists, std::move(path)};
        case EIO: return {Cause::hardIO, std::move(path)};
        case EBADF: return {Cause::invalidFile, std::move(path)};
        case ESPIPE: return {Cause::badSeek, std::move(path)};
        // What Windows says when another program holds the file or a range of it.
        case EBUSY: return {Cause::sharingViolation, std::move(path)};
        case ENOLCK: return {Cause::lockViolation, std::move(path)};
        default: return {Cause::generic, std::move(path)};
    }
}

std::string FileException::Message() const {
    const char* prompt = PromptForCause(cause_);
    return prompt ? FormatPrompt(prompt, path_) : std::string();
}

std::string FormatPrompt(const std::string& prompt, const std::string& argument) {
    std::string result;
    for (size_t i = 0; i < prompt.size(); ++i) {
        if (prompt[i] == '%' && i + 1 < prompt.size() && prompt[i + 1] == '1') {
            result += argument;
            ++i;
        } else {
            result += prompt[i];
        }
    }
    return result;
}

}  // namespace fw
