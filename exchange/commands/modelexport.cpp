// Export of models in any format of the table, one model or a whole bank.
#include "exchange/commands/modelexport.h"

#include "exchange/commands/bitmapcommands.h"
#include "exchange/commands/commandstatus.h"
#include "exchange/commands/exportbanks.h"
#include "exchange/commands/modeljob.h"
#include "exchange/files/batchwrites.h"
#include "exchange/files/exportledger.h"
#include "exchange/files/exportlocation.h"
#include "framework/pathtext.h"

namespace {

constexpr const char* kExportAllCaption = "Export All";

bool IsKind(const CommandContext& bank, size_t child, uint16_t kind) {
    return child < bank.children.size() && bank.children[child].nKind == kind;
}

fw::CommandResult WriteInFormat(const ExportedModel& model, const std::filesystem::path& path,
                                const ModelFormat& format, WrittenPictures& pictures) {
    const auto notes = format.write(model, path, &pictures);
    if (!notes) return fw::CommandResult::Failed(notes.why(), format.exportCaption);
    std::string text;
    for (const std::string& note : *notes) text += (text.empty() ? "" : "\n") + note;
    return fw::CommandResult::Done(text, format.exportCaption);
}

// The model's own file and the one the format keeps beside it; the
// pictures are asked about as they are written.
std::vector<std::filesystem::path> ModelFiles(const std::filesystem::path& path, const ModelFormat& format) {
    std::vector<std::filesystem::path> files{path};
    if (format.companionExtension)
        files.push_back(std::filesystem::path(path).replace_extension(format.companionExtension));
    return files;
}

// Pictures beside a model are the user's to paint: one changed since an
// export wrote it is replaced only when the user says so.
WrittenPictures GuardedPictures(const CommandContext& context) {
    WrittenPictures pictures;
    pictures.mayReplace = [&ui = context.ui, ledger = context.ledger](const std::filesystem::path& file) {
        return ledger->MayReplace(ui, file);
    };
    pictures.wrote = [ledger = context.ledger](const std::filesystem::path& file) { ledger->Remember(file); };
    return pictures;
}

fw::CommandResult ExportModelIn(const CommandContext& context, const ModelFormat& format, WrittenPictures& pictures) {
    const auto target = PrepareModelJob(context, "Cannot find sibling item (a).", format.exportCaption,
                                        FileUse::written, format.extension);
    if (!target) return TargetRefused(target.refusal());
    const auto model = ModelToExport(context, *target);
    if (!model) return fw::CommandResult::Refused(model.why(), kInvalidModelCaption);
    const auto files = ModelFiles(target->path, format);
    for (const auto& file : files)
        if (!context.ledger->MayReplace(context.ui, file)) return fw::CommandResult::Refused({}, {});
    MakeExportFolder(context.exportFolder);
    auto result = WriteInFormat(*model, target->path, format, pictures);
    if (result.outcome != fw::CommandResult::Outcome::done) return result;
    for (const auto& file : files) context.ledger->Remember(file);
    TellExported(context.ui, target->path);
    return result;
}

fw::CommandResult ExportAllWith(const CommandContext& context, const ModelExport& exportModel) {
    if (!context.record) return NoDataRefusal();
    fw::WaitCursor wait(context.ui);
    BatchOfWrites batch(context.exportFolder);
    BatchSteps steps(context.ui, kExportAllCaption, context.children.size());
    return ExportBankItems(context, steps, exportModel);
}

}  // namespace

fw::CommandResult ExportModel(const CommandContext& context) { return ExportModelAs(context, Model3dsFormat()); }

fw::CommandResult ExportModelAs(const CommandContext& context, const ModelFormat& format) {
    WrittenPictures pictures = GuardedPictures(context);
    return ExportModelIn(context, format, pictures);
}

fw::CommandResult ExportAll(const CommandContext& context) { return ExportAllAs(context, Model3dsFormat()); }

fw::CommandResult ExportAllAs(const CommandContext& context, const ModelFormat& format) {
    // A bank's models share their bitmaps: each picture is written once.
    WrittenPictures pictures = GuardedPictures(context);
    const ModelExport exportModel = [&](const CommandContext& model) { return ExportModelIn(model, format, pictures); };
    return ExportAllWith(context, exportModel);
}

fw::CommandResult ExportAllBanksAs(const CommandContext& context, const ModelFormat& format) {
    WrittenPictures pictures = GuardedPictures(context);
    const ModelExport exportModel = [&](const CommandContext& model) { return ExportModelIn(model, format, pictures); };
    return ExportAllBanks(context, exportModel);
}

fw::CommandResult ExportAllCancelled(const std::filesystem::path& folder) {
    return fw::CommandResult::Refused(
        "Export All was cancelled. The files written before stay in\n" + fw::Utf8FromPath(folder), kExportAllCaption);
}

CommandContext ChildContext(const CommandContext& bank, size_t child) {
    CommandContext context{
        .document = bank.document,
        .ui = bank.ui,
        .record = bank.children[child],
        .following = {bank.children.begin() + child + 1, bank.children.end()},
        .exportFolder = bank.exportFolder,
        .programDir = bank.programDir,
        .announcePaths = false,
        .ledger = bank.ledger,
    };
    if (IsKind(bank, child, ITEM_MODEL)) context.modelStem = ModelStemInBank(bank.children, child);
    return context;
}

fw::CommandResult ExportBankItems(const CommandContext& context, BatchSteps& steps, const ModelExport& exportModel) {
    const char* closing = nullptr;
    size_t child = 0, models = 0, bitmaps = 0;
    for (; IsKind(context, child, ITEM_MODEL); ++child) {
        const auto result = exportModel(ChildContext(context, child));
        if (result.Failed()) return result;
        models += result.outcome == fw::CommandResult::Outcome::done;
        fw::ShowResult(context.ui, result);
        if (child + 1 == context.children.size()) closing = "Object Exported. No Bitmaps Found";
        if (!steps.Next()) return ExportAllCancelled(context.exportFolder);
    }
    for (; IsKind(context, child, ITEM_BITMAP); ++child) {
        const auto result = ExportBitmap(ChildContext(context, child));
        bitmaps += result.outcome == fw::CommandResult::Outcome::done;
        fw::ShowResult(context.ui, result);
        if (child + 1 == context.children.size()) closing = "Object Exported";
        if (!steps.Next()) return ExportAllCancelled(context.exportFolder);
    }
    TellExportedAll(context.ui, models, bitmaps, context.exportFolder);
    if (!closing) return fw::CommandResult::Done();
    // The closing words say an object was exported: only true when one was;
    // what was written, and where, follows them.
    if (models + bitmaps == 0) return fw::CommandResult::Done("Nothing was exported.", kExportAllCaption);
    return fw::CommandResult::Done(
        closing + ("\n" + ModelsAndBitmaps(models, bitmaps)) + " written to\n" + fw::Utf8FromPath(context.exportFolder),
        kExportAllCaption);
}
