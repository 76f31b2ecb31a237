// View Model: the model as a DXF drawing, shown by our viewer program.
#include "dxfwriter.h"
#include "file.h"
#include "pallixview.h"
#include "privatetemp.h"
#include "reporting.h"
#include "pathtext.h"

namespace {

#ifdef _WIN32
constexpr const char* kViewerProgram = "vistel.exe";
#else
constexpr const char* kViewerProgram = "vistel";
#endif

}  // namespace

void CPallixView::WriteDxf(fw::File& file, std::span<const uint8_t> model, uint32_t offset, uint32_t size) {
    const auto text = DxfText(model, offset, size);
    if (!text) {
        m_ui.Notify(kInvalidModel, kInvalidModelCaption);
        return;
    }
    file.Write(text->data(), text->size());
}

void CPallixView::OnViewModel() {
    const ItemRecord* record = ContextRecord();
    if (!record) return;
    try {
        const auto path = fw::PrivateTemporaryFile("temp.dxf");
        fw::File file(path, fw::File::Mode::createPrivate);
        WriteDxf(file, m_document.Image().subspan(std::min<size_t>(record->nOffset, m_document.m_nImageSize)),
                 record->nOffset, record->nSize);
        file.Flush();
        file.Close();
        const auto programDir = m_szModulePath.parent_path();
        m_ui.StartProgram(programDir / kViewerProgram, fw::Utf8FromPath(path), programDir);
    } catch (const fw::FileException& error) {
        fw::ReportFileException(m_ui, error);
    }
}
