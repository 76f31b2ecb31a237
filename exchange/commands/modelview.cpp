// View Model: the model as a DXF drawing, shown by our viewer program.
#include "exchange/commands/modelview.h"

#include "exchange/commands/commandstatus.h"
#include "exchange/commands/modeljob.h"
#include "exchange/files/viewfilenames.h"
#include "exchange/model/dxfwriter.h"
#include "framework/os.h"
#include "framework/pathtext.h"
#include "framework/privatetemp.h"
#include "framework/reporting.h"

namespace {

constexpr const char* kViewCaption = "View Model";

// The viewer belongs to the installation: a missing one is a damaged install.
fw::CommandResult ViewerDidNotStart(const CommandContext& context) {
    return fw::CommandResult::Refused(fw::os::ProgramFileName("vistel") + " could not be started from " +
                                          fw::Utf8FromPath(context.programDir) + ". Reinstall the Quon Data Manager.",
                                      kViewCaption);
}

}  // namespace

fw::CommandResult WriteDxf(fw::File& file, std::span<const uint8_t> model, uint32_t offset, uint32_t size) {
    const auto text = DxfText(model, offset, size);
    if (!text) return fw::CommandResult::Refused(kInvalidModel, kInvalidModelCaption);
    file.Write(text->data(), text->size());
    return fw::CommandResult::Done();
}

fw::CommandResult ViewModel(const CommandContext& context) {
    if (!context.record) return NoDataRefusal();
    const ItemRecord& record = *context.record;
    try {
        const auto path = fw::PrivateTemporaryFile(ModelViewFileName(record, context.modelStem));
        fw::File file(path, fw::File::Mode::createPrivate);
        const auto written = WriteDxf(file, ModelBytes(context.document, record), record.nOffset, record.nSize);
        file.Flush();
        file.Close();
        // The viewer is started even for an invalid model, after the user was told.
        fw::ShowResult(context.ui, written);
        if (!context.ui.StartProgram(context.programDir / fw::os::ProgramFileName("vistel"), fw::Utf8FromPath(path),
                                     context.programDir))
            return ViewerDidNotStart(context);
        TellShown(context.ui, path, "in " + fw::os::ProgramFileName("vistel"));
    } catch (const fw::FileException& error) {
        fw::ReportFileException(context.ui, error);
        return fw::CommandResult::Refused({}, {});
    }
    return fw::CommandResult::Done();
}
