#pragma once
// The framework's standard texts: prompts, file-error messages and the
// application strings that its services show.

namespace fw::text {

inline constexpr const char* kAppName = "Pallix";
inline constexpr const char* kWindowTitle = "Quon Data Manager";
inline constexpr const char* kUntitled = "Untitled";
inline constexpr const char* kReady = "Ready";
inline constexpr const char* kDocumentString =
    "Quon Data Manager\n\nbfp\nQuon Data Files (*.bfp)\n.bfp\nQuonData\nbfp file";
inline constexpr const char* kFileFilterName = "Quon Data Files (*.bfp)";
inline constexpr const char* kFileExtension = ".bfp";
inline constexpr const char* kFileTypeId = "QuonData";
inline constexpr const char* kFileTypeName = "bfp file";
inline constexpr const char* kRegistryKey = "Quon Data Manager";

inline constexpr const char* kAskToSave = "Save changes to %1?";
inline constexpr const char* kFailedToOpenDoc = "Failed to open document.";
inline constexpr const char* kFailedToSaveDoc = "Failed to save document.";
inline constexpr const char* kInvalidFilename = "Invalid filename.";
inline constexpr const char* kFileTooLarge = "The file is too large to open.";
inline constexpr const char* kNothingToSave =
    "There is nothing to save: a new document holds no data. Open a data file to change and save it.";

inline constexpr const char* kFileGeneric = "An unknown error occurred while accessing %1.";
inline constexpr const char* kFileNotFound = "%1 was not found.";
inline constexpr const char* kFileBadPath = "%1 contains an invalid path.";
inline constexpr const char* kFileTooManyOpen = "%1 could not be opened because there are too many open files.";
inline constexpr const char* kFileAccessDenied = "Access to %1 was denied.";
inline constexpr const char* kFileInvalidFile = "An invalid file handle was associated with %1.";
inline constexpr const char* kFileRemoveCurrent = "%1 could not be removed because it is the current directory.";
inline constexpr const char* kFileDirFull = "%1 could not be created because the directory is full.";
inline constexpr const char* kFileBadSeek = "Seek failed on %1";
inline constexpr const char* kFileHardIo = "A hardware I/O error was reported while accessing %1.";
inline constexpr const char* kFileSharing = "A sharing violation occurred while accessing %1.";
inline constexpr const char* kFileLocking = "A locking violation occurred while accessing %1.";
inline constexpr const char* kFileDiskFull = "Disk full while accessing %1.";
inline constexpr const char* kFileEndOfFile = "An attempt was made to access %1 past its end.";
inline constexpr const char* kFileBeyondSizeLimit = "%1 would grow beyond the largest file size allowed here.";
inline constexpr const char* kFileNotRegular =
    "%1 is not a regular file (it is a pipe, a device or another special file), so it is neither read nor written.";
inline constexpr const char* kFileIsLink =
    "%1 is a link. An export is never written through a link the program did not make, so it was left as it is.";

inline constexpr const char* kSaveInterrupted =
    "The last save of %1 was interrupted. The file was put back as it was before that save: nothing was lost, "
    "but the changes of that save are not in it.";
inline constexpr const char* kSaveCompletedAfterAll =
    "The last save of %1 was interrupted after all its changes had been written; the file holds them.";
inline constexpr const char* kSaveRecoveryFailed =
    "The last save of %1 was interrupted, and the file cannot be put back now, so it was not opened. Its old "
    "content is kept safe until then: open it again once it can be written.";
inline constexpr const char* kJournalStale =
    "A record of an interrupted save of %1 was found, but the file was changed by another program since; "
    "the file was left as it is.";
inline constexpr const char* kNotSavedBecause = "%1 was not saved and is as it was before:";
inline constexpr const char* kFileChangedSince =
    "%1 was changed or replaced by another program after it was opened here, so it was not saved over. "
    "Use Save As to save your changes under a name of your choice.";
inline constexpr const char* kFileBusy =
    "%1 is being saved by another program, so it was left alone. Try again once that save has ended.";
inline constexpr const char* kFileChangedWhileRead =
    "%1 was changed by another program while it was being read, so it was not opened. Open it again once "
    "that program has finished writing it.";

inline constexpr const char* kIndicatorCaps = "CAP";
inline constexpr const char* kIndicatorNum = "NUM";
inline constexpr const char* kIndicatorScroll = "SCRL";

}  // namespace fw::text
