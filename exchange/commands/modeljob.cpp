#include "exchange/commands/modeljob.h"

#include <algorithm>

#include "exchange/files/exportpaths.h"
#include "exchange/model/modelconversion.h"
#include "exchange/model/modeltextures.h"
#include "framework/pathtext.h"

namespace {

constexpr const char* kNoSiblingCaption = "Bugger";

}  // namespace

fw::Expected<ModelJobTarget> PrepareModelJob(const CommandContext& context, const char* noSiblingMessage,
                                             const char* announceCaption, FileUse use, const char* extension) {
    if (!context.record) return fw::Refuse(NoDataRefusal().message);
    ModelJobTarget target{*context.record, {}, TextureBitmapsAfter(context.following), {}};
    for (const ItemRecord& bitmap : target.bitmaps) target.textures.push_back(BitmapFileName(bitmap.nOffset));
    if (target.textures.empty()) return fw::Refuse(noSiblingMessage);
    const std::string stem = context.modelStem.empty() ? SafeFileStem(target.record.szLabel) : context.modelStem;
    target.path =
        context.chosenFile.empty() ? context.exportFolder / fw::PathFromUtf8(stem + extension) : context.chosenFile;
    if (context.announcePaths) context.ui.Notify(Announcement("model", use, target.path), announceCaption);
    return target;
}

fw::CommandResult TargetRefused(const fw::Refusal& refusal) {
    // Both refusals, no record and no bitmap after the model, have long
    // been shown under this caption.
    return fw::CommandResult::Refused(refusal.message, kNoSiblingCaption);
}

fw::Expected<ExportedModel> ModelToExport(const CommandContext& context, const ModelJobTarget& target) {
    const auto arrays = LocateModelArrays(ModelBytes(context.document, target.record));
    if (!arrays) return fw::Refuse(kInvalidModel);
    ExportedModel model = ExportedModelOf(*arrays, target.record.szLabel, target.textures);
    const auto image = context.document.Image();
    for (const ItemRecord& bitmap : target.bitmaps) model.bitmapFiles.push_back(RecordBytes(image, bitmap));
    return model;
}

std::string ModelStemInBank(const std::vector<ItemRecord>& bankItems, size_t item) {
    std::vector<std::string> names;
    size_t mine = 0;
    for (size_t k = 0; k < bankItems.size(); ++k) {
        if (bankItems[k].nKind != ITEM_MODEL) continue;
        if (k == item) mine = names.size();
        names.push_back(bankItems[k].szLabel);
    }
    return ModelFileStems(names).at(mine);
}

std::span<uint8_t> ModelBytes(CPallixDoc& document, const ItemRecord& record) {
    auto image = document.Image();
    return image.subspan(std::min<size_t>(record.nOffset, image.size()));
}
