// View, Export and Import of a bitmap: its stored bytes leave and enter as
// a BMP file, unchanged.
#include "exchangecommands.h"
#include "exportlocation.h"
#include "exportpaths.h"
#include "littleendian.h"
#include "pathtext.h"
#include "privatetemp.h"
#include "replacebitmap.h"
#include "reporting.h"

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

// A file error is told as the framework tells it; the command then counts
// as refused, so a batch goes on.
template <typename Body>
fw::CommandResult ReportingFileErrors(const CommandContext& context, Body&& body) {
    try {
        body();
    } catch (const fw::FileException& error) {
        fw::ReportFileException(context.ui, error);
        return fw::CommandResult::Refused({}, {});
    }
    return fw::CommandResult::Done();
}

std::filesystem::path AnnouncedBitmapPath(const CommandContext& context, const char* caption) {
    const auto path = context.exportFolder / BitmapFileName(context.record->nOffset);
    if (context.announcePaths) context.ui.Notify(fw::Utf8FromPath(path), caption);
    return path;
}

}  // namespace

fw::CommandResult ViewBitmap(const CommandContext& context) {
    if (!context.record) return NoDataRefusal();
    return ReportingFileErrors(context, [&] {
        const auto path = fw::PrivateTemporaryFile("temp.bmp");
        WriteBytesTo(path, context.document.Image(), *context.record, fw::File::Mode::createPrivate);
        context.ui.ShellOpen(path);
    });
}

fw::CommandResult ExportBitmap(const CommandContext& context) {
    if (!context.record) return NoDataRefusal();
    const auto path = AnnouncedBitmapPath(context, kExportCaption);
    MakeExportFolder(context.exportFolder);
    return ReportingFileErrors(context, [&] { WriteBytesTo(path, context.document.Image(), *context.record); });
}

fw::CommandResult ImportBitmap(const CommandContext& context) {
    if (!context.record) return NoDataRefusal();
    const auto path = AnnouncedBitmapPath(context, kImportCaption);
    return ReportingFileErrors(context, [&] {
        fw::File source(path, fw::File::Mode::read);
        ReplaceBitmap(context.document, *context.record, context.copies, source);
    });
}
