// glTF 2.0 import: the library parses the document and loads its buffers,
// through callbacks that read only ordinary files of a model file's size
// in the model's own folder; a .glb's chunks are checked here first.
#include <nlohmann/json.hpp>
#include <tiny_gltf.h>

#include "exchange/formats/formatfiles.h"
#include "exchange/formats/glbcontainer.h"
#include "exchange/formats/gltfscene.h"
#include "exchange/formats/importrefusal.h"
#include "exchange/formats/jsonnesting.h"
#include "exchange/formats/modelformats.h"
#include "framework/pathtext.h"

namespace {

// The files a glTF file refers to, as the library asks for them: the
// model's folder joined with the decoded reference.
struct ReferencedFiles {
    std::filesystem::path folder;
    std::string folderText;  // as the library joins it
    std::string refusal;     // why a reference was refused
    uint64_t loaded = 0;     // bytes of every file read
};

// A reference names a file beside the model (decoded separators count as
// folder parts). The library's second search, in the working folder, never
// starts with the model's folder and finds nothing.
bool IsContained(const std::string& utf8Path, ReferencedFiles& files) {
    const std::string prefix = files.folderText + '/';
    if (utf8Path.compare(0, prefix.size(), prefix) != 0) return false;
    const std::string name = utf8Path.substr(prefix.size());
    if (!FileBesideModel(files.folder, name)) {
        if (files.refusal.empty())
            files.refusal = "it refers to the file " + Capped(name) +
                            ", and a model file may use only files in its own folder, named plainly";
        return false;
    }
    return true;
}

bool IsOrdinaryFile(const std::string& utf8Path, void* files) {
    std::error_code error;
    return IsContained(utf8Path, *static_cast<ReferencedFiles*>(files)) &&
           std::filesystem::is_regular_file(fw::PathFromUtf8(utf8Path), error);
}

std::string AsGiven(const std::string& utf8Path, void*) { return utf8Path; }

bool ReadBuffer(std::vector<unsigned char>* out, std::string* failure, const std::string& utf8Path, void* context) {
    auto& files = *static_cast<ReferencedFiles*>(context);
    LoadedBytes loaded = IsContained(utf8Path, files) ? LoadModelFile(fw::PathFromUtf8(utf8Path))
                                                      : LoadedBytes{{}, files.refusal};
    files.loaded += loaded.bytes.size();
    if (loaded.failure.empty() && files.loaded > kMaxImportBytes)
        loaded.failure = files.refusal = TooMuchLoaded();
    if (failure) *failure = loaded.failure;
    *out = std::move(loaded.bytes);
    return loaded.failure.empty();
}

bool RefuseWrite(std::string*, const std::string&, const std::vector<unsigned char>&, void*) { return false; }

// Pictures are the import's business by name only; their pixels stay unread.
bool LeaveImage(tinygltf::Image*, const int, std::string*, std::string*, int, int, const unsigned char*, int, void*) {
    return true;
}

// The bytes the file's buffers declare together. The library copies each
// buffer whole, also where many share one chunk of a .glb or one file, so
// the sum is checked before the library reads anything.
uint64_t DeclaredBufferBytes(std::span<const uint8_t> json) {
    const auto document = nlohmann::json::parse(json.begin(), json.end(), nullptr, false);
    if (!document.is_object() || !document.contains("buffers") || !document["buffers"].is_array()) return 0;
    uint64_t total = 0;
    for (const auto& buffer : document["buffers"]) {
        if (!buffer.is_object() || !buffer.contains("byteLength") || !buffer["byteLength"].is_number()) continue;
        const double length = buffer["byteLength"].get<double>();
        if (!(length >= 0) || length > double(kMaxImportBytes)) return kMaxImportBytes + 1;
        total += uint64_t(length);
        if (total > kMaxImportBytes) return total;
    }
    return total;
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
        return "the file " + Capped(line.substr(missing + 17)) + " it needs was not found beside it";
    return line.empty() ? "the file is damaged" : "it is not valid glTF (" + Capped(line) + ")";
}

bool Parse(const std::vector<uint8_t>& bytes, const std::filesystem::path& path, tinygltf::Model& model,
           std::string& failure) {
    tinygltf::TinyGLTF loader;
    loader.SetImageLoader(LeaveImage, nullptr);
    std::error_code error;
    const auto folder = std::filesystem::absolute(path, error).parent_path();
    ReferencedFiles files{folder, fw::Utf8FromPath(folder), {}, 0};
    loader.SetFsCallbacks({IsOrdinaryFile, AsGiven, ReadBuffer, RefuseWrite, &files});
    const bool binary = bytes.size() >= 4 && std::equal(bytes.begin(), bytes.begin() + 4, "glTF");
    std::string complaint, warning;
    try {
        const bool loaded = binary ? loader.LoadBinaryFromMemory(&model, &complaint, &warning, bytes.data(),
                                                                 unsigned(bytes.size()), files.folderText)
                                   : loader.LoadASCIIFromString(&model, &complaint, &warning,
                                                                reinterpret_cast<const char*>(bytes.data()),
                                                                unsigned(bytes.size()), files.folderText);
        if (!loaded) failure = files.refusal.empty() ? Reworded(complaint) : files.refusal;
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
    if (DeclaredBufferBytes(json) > kMaxImportBytes) return RefuseImport(path, "glTF", TooMuchLoaded());
    tinygltf::Model model;
    std::string failure;
    if (!Parse(loaded.bytes, path, model, failure)) return RefuseImport(path, "glTF", failure);
    CollectedScene scene = CollectScene(model);
    if (!scene.failure.empty()) return RefuseImport(path, "glTF", scene.failure);
    return ImportedFile{std::move(scene.mesh), {}};
}
