// View, Export and Import of a bitmap: its stored bytes leave and enter as
// a BMP file, unchanged.
#include "exchange/commands/bitmapcommands.h"

#include "framework/littleendian.h"
#include "exchange/bitmap/replacebitmap.h"
#include "exchange/commands/commandstatus.h"
#include "exchange/files/exportledger.h"
#include "exchange/files/exportlocation.h"
#include "exchange/files/exportpaths.h"
#include "exchange/files/viewfilenames.h"
#include "framework/os.h"
#include "framework/pathtext.h"
#include "framework/privatetemp.h"
#include "framework/reporting.h"
#include "framework/safesave.h"

namespace {

constexpr const char* kExportCaption = "Bitmap file";
constexpr const char* kImportCaption = "Opening file Bitmap file";
constexpr const char* kViewCaption = "View Bitmap";

void WriteBytesTo(const std::filesystem::path& path, std::span<const uint8_t> image, const ItemRecord& record,
                  fw::File::Mode mode = fw::File::Mode::createWrite) {
    if (mode == fw::File::Mode::createWrite) fw::CheckExportTarget(path);
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

fw::CommandResult NoBitmapViewer() {
    return fw::CommandResult::Refused(std::string("No program is set to show BMP files. Install an image viewer "
                                                  "(for example ") +
                                          fw::os::PictureViewerExamples() + ") or set one for .bmp files.",
                                      kViewCaption);
}

std::filesystem::path AnnouncedBitmapPath(const CommandContext& context, const char* caption) {
    const auto path = context.exportFolder / BitmapFileName(context.record->nOffset);
    if (context.announcePaths) context.ui.Notify(fw::Utf8FromPath(path), caption);
    return path;
}

}  // namespace

fw::CommandResult ViewBitmap(const CommandContext& context) {
    if (!context.record) return NoDataRefusal();
    std::filesystem::path path;
    const auto written = ReportingFileErrors(context, [&] {
        path = fw::PrivateTemporaryFile(BitmapViewFileName(*context.record));
        WriteBytesTo(path, context.document.Image(), *context.record, fw::File::Mode::createPrivate);
    });
    if (written.Refused()) return written;
    if (!context.ui.ShellOpen(path)) return NoBitmapViewer();
    TellShown(context.ui, path, "with the program set for BMP files");
    return written;
}

fw::CommandResult ExportBitmap(const CommandContext& context) {
    if (!context.record) return NoDataRefusal();
    const auto path = AnnouncedBitmapPath(context, kExportCaption);
    if (!MayReplaceExportFile(context.ui, path)) return fw::CommandResult::Refused({}, {});
    MakeExportFolder(context.exportFolder);
    auto result = ReportingFileErrors(context, [&] { WriteBytesTo(path, context.document.Image(), *context.record); });
    if (result.Refused()) return result;
    RememberExportFile(path);
    TellExported(context.ui, path);
    return result;
}

fw::CommandResult ImportBitmap(const CommandContext& context) {
    if (!context.record) return NoDataRefusal();
    const auto path = AnnouncedBitmapPath(context, kImportCaption);
    auto result = ReportingFileErrors(context, [&] {
        fw::File source(path, fw::File::Mode::read);
        ReplaceBitmap(context.document, *context.record, context.copies, source);
    });
    if (result.Refused()) return result;
    // A file of the bitmap's own length is now the bitmap, byte for byte:
    // exporting it again writes the same file and loses nothing.
    std::error_code error;
    if (std::filesystem::file_size(path, error) == context.record->nSize) RememberExportFile(path);
    TellImported(context.ui, path);
    return result;
}
