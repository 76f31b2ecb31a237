// View, Export and Import of a bitmap. It leaves as its stored bytes (BMP)
// or as its picture (PNG), and comes back by the one import rule: a file of
// its own layout byte for byte, any other picture of its size written into
// its layout.
#include "exchange/commands/bitmapcommands.h"

#include "exchange/bitmap/bitmapimport.h"
#include "exchange/bitmap/picturefile.h"
#include "exchange/bitmap/replacebitmap.h"
#include "exchange/commands/commandstatus.h"
#include "exchange/files/batchwrites.h"
#include "exchange/files/exportledger.h"
#include "exchange/files/exportlocation.h"
#include "exchange/files/exportpaths.h"
#include "exchange/files/viewfilenames.h"
#include "framework/littleendian.h"
#include "framework/os.h"
#include "framework/pathtext.h"
#include "framework/privatetemp.h"
#include "framework/reporting.h"
#include "framework/safesave.h"

namespace {

constexpr const char* kExportCaption = "Bitmap file";
constexpr const char* kImportCaption = "Opening file Bitmap file";
constexpr const char* kViewCaption = "View Bitmap";
constexpr const char* kRefusedImportCaption = "Import Bitmap";

// The stored bitmap's bytes; none when its record reaches past the image.
std::span<const uint8_t> StoredBytes(const CommandContext& context) {
    const auto image = context.document.Image();
    const ItemRecord& record = *context.record;
    if (!pallix::FitsIn(image, record.nOffset, record.nSize)) return {};
    return image.subspan(record.nOffset, record.nSize);
}

void WriteBytesTo(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                  fw::File::Mode mode = fw::File::Mode::createWrite) {
    if (mode == fw::File::Mode::createWrite) fw::CheckExportTarget(path);
    fw::File file(path, mode);
    file.Write(bytes.data(), bytes.size());
    if (!BatchOfWrites::UnderWay()) file.Flush();
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

std::filesystem::path AnnouncedBitmapPath(const CommandContext& context, const char* caption, FileUse use,
                                          const BitmapFormat& format) {
    const auto path = context.chosenFile.empty()
                          ? context.exportFolder / BitmapFileName(context.record->nOffset, format)
                          : context.chosenFile;
    if (context.announcePaths) context.ui.Notify(Announcement("bitmap", use, path), caption);
    return path;
}

}  // namespace

fw::CommandResult ViewBitmap(const CommandContext& context) {
    if (!context.record) return NoDataRefusal();
    std::filesystem::path path;
    const auto written = ReportingFileErrors(context, [&] {
        path = fw::PrivateTemporaryFile(BitmapViewFileName(*context.record));
        WriteBytesTo(path, StoredBytes(context), fw::File::Mode::createPrivate);
    });
    if (written.Refused()) return written;
    if (!context.ui.ShellOpen(path)) return NoBitmapViewer();
    TellShown(context.ui, path, "with the program set for BMP files");
    return written;
}

fw::CommandResult ExportBitmap(const CommandContext& context) { return ExportBitmapAs(context, BmpFormat()); }

fw::CommandResult ImportBitmap(const CommandContext& context) { return ImportBitmapFrom(context, BmpFormat()); }

fw::CommandResult ExportBitmapAs(const CommandContext& context, const BitmapFormat& format) {
    if (!context.record) return NoDataRefusal();
    const auto path = AnnouncedBitmapPath(context, kExportCaption, FileUse::written, format);
    // Encoded before the folder or the file is touched: a bitmap that has no
    // picture leaves nothing behind.
    const auto bytes = EncodeStoredBitmap(format, StoredBytes(context));
    if (!bytes) return fw::CommandResult::Refused(bytes.why(), kExportCaption);
    if (!context.ledger->MayReplace(context.ui, path)) return fw::CommandResult::Refused({}, {});
    MakeExportFolder(context.exportFolder);
    auto result = ReportingFileErrors(context, [&] { WriteBytesTo(path, *bytes); });
    if (result.Refused()) return result;
    context.ledger->Remember(path, *bytes);
    TellExported(context.ui, path);
    return result;
}

fw::CommandResult ImportBitmapFrom(const CommandContext& context, const BitmapFormat& format) {
    if (!context.record) return NoDataRefusal();
    const auto path = AnnouncedBitmapPath(context, kImportCaption, FileUse::read, format);
    const std::string shownName = fw::Utf8FromPath(path.filename());
    std::optional<fw::Expected<std::vector<uint8_t>>> file;
    const auto read = ReportingFileErrors(context, [&] { file = ReadPictureFile(path, shownName); });
    if (read.Refused()) return read;
    // A refused import changes nothing and ends a script, as a refused model import does.
    const auto refused = [](const std::string& why) { return fw::CommandResult::Failed(why, kRefusedImportCaption); };
    if (!*file) return refused(file->why());
    const auto import = ImportIntoBitmap(StoredBytes(context), **file, format, shownName);
    if (!import) return refused(import.why());
    const auto replaced = ReplaceBitmap(context.document, *context.record, context.copies, import->bytes);
    if (!replaced) return refused(replaced.why());
    // The file still says what the bitmap now holds unless colours were
    // approximated: then it stays the user's, and the next export asks.
    if (import->approximated == 0 && context.chosenFile.empty()) context.ledger->Remember(path);
    const std::string approximations = DescribeImport(*import, shownName);
    if (approximations.empty())
        TellImported(context.ui, path);
    else
        context.ui.ShowStatus(approximations);
    return fw::CommandResult::Done();
}
