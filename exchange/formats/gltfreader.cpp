// glTF 2.0 import: the library parses the document and loads its buffers,
// through callbacks that read only ordinary files of a model file's size;
// a .glb's chunks are checked here first.
#include <tiny_gltf.h>

#include "exchange/formats/formatfiles.h"
#include "exchange/formats/glbcontainer.h"
#include "exchange/formats/gltfpictures.h"
#include "exchange/formats/gltfscene.h"
#include "exchange/formats/importrefusal.h"
#include "exchange/formats/jsonnesting.h"
#include "exchange/formats/modelformats.h"
#include "framework/pathtext.h"

namespace {

bool IsOrdinaryFile(const std::string& utf8Path, void*) {
    std::error_code error;
    return std::filesystem::is_regular_file(fw::PathFromUtf8(utf8Path), error);
}

std::string AsGiven(const std::string& utf8Path, void*) { return utf8Path; }

bool ReadBuffer(std::vector<unsigned char>* out, std::string* failure, const std::string& utf8Path, void*) {
    LoadedBytes loaded = LoadModelFile(fw::PathFromUtf8(utf8Path));
    if (failure) *failure = loaded.failure;
    *out = std::move(loaded.bytes);
    return loaded.failure.empty();
}

bool RefuseWrite(std::string*, const std::string&, const std::vector<unsigned char>&, void*) { return false; }

// The library decodes no picture: a data URI's bytes are kept as they are,
// for the bitmaps the picture may name. A buffer view's bytes come here
// unchecked against their buffer and are left for GltfPictures to read.
bool KeepImage(tinygltf::Image* image, const int index, std::string*, std::string*, int, int,
               const unsigned char* bytes, int size, void* loaded) {
    if (image->bufferView < 0 && size > 0)
        (*static_cast<LoadedImages*>(loaded))[index].assign(bytes, bytes + size);
    return true;
}

// The library's first complaint, in the words of our other messages.
std::string Reworded(const std::string& error) {
    const std::string line = error.substr(0, error.find('\n'));
    const size_t at = line.find(" at line ");
    if (line.find("json.exception") != std::string::npos)
        return "its JSON text is cut short or damaged" +
               (at == std::string::npos ? std::string()
                                        : " (" + line.substr(at + 1, line.find(':', at) - at - 1) + ")");
    const size_t missing = line.find("File not found : ");
    if (missing != std::string::npos)
        return "the file " + line.substr(missing + 17) + " it needs was not found beside it";
    return line.empty() ? "the file is damaged" : "it is not valid glTF (" + line + ")";
}

bool Parse(const std::vector<uint8_t>& bytes, const std::filesystem::path& path, tinygltf::Model& model,
           LoadedImages& images, std::string& failure) {
    tinygltf::TinyGLTF loader;
    loader.SetImageLoader(KeepImage, &images);
    loader.SetFsCallbacks({IsOrdinaryFile, AsGiven, ReadBuffer, RefuseWrite, nullptr});
    const std::string folder = fw::Utf8FromPath(path.parent_path());
    const bool binary = bytes.size() >= 4 && std::equal(bytes.begin(), bytes.begin() + 4, "glTF");
    std::string error, warning;
    try {
        const bool loaded =
            binary ? loader.LoadBinaryFromMemory(&model, &error, &warning, bytes.data(), unsigned(bytes.size()), folder)
                   : loader.LoadASCIIFromString(&model, &error, &warning, reinterpret_cast<const char*>(bytes.data()),
                                                unsigned(bytes.size()), folder);
        if (!loaded) failure = Reworded(error);
        return loaded;
    } catch (const std::exception&) {
        failure = "the file is damaged";
        return false;
    }
}

}  // namespace

ImportedFile ReadGltf(const std::filesystem::path& path) {
    const LoadedBytes loaded = LoadModelFile(path);
    if (!loaded.failure.empty()) return ImportedFile{std::nullopt, loaded.failure};
    std::span<const uint8_t> json = loaded.bytes;
    if (loaded.bytes.size() >= 4 && std::equal(loaded.bytes.begin(), loaded.bytes.begin() + 4, "glTF")) {
        const GlbChunks chunks = SplitGlb(loaded.bytes);
        if (!chunks.failure.empty()) return RefuseImport(path, "glTF", chunks.failure);
        json = chunks.json;
    }
    const JsonShape shape = MeasureJson(json);
    if (shape.deepest > kMaxJsonNesting)
        return RefuseImport(path, "glTF", "its JSON text nests deeper than any glTF file's (the file is damaged)");
    if (shape.elements > kMaxJsonElements)
        return RefuseImport(path, "glTF", "its JSON text holds more values than any model's file");
    tinygltf::Model model;
    LoadedImages images;
    std::string failure;
    if (!Parse(loaded.bytes, path, model, images, failure)) return RefuseImport(path, "glTF", failure);
    CollectedScene scene = CollectScene(model);
    if (!scene.failure.empty()) return RefuseImport(path, "glTF", scene.failure);
    scene.mesh.pictures = GltfPictures(model, images, path.parent_path());
    return ImportedFile{std::move(scene.mesh), {}};
}
