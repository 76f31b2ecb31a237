#include "exchange/model/modelformattable.h"

#include "exchange/formats/formatbyextension.h"
#include "exchange/threeds/read3ds.h"
#include "exchange/threeds/write3ds.h"

namespace {

fw::Expected<WriteNotes> WriteGltfText(const ExportedModel& model, const std::filesystem::path& path,
                                       WrittenPictures* written) {
    return WriteGltf(model, path, false, written);
}

fw::Expected<WriteNotes> WriteGltfBinary(const ExportedModel& model, const std::filesystem::path& path,
                                         WrittenPictures* written) {
    return WriteGltf(model, path, true, written);
}

fw::Expected<std::vector<uint8_t>> GltfTextBytes(const ExportedModel& model, const std::filesystem::path& path) {
    return GltfBytes(model, path, false);
}

fw::Expected<std::vector<uint8_t>> GltfBinaryBytes(const ExportedModel& model, const std::filesystem::path& path) {
    return GltfBytes(model, path, true);
}

// The 3DS file names no other file: its name does not matter.
fw::Expected<std::vector<uint8_t>> ThreeDsBytes(const ExportedModel& model, const std::filesystem::path&) {
    return Write3dsBytes(model);
}

constexpr ModelFormat kFormats[] = {
    {"3ds", "3DS (.3ds)", ".3ds", "Model (3DS) file", "Opening file Bitmap file", true, nullptr, Write3ds,
     ReadImported3ds, ThreeDsBytes},
    {"gltf", "glTF 2.0 (.gltf with its .bin)", ".gltf", "Model (glTF) file", "Opening file Model (glTF) file", false,
     ".bin", WriteGltfText, ReadGltf, GltfTextBytes},
    {"glb", "glTF 2.0 binary (.glb)", ".glb", "Model (glTF) file", "Opening file Model (glTF) file", false, nullptr,
     WriteGltfBinary, ReadGltf, GltfBinaryBytes},
    {"obj", "OBJ (.obj with its .mtl)", ".obj", "Model (OBJ) file", "Opening file Model (OBJ) file", false, ".mtl",
     WriteObj, ReadObj, ObjBytes},
};

}  // namespace

std::span<const ModelFormat> ModelFormats() { return kFormats; }

const ModelFormat* ModelFormatNamed(const std::string& name) {
    for (const ModelFormat& format : kFormats)
        if (name == format.name) return &format;
    return nullptr;
}

const ModelFormat* ModelFormatOfFile(const std::filesystem::path& path) {
    return FormatByExtension(ModelFormats(), path);
}

const ModelFormat& Model3dsFormat() { return kFormats[0]; }
