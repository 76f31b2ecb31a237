#include "pallixdoc.h"

#include <filesystem>
#include <limits>

#include "reporting.h"
#include "imagesave.h"
#include "apptext.h"
#include "pathtext.h"

namespace {

constexpr const char* kCannotLoad = "Cannot load SFB File";

void ShowFileTooLarge(fw::UiServices& ui) {
    ui.ShowMessage(fw::text::kFileTooLarge, fw::text::kAppName,
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
        const uint64_t length = file.Length();
        // The image is addressed with 32-bit offsets, and it must be had in
        // full before the present one is let go.
        if (length > std::numeric_limits<uint32_t>::max() ||
            !(block = pallix::AllocateImageMemory(static_cast<size_t>(length)))) {
            ShowFileTooLarge(ui());
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

    ClearContents();
    try {
        fw::WaitCursor wait(ui());
        const auto length = static_cast<uint32_t>(block.get_deleter().size);
        m_pImage = ReadImage(file, std::move(block), length);
        const fw::FileIdentity state = file.Identity();
        file.Close();
        if (m_pImage) m_diskState = state;
    } catch (const fw::FileException& error) {
        file.Abort();
        Clear();
        fw::ReportSaveLoadException(ui(), path, &error, fw::text::kFailedToOpenDoc);
        return false;
    }

    if (!m_pImage) {
        m_nImageSize = 0;
        ui().ShowMessage(kCannotLoad, "", fw::MessageStyle{fw::MessageButtons::ok, fw::MessageIcon::information, false});
        return false;
    }
    SetPathName(path);
    SetModifiedFlag(false);
    return true;
}

pallix::ImageMemory CPallixDoc::ReadImage(fw::File& file, pallix::ImageMemory block, uint32_t length) {
    m_nImageSize = length;
    m_strImagePath = fw::Utf8FromPath(std::filesystem::absolute(file.path()));
    if (file.Read(block.get(), m_nImageSize) != m_nImageSize) return nullptr;
    return block;
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
