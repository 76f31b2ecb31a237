// View, Export and Import of a bitmap: its stored bytes leave and enter as
// a BMP file, unchanged.
#include "exportpaths.h"
#include "file.h"
#include "littleendian.h"
#include "pallixview.h"
#include "privatetemp.h"
#include "replacebitmap.h"
#include "reporting.h"
#include "pathtext.h"

namespace {

constexpr const char* kExportCaption = "Bitmap file";
constexpr const char* kImportCaption = "Opening file Bitmap file";

void WriteBytesTo(const std::filesystem::path& path, std::span<const uint8_t> image, const ItemRecord& record,
                  fw::File::Mode mode = fw::File::Mode::createWrite) {
    fw::File file(path, mode);
    if (pallix::FitsIn(image, record.nOffset, record.nSize)) file.Write(image.data() + record.nOffset, record.nSize);
    file.Flush();
    file.Close();
}

}  // namespace

std::filesystem::path CPallixView::BitmapPath(const ItemRecord& record) const {
    return ExportFolder(m_szModulePath, m_szDataPath) / BitmapFileName(record.nOffset);
}

void CPallixView::OnViewBitmap() {
    const ItemRecord* record = ContextRecord();
    if (!record) return;
    try {
        const auto path = fw::PrivateTemporaryFile("temp.bmp");
        WriteBytesTo(path, m_document.Image(), *record, fw::File::Mode::createPrivate);
        m_ui.ShellOpen(path);
    } catch (const fw::FileException& error) {
        fw::ReportFileException(m_ui, error);
    }
}

void CPallixView::OnExportBitmap() {
    const ItemRecord* record = ContextRecord();
    if (!record) return;
    const auto path = BitmapPath(*record);
    if (m_bAnnouncePaths) m_ui.Notify(fw::Utf8FromPath(path), kExportCaption);
    try {
        WriteBytesTo(path, m_document.Image(), *record);
    } catch (const fw::FileException& error) {
        fw::ReportFileException(m_ui, error);
    }
}

void CPallixView::OnImportBitmap() {
    const ItemRecord* record = ContextRecord();
    if (!record) return;
    const auto path = BitmapPath(*record);
    if (m_bAnnouncePaths) m_ui.Notify(fw::Utf8FromPath(path), kImportCaption);
    try {
        fw::File source(path, fw::File::Mode::read);
        ReplaceBitmap(*this, *record, source);
    } catch (const fw::FileException& error) {
        fw::ReportFileException(m_ui, error);
    }
}
