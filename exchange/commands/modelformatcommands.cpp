// Export and import of a model as glTF or OBJ, through the same target,
// folder and import rules as its 3DS file.
#include "exchange/commands/modelformatcommands.h"

#include "datafile/littleendian.h"
#include "exchange/commands/commandstatus.h"
#include "exchange/commands/exportbanks.h"
#include "exchange/commands/modelexport.h"
#include "exchange/commands/modelimport.h"
#include "exchange/commands/modeljob.h"
#include "exchange/files/exportledger.h"
#include "exchange/files/exportlocation.h"
#include "exchange/formats/modelformats.h"
#include "exchange/model/modelconversion.h"

#include <algorithm>


namespace {

constexpr ModelFormatInfo kFormats[] = {
    {ModelFormat::threeDs, "3ds", "3DS (.3ds)", ".3ds"},
    {ModelFormat::gltf, "gltf", "glTF 2.0 (.gltf with its .bin)", ".gltf"},
    {ModelFormat::glb, "glb", "glTF 2.0 binary (.glb)", ".glb"},
    {ModelFormat::obj, "obj", "OBJ (.obj with its .mtl)", ".obj"},
};

const ModelFormatInfo& InfoOf(ModelFormat format) {
    return *std::find_if(std::begin(kFormats), std::end(kFormats),
                         [format](const ModelFormatInfo& info) { return info.format == format; });
}

std::string ExportCaption(ModelFormat format) {
    return format == ModelFormat::obj ? "Model (OBJ) file" : "Model (glTF) file";
}

// The model and the stored bytes of the bitmaps it shows.
std::optional<ExportedModel> ModelToExport(const CommandContext& context, const ModelJobTarget& target) {
    const auto image = context.document.Image();
    const auto arrays = LocateModelArrays(ModelBytes(context.document, target.record));
    if (!arrays) return std::nullopt;
    ExportedModel model{target.record.szLabel, {}, {}, target.textures, {}};
    for (uint32_t k = 0; k < arrays->vertexCount; ++k) model.points.push_back(PointFromVertex(*arrays, k));
    for (uint32_t k = 0; k < arrays->triangleCount; ++k)
        model.faces.push_back(FaceFromTriangle(*arrays, k, target.textures.size()));
    for (const ItemRecord& bitmap : target.bitmaps) {
        const bool inside = pallix::FitsIn(image, bitmap.nOffset, bitmap.nSize);
        model.bitmapFiles.push_back(inside ? std::span<const uint8_t>(image.subspan(bitmap.nOffset, bitmap.nSize))
                                           : std::span<const uint8_t>());
    }
    return model;
}

fw::CommandResult WriteInFormat(const ExportedModel& model, const std::filesystem::path& path, ModelFormat format,
                                WrittenPictures& pictures) {
    const FormatWriteResult written = format == ModelFormat::obj
                                          ? WriteObj(model, path, &pictures)
                                          : WriteGltf(model, path, format == ModelFormat::glb, &pictures);
    if (!written.ok()) return fw::CommandResult::Failed(written.failure, ExportCaption(format));
    std::string notes;
    for (const std::string& note : written.notes) notes += (notes.empty() ? "" : "\n") + note;
    return fw::CommandResult::Done(notes, ExportCaption(format));
}

fw::CommandResult ExportModelIn(const CommandContext& context, ModelFormat format, WrittenPictures& pictures) {
    fw::CommandResult refusal;
    const auto target = PrepareModelJob(context, "Cannot find sibling item (a).", ExportCaption(format).c_str(),
                                        refusal, InfoOf(format).extension);
    if (!target) return refusal;
    const auto model = ModelToExport(context, *target);
    if (!model) return fw::CommandResult::Refused(kInvalidModel, kInvalidModelCaption);
    if (!MayReplaceExportFile(context.ui, target->path)) return fw::CommandResult::Refused({}, {});
    MakeExportFolder(context.exportFolder);
    auto result = WriteInFormat(*model, target->path, format, pictures);
    if (result.outcome != fw::CommandResult::Outcome::done) return result;
    RememberExportFile(target->path);
    TellExported(context.ui, target->path);
    return result;
}

}  // namespace

std::span<const ModelFormatInfo> ModelFormats() { return kFormats; }

std::optional<ModelFormat> ModelFormatNamed(const std::string& name) {
    for (const ModelFormatInfo& info : kFormats)
        if (name == info.name) return info.format;
    return std::nullopt;
}

fw::CommandResult ExportModelAs(const CommandContext& context, ModelFormat format) {
    if (format == ModelFormat::threeDs) return ExportModel(context);
    WrittenPictures pictures;
    return ExportModelIn(context, format, pictures);
}

MeshReader ReaderOf(ModelFormat format) {
    switch (format) {
        case ModelFormat::threeDs: return ReadImported3ds;
        case ModelFormat::obj: return ReadObj;
        default: return ReadGltf;
    }
}

fw::CommandResult ImportModelFrom(const CommandContext& context, ModelFormat format) {
    return ImportModelWith(context, ReaderOf(format), InfoOf(format).extension);
}

fw::CommandResult ExportAllAs(const CommandContext& context, ModelFormat format) {
    WrittenPictures pictures;
    const ModelExport exportModel = [&](const CommandContext& model) {
        return format == ModelFormat::threeDs ? ExportModel(model) : ExportModelIn(model, format, pictures);
    };
    // The root's banks each into a folder of their own, as Export All puts them.
    return context.record ? ExportAllWith(context, exportModel) : ExportAllBanks(context, exportModel);
}
