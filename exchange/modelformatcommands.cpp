// Export and import of a model as glTF or OBJ, through the same target,
// folder and import rules as its 3DS file.
#include "exchange/modelformatcommands.h"

#include <algorithm>

#include "datafile/littleendian.h"
#include "exchange/commandstatus.h"
#include "exchange/exchangecommands.h"
#include "exchange/exportledger.h"
#include "exchange/exportlocation.h"
#include "exchange/formats/modelformats.h"
#include "exchange/modelconversion.h"
#include "exchange/modeljob.h"

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

// The import's announcement in the 3DS import's words, naming the kind of
// file read.
std::string ImportCaption(ModelFormat format) { return "Opening file " + ExportCaption(format); }

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

// The model's own file and the one the format keeps beside it; the
// pictures are asked about as they are written.
std::vector<std::filesystem::path> ModelFiles(const std::filesystem::path& path, ModelFormat format) {
    std::vector<std::filesystem::path> files{path};
    if (format == ModelFormat::gltf) files.push_back(std::filesystem::path(path).replace_extension(".bin"));
    if (format == ModelFormat::obj) files.push_back(std::filesystem::path(path).replace_extension(".mtl"));
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

fw::CommandResult ExportModelIn(const CommandContext& context, ModelFormat format, WrittenPictures& pictures) {
    fw::CommandResult refusal;
    const auto target = PrepareModelJob(context, "Cannot find sibling item (a).", ExportCaption(format).c_str(),
                                        FileUse::written, refusal, InfoOf(format).extension);
    if (!target) return refusal;
    const auto model = ModelToExport(context, *target);
    if (!model) return fw::CommandResult::Refused(kInvalidModel, kInvalidModelCaption);
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

}  // namespace

std::span<const ModelFormatInfo> ModelFormats() { return kFormats; }

std::optional<ModelFormat> ModelFormatNamed(const std::string& name) {
    for (const ModelFormatInfo& info : kFormats)
        if (name == info.name) return info.format;
    return std::nullopt;
}

fw::CommandResult ExportModelAs(const CommandContext& context, ModelFormat format) {
    if (format == ModelFormat::threeDs) return ExportModel(context);
    WrittenPictures pictures = GuardedPictures(context);
    return ExportModelIn(context, format, pictures);
}

fw::CommandResult ImportModelFrom(const CommandContext& context, ModelFormat format) {
    switch (format) {
        case ModelFormat::threeDs: return ImportModel(context);
        case ModelFormat::obj:
            return ImportModelWith(context, {ReadObj, InfoOf(format).extension, ImportCaption(format), false});
        default: return ImportModelWith(context, {ReadGltf, InfoOf(format).extension, ImportCaption(format), false});
    }
}

fw::CommandResult ExportAllAs(const CommandContext& context, ModelFormat format) {
    if (format == ModelFormat::threeDs) return ExportAll(context);
    WrittenPictures pictures = GuardedPictures(context);
    return ExportAllWith(context, [&](const CommandContext& model) { return ExportModelIn(model, format, pictures); });
}
