#include "exchange/commands/droppedfile.h"

#include "exchange/commands/bitmapcommands.h"
#include "exchange/commands/modelimport.h"
#include "exchange/formats/bitmapformats.h"
#include "exchange/model/modelformattable.h"
#include "framework/pathtext.h"

namespace {

constexpr const char* kDropCaption = "Import";

fw::CommandResult NotTaken(const std::filesystem::path& file, const std::string& why) {
    return fw::CommandResult::Refused(fw::Utf8FromPath(file.filename()) + " was not imported: " + why, kDropCaption);
}

}  // namespace

fw::CommandResult ImportDroppedFile(CommandContext context, const std::filesystem::path& file) {
    const uint16_t kind = context.record ? context.record->nKind : 0;
    context.chosenFile = file;
    if (kind == ITEM_BITMAP) {
        if (const BitmapFormat* format = BitmapFormatOfFile(file)) return ImportBitmapFrom(context, *format);
        return NotTaken(file, "a bitmap takes a BMP or PNG picture.");
    }
    if (kind == ITEM_MODEL) {
        if (const ModelFormat* format = ModelFormatOfFile(file)) return ImportModelFrom(context, *format);
        return NotTaken(file, "a model takes a 3DS, glTF, GLB or OBJ file.");
    }
    return NotTaken(file, "drop a BMP or PNG picture on a bitmap, or a 3DS, glTF, GLB or OBJ model on a model.");
}
