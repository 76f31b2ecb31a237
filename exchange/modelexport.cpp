// Export of models as 3DS mesh files, one model or a whole bank.
#include "exchange/bankbatch.h"
#include "exchange/commandstatus.h"
#include "exchange/exchangecommands.h"
#include "exchange/exportledger.h"
#include "exchange/exportlocation.h"
#include "exchange/meshdatabase.h"
#include "exchange/modelconversion.h"
#include "exchange/modeljob.h"
#include "exchange/toolkitjob.h"
#include "framework/pathtext.h"
#include "framework/safesave.h"
#include "toolkit3ds/toolkit3ds.h"

namespace {

constexpr const char* kExportCaption = "Model (3DS) file";
constexpr const char* kExportAllCaption = "Export All";

}  // namespace

fw::CommandResult WriteModel3dsFile(const std::filesystem::path& path, const ExportedModel& model) {
    try {
        fw::CheckExportTarget(path);
    } catch (const fw::FileException& error) {
        return fw::CommandResult::Refused(error.Message(), kExportCaption);
    }
    ToolkitJob job(kExportCaption);
    File3ds* file = nullptr;
    job.Then([&] { file = OpenFile3ds(fw::Utf8FromPath(path).c_str(), "w"); })
        .Then([&] { NewDatabase3ds(&job.database()); })
        .Then([&] { CreateDatabase3ds(job.database(), DatabaseKind3ds::MeshFile); })
        .Then([&] { BuildMeshDatabase(ObjectNameOfModel(model.name), job.database(), model); })
        .Then([&] { WriteDatabase3ds(file, job.database()); })
        .Then([&] { CloseAllFiles3ds(); })
        .Then([&] { ReleaseDatabase3ds(&job.database()); });
    return job.Result();
}

namespace {

bool IsKind(const CommandContext& bank, size_t child, uint16_t kind) {
    return child < bank.children.size() && bank.children[child].nKind == kind;
}

}  // namespace

fw::CommandResult ExportAllCancelled(const std::filesystem::path& folder) {
    return fw::CommandResult::Refused(
        "Export All was cancelled. The files written before stay in\n" + fw::Utf8FromPath(folder), kExportAllCaption);
}

CommandContext ChildContext(const CommandContext& bank, size_t child) {
    CommandContext context{bank.document,
                           bank.ui,
                           bank.children[child],
                           {},
                           {},
                           {},
                           {},
                           bank.exportFolder,
                           bank.programDir,
                           false,
                           {},
                           {}};
    context.following.assign(bank.children.begin() + child + 1, bank.children.end());
    if (IsKind(bank, child, ITEM_MODEL)) context.modelStem = ModelStemInBank(bank.children, child);
    return context;
}

fw::CommandResult ExportModel(const CommandContext& context) {
    fw::CommandResult refusal;
    const auto target = PrepareModelJob(context, "Cannot find sibling item (a).", kExportCaption, refusal);
    if (!target) return refusal;
    if (!MayReplaceExportFile(context.ui, target->path)) return fw::CommandResult::Refused({}, {});
    MakeExportFolder(context.exportFolder);
    auto result = ExportModelToFile(target->path, ModelBytes(context.document, target->record), target->record.szLabel,
                                    target->textures);
    if (result.outcome != fw::CommandResult::Outcome::done) return result;
    RememberExportFile(target->path);
    TellExported(context.ui, target->path);
    return result;
}

fw::CommandResult ExportModelToFile(const std::filesystem::path& path, std::span<const uint8_t> model,
                                    const std::string& modelName, const TextureNames& textures) {
    const auto arrays = LocateModelArrays(model);
    if (!arrays) return fw::CommandResult::Refused(kInvalidModel, kInvalidModelCaption);
    ExportedModel exported{modelName, {}, {}, textures, {}};
    for (uint32_t k = 0; k < arrays->vertexCount; ++k) exported.points.push_back(PointFromVertex(*arrays, k));
    for (uint32_t k = 0; k < arrays->triangleCount; ++k)
        exported.faces.push_back(FaceFromTriangle(*arrays, k, textures.size()));
    return WriteModel3dsFile(path, exported);
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
    return closing ? fw::CommandResult::Done(closing, kExportAllCaption) : fw::CommandResult::Done();
}

fw::CommandResult ExportAll(const CommandContext& context) { return ExportAllWith(context, ExportModel); }

fw::CommandResult ExportAllWith(const CommandContext& context, const ModelExport& exportModel) {
    if (!context.record) return NoDataRefusal();
    fw::WaitCursor wait(context.ui);
    BatchSteps steps(context.ui, kExportAllCaption, context.children.size());
    return ExportBankItems(context, steps, exportModel);
}
