#include "framework/imagesave.h"

#include <system_error>

#include "framework/appdata.h"
#include "framework/apptext.h"
#include "framework/filelock.h"
#include "framework/inplacesave.h"
#include "framework/pathtext.h"
#include "framework/reporting.h"
#include "framework/safesave.h"
#include "framework/savejournal.h"

namespace fw {

namespace {

void Tell(UiServices& ui, const std::string& text, MessageIcon icon) {
    ui.ShowMessage(text, text::kAppName, MessageStyle{MessageButtons::ok, icon, true});
}

// A failure about another file than the target (the journal, say) is told
// as the target's.
void ReportSaveFailure(UiServices& ui, const std::string& path, const FileException& error) {
    if (error.path().empty() || error.path() == path) {
        ReportSaveLoadException(ui, path, &error, text::kFailedToSaveDoc);
        return;
    }
    Tell(ui, FormatPrompt(text::kNotSavedBecause, path) + " " + error.Message(), MessageIcon::exclamation);
}

// Opens the target to be written in place; false when there is none.
bool OpenExisting(File& target, const std::string& path) {
    try {
        target.Open(PathFromUtf8(path), File::Mode::readWrite);
        return true;
    } catch (const FileException& error) {
        if (error.cause() != FileException::Cause::fileNotFound) throw;
        return false;
    }
}

// The state of the saved file once no handle of ours is open: the one the
// next save compares with. Windows (NTFS) may set a file's modification time
// when its last handle closes, and drives formatted FAT number a file anew
// when it is renamed; elsewhere this is the state the save left.
FileIdentity AtRest(const std::string& path, const FileIdentity& written) {
    try {
        File file(PathFromUtf8(path), File::Mode::read);
        const FileIdentity now = file.Identity();
        if (now.size == written.size) return now;
    } catch (const FileException&) {}
    return written;
}

FileIdentity SaveWhole(const std::string& path, std::span<const uint8_t> image) {
    SafeSave save;
    save.Begin(PathFromUtf8(path));
    save.Write(image.data(), image.size());
    return save.Commit();
}

}  // namespace

std::optional<FileIdentity> SaveImage(UiServices& ui, const std::string& path, std::span<const uint8_t> image,
                                      const std::optional<FileIdentity>& loaded, bool mustBeLoaded) {
    WaitCursor wait(ui);
    try {
        CheckTargetWritable(PathFromUtf8(path));
        File target;
        const bool exists = OpenExisting(target, path);
        // Another save of this program may be writing the file: its writes
        // end before ours begin, and the identity below, taken under the
        // lock, tells whether they changed what was loaded.
        if (exists && !LockFileWithin(target, os::LockKind::exclusive, kLockPatience)) {
            Tell(ui, FormatPrompt(text::kFileBusy, path), MessageIcon::exclamation);
            return std::nullopt;
        }
        const bool sameFile =
            exists && loaded && target.Identity().SameFile(*loaded) && target.Length() == image.size();
        if (mustBeLoaded && !(sameFile && target.Identity() == *loaded)) {
            Tell(ui, FormatPrompt(text::kFileChangedSince, path), MessageIcon::exclamation);
            return std::nullopt;
        }
        if (!sameFile) {
            target.Close();
            return AtRest(path, SaveWhole(path, image));
        }
        RemoveSaveLeftovers(PathFromUtf8(path));
        SaveInPlace(target, image, ApplicationDataFolder());
        const FileIdentity written = target.Identity();
        target.Close();
        return AtRest(path, written);
    } catch (const FileException& error) {
        ReportSaveFailure(ui, path, error);
        return std::nullopt;
    }
}

bool PutBackInterruptedSave(UiServices& ui, const std::string& path, const FileIdentity& identity) {
    const auto folder = ExistingApplicationDataFolder();
    if (!folder) return true;  // no folder of ours, so no journal either
    const auto journal = JournalPathFor(*folder, identity);
    try {
        std::error_code error;
        if (!std::filesystem::exists(journal, error)) return true;
        File file(PathFromUtf8(path), File::Mode::readWrite);
        if (!file.Identity().SameFile(identity)) return true;  // replaced meanwhile: not this file's journal
        // The journal of a save that is still running is not put back: once
        // the lock is ours, that save has ended and taken its journal along.
        if (!LockFileWithin(file, os::LockKind::exclusive, kLockPatience)) {
            Tell(ui, FormatPrompt(text::kFileBusy, path), MessageIcon::exclamation);
            return false;
        }
        if (!std::filesystem::exists(journal, error)) return true;
        switch (ReplayJournal(file, journal)) {
            case Replay::rolledBack:
                Tell(ui, FormatPrompt(text::kSaveInterrupted, path), MessageIcon::information);
                break;
            case Replay::completed:
                Tell(ui, FormatPrompt(text::kSaveCompletedAfterAll, path), MessageIcon::information);
                break;
            case Replay::stale: Tell(ui, FormatPrompt(text::kJournalStale, path), MessageIcon::exclamation); break;
            case Replay::noJournal: break;
        }
        return true;
    } catch (const FileException& error) {
        Tell(ui, FormatPrompt(text::kSaveRecoveryFailed, path) + " " + error.Message(), MessageIcon::exclamation);
        return false;
    }
}

}  // namespace fw
