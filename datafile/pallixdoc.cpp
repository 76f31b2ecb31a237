#include "pallixdoc.h"

#include <filesystem>
#include <limits>

#include "reporting.h"
#include "safesave.h"
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
}

bool CPallixDoc::OnOpenDocument(const std::string& path) {
    fw::File file;
    pallix::ImageMemory block;
    try {
        file.Open(fw::PathFromUtf8(path), fw::File::Mode::readDenyWrite);
        const uint64_t length = file.Length();
        // The image is addressed with 32-bit offsets, and it must be had in
        // full before the present one is let go.
        if (length > std::numeric_limits<uint32_t>::max() ||
            !(block = pallix::AllocateImageMemory(static_cast<size_t>(length)))) {
            ShowFileTooLarge(ui());
            return false;
        }
    } catch (const fw::FileException& error) {
        fw::ReportSaveLoadException(ui(), path, &error, fw::text::kFailedToOpenDoc);
        return false;
    }

    ClearContents();
    try {
        fw::WaitCursor wait(ui());
        const auto length = static_cast<uint32_t>(block.get_deleter().size);
        m_pImage = ReadImage(file, std::move(block), length);
        file.Close();
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

bool CPallixDoc::OnSaveDocument(const std::string& path) {
    fw::SafeSave save;
    try {
        save.Begin(fw::PathFromUtf8(path));
    } catch (const fw::FileException& error) {
        fw::ReportSaveLoadException(ui(), path, &error, fw::text::kInvalidFilename);
        return false;
    }
    try {
        fw::WaitCursor wait(ui());
        WriteImage(save.file());
        save.Commit();
    } catch (const fw::FileException& error) {
        save.Abandon();
        fw::ReportSaveLoadException(ui(), path, &error, fw::text::kFailedToSaveDoc);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CPallixDoc::WriteImage(fw::File& file) {
    file.Write(m_pImage.get(), m_nImageSize);
    return true;
}
