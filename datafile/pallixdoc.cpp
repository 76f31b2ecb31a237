#include "datafile/pallixdoc.h"

#include <algorithm>
#include <filesystem>
#include <limits>

#include "framework/apptext.h"
#include "framework/filelock.h"
#include "framework/imagesave.h"
#include "framework/pathtext.h"
#include "framework/reporting.h"

namespace {

constexpr const char* kCannotLoad = "Cannot load SFB File";

void Warn(fw::UiServices& ui, const std::string& text) {
    ui.ShowMessage(text, fw::text::kAppName,
                   fw::MessageStyle{fw::MessageButtons::ok, fw::MessageIcon::exclamation, true});
}

}  // namespace

void CPallixDoc::Clear() {
    m_pImage.reset();
    m_nImageSize = 0;
    m_diskState.reset();
}

// Opens the file, after putting back a save of it that was cut short, and
// gets a block for its content; false, and the user told, when it cannot be loaded.
bool CPallixDoc::PrepareLoad(const std::string& path, fw::File& file, pallix::ImageMemory& block) {
    try {
        file.Open(fw::PathFromUtf8(path), fw::File::Mode::readDenyWrite);
        const fw::FileIdentity before = file.Identity();
        file.Close();
        if (!fw::PutBackInterruptedSave(ui(), path, before)) return false;
        file.Open(fw::PathFromUtf8(path), fw::File::Mode::readDenyWrite);
        // A save of this program that is under way ends before the read begins.
        if (!fw::LockFileWithin(file, fw::os::LockKind::shared, fw::kLockPatience)) {
            Warn(ui(), fw::FormatPrompt(fw::text::kFileBusy, path));
            return false;
        }
        const uint64_t length = file.Length();
        // The image is addressed with 32-bit offsets, and it must be had in
        // full before the present one is let go.
        if (length > std::numeric_limits<uint32_t>::max() ||
            !(block = pallix::AllocateImageMemory(static_cast<size_t>(length)))) {
            Warn(ui(), fw::text::kFileTooLarge);
            return false;
        }
        return true;
    } catch (const fw::FileException& error) {
        fw::ReportSaveLoadException(ui(), path, &error, fw::text::kFailedToOpenDoc);
        return false;
    }
}

bool CPallixDoc::OnOpenDocument(const std::string& path) {
    fw::File file;
    pallix::ImageMemory block;
    if (!PrepareLoad(path, file, block)) return false;

    // The present document goes once the new one is read, or could not be:
    // a cancelled read leaves it as it was.
    const auto length = static_cast<uint32_t>(block.get_deleter().size);
    ReadOutcome read = ReadOutcome::incomplete;
    fw::FileIdentity state;
    bool changedWhileRead = false;
    try {
        fw::WaitCursor wait(ui());
        // The state is taken before the read: a write that lands during it
        // changes the state, and the image would lack it.
        state = file.Identity();
        read = ReadImage(file, block, length, path);
        changedWhileRead = read == ReadOutcome::read && (state.size != length || !(file.Identity() == state));
        file.Close();
    } catch (const fw::FileException& error) {
        file.Abort();
        ClearContents();
        fw::ReportSaveLoadException(ui(), path, &error, fw::text::kFailedToOpenDoc);
        return false;
    }
    if (read == ReadOutcome::cancelled) return false;
    if (changedWhileRead) {
        Warn(ui(), fw::FormatPrompt(fw::text::kFileChangedWhileRead, path));
        return false;
    }
    ClearContents();
    if (read == ReadOutcome::incomplete) {
        ui().ShowMessage(kCannotLoad, "",
                         fw::MessageStyle{fw::MessageButtons::ok, fw::MessageIcon::information, false});
        return false;
    }
    m_pImage = std::move(block);
    m_nImageSize = length;
    m_strImagePath = fw::Utf8FromPath(std::filesystem::absolute(file.path()));
    m_diskState = state;
    SetPathName(path);
    SetModifiedFlag(false);
    return true;
}

// Reads in slices so that the user sees a large file coming in and can stop
// it; slices this large cost the read nothing measurable.
CPallixDoc::ReadOutcome CPallixDoc::ReadImage(fw::File& file, const pallix::ImageMemory& block, uint32_t length,
                                              const std::string& path) {
    constexpr uint32_t kSlice = 32u << 20;
    const std::string name = fw::Utf8FromPath(fw::PathFromUtf8(path).filename());
    fw::Progress progress = ui().BeginProgress("Opening " + name, length);
    for (uint32_t done = 0; done < length;) {
        const uint32_t slice = std::min(kSlice, length - done);
        if (file.Read(block.get() + done, slice) != slice) return ReadOutcome::incomplete;
        done += slice;
        if (!progress.Step(done)) return ReadOutcome::cancelled;
    }
    return ReadOutcome::read;
}

bool CPallixDoc::OnSaveDocument(const std::string& path) { return Save(path, path == GetPathName()); }

bool CPallixDoc::OnSaveDocumentAs(const std::string& path) { return Save(path, false); }

bool CPallixDoc::Save(const std::string& path, bool ownFile) {
    const auto written = fw::SaveImage(ui(), path, Image(), m_diskState, ownFile && m_diskState);
    if (!written) return false;
    m_diskState = written;
    SetModifiedFlag(false);
    return true;
}
