// glTF 2.0 import: the library parses the document and loads its buffers,
// through callbacks that read only ordinary files of a model file's size
// in the model's own folder; a .glb's chunks are checked here first.
#include <tiny_gltf.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <optional>

#include "exchange/formats/formatfiles.h"
#include "exchange/formats/glbcontainer.h"
#include "exchange/formats/gltfpictures.h"
#include "exchange/formats/gltfscene.h"
#include "exchange/formats/importrefusal.h"
#include "exchange/formats/jsonnesting.h"
#include "exchange/formats/modelformats.h"
#include "framework/pathtext.h"

namespace {

// What the library's file callbacks met: the file a reference names that is
// not there, a reference that leads out of the model's folder, or why a
// file it needs could not be read. The reader words its refusal from
// these, not from the library's English. The library asks for files as the
// model's folder joined with the decoded reference.
struct FileWatch {
    std::filesystem::path folder;
    std::string folderText;  // as the library joins it
    std::string missing;
    std::string outside;
    std::string unreadable;
    uint64_t loaded = 0;  // bytes of every file read
};

// A reference names a file beside the model (decoded separators count as
// folder parts). The library's second search, in the working folder, never
// starts with the model's folder and finds nothing.
bool IsContained(const std::string& utf8Path, FileWatch& watch) {
    const std::string prefix = watch.folderText + '/';
    if (utf8Path.compare(0, prefix.size(), prefix) != 0) return false;
    const std::string name = utf8Path.substr(prefix.size());
    if (FileBesideModel(watch.folder, name)) return true;
    if (watch.outside.empty()) watch.outside = Capped(name);
    return false;
}

bool IsOrdinaryFile(const std::string& utf8Path, void* context) {
    auto& watch = *static_cast<FileWatch*>(context);
    if (!IsContained(utf8Path, watch)) return false;
    std::error_code error;
    if (std::filesystem::is_regular_file(fw::PathFromUtf8(utf8Path), error)) return true;
    watch.missing = Capped(fw::Utf8FromPath(fw::PathFromUtf8(utf8Path).filename()));
    return false;
}

std::string AsGiven(const std::string& utf8Path, void*) { return utf8Path; }

bool ReadBuffer(std::vector<unsigned char>* out, std::string* failure, const std::string& utf8Path, void* context) {
    auto& watch = *static_cast<FileWatch*>(context);
    if (!IsContained(utf8Path, watch)) return false;
    auto loaded = LoadModelFile(fw::PathFromUtf8(utf8Path));
    if (loaded && (watch.loaded += loaded->size()) > kMaxImportBytes) loaded = fw::Refuse(TooMuchLoaded());
    if (!loaded) {
        watch.unreadable = loaded.why();
        if (failure) *failure = loaded.why();
        return false;
    }
    *out = std::move(*loaded);
    return true;
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

// Where the JSON text breaks off, as line and column, or that it holds a
// number past any double; nothing when it is whole. Values are dropped as
// they are parsed, so nothing is built.
std::optional<std::string> JsonBreak(std::span<const uint8_t> text) {
    try {
        [[maybe_unused]] const auto nothing = nlohmann::json::parse(
            text.begin(), text.end(), [](int, nlohmann::json::parse_event_t, nlohmann::json&) { return false; });
        return std::nullopt;
    } catch (const nlohmann::json::parse_error& error) {
        const size_t at = std::min<size_t>(error.byte ? error.byte - 1 : 0, text.size());
        const auto before = text.first(at);
        const size_t line = 1 + size_t(std::count(before.begin(), before.end(), '\n'));
        const auto lineStart = std::find(before.rbegin(), before.rend(), '\n');
        const size_t column = 1 + size_t(lineStart - before.rbegin());
        return "at line " + std::to_string(line) + ", column " + std::to_string(column);
    } catch (const nlohmann::json::out_of_range&) {
        // The library names the number, which may be megabytes of digits.
        return std::string("a number beyond any value a model holds");
    }
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

// Why the library did not load the document: a file it needs, else its own
// first line, which says what the document lacks.
std::string LoadFailure(const FileWatch& watch, const std::string& error) {
    if (!watch.outside.empty())
        return "it refers to the file " + watch.outside +
               ", and a model file may use only files in its own folder, named plainly";
    if (!watch.missing.empty()) return "the file " + watch.missing + " it needs was not found beside it";
    if (!watch.unreadable.empty()) return "a file it needs cannot be read (" + watch.unreadable + ")";
    const std::string line = error.substr(0, error.find('\n'));
    return line.empty() ? "the file is damaged" : "it is not valid glTF (" + Capped(line) + ")";
}

fw::Expected<tinygltf::Model> Parse(const std::vector<uint8_t>& bytes, const std::filesystem::path& path,
                                    LoadedImages& images) {
    std::error_code absolute;
    const auto folderPath = std::filesystem::absolute(path, absolute).parent_path();
    FileWatch watch{folderPath, fw::Utf8FromPath(folderPath), {}, {}, {}, 0};
    tinygltf::TinyGLTF loader;
    loader.SetImageLoader(KeepImage, &images);
    loader.SetFsCallbacks({IsOrdinaryFile, AsGiven, ReadBuffer, RefuseWrite, &watch});
    const std::string& folder = watch.folderText;
    const bool binary = bytes.size() >= 4 && std::equal(bytes.begin(), bytes.begin() + 4, "glTF");
    std::string error, warning;
    tinygltf::Model model;
    try {
        const bool loaded =
            binary ? loader.LoadBinaryFromMemory(&model, &error, &warning, bytes.data(), unsigned(bytes.size()), folder)
                   : loader.LoadASCIIFromString(&model, &error, &warning, reinterpret_cast<const char*>(bytes.data()),
                                                unsigned(bytes.size()), folder);
        if (!loaded) return fw::Refuse(LoadFailure(watch, error));
        return model;
    } catch (const std::exception&) {
        return fw::Refuse("the file is damaged");
    }
}

}  // namespace

fw::Expected<ImportedMesh> ReadGltf(const std::filesystem::path& path) {
    const auto loaded = LoadModelFile(path);
    if (!loaded) return loaded.refusal();
    std::span<const uint8_t> json = *loaded;
    if (loaded->size() >= 4 && std::equal(loaded->begin(), loaded->begin() + 4, "glTF")) {
        const auto chunks = SplitGlb(*loaded);
        if (!chunks) return RefuseImport(path, "glTF", chunks.why());
        json = chunks->json;
    }
    const JsonShape shape = MeasureJson(json);
    if (shape.deepest > kMaxJsonNesting)
        return RefuseImport(path, "glTF", "its JSON text nests deeper than any glTF file's (the file is damaged)");
    if (shape.elements > kMaxJsonElements)
        return RefuseImport(path, "glTF", "its JSON text holds more values than any model's file");
    if (const auto broken = JsonBreak(json))
        return RefuseImport(path, "glTF", "its JSON text is cut short or damaged (" + *broken + ")");
    if (DeclaredBufferBytes(json) > kMaxImportBytes) return RefuseImport(path, "glTF", TooMuchLoaded());
    LoadedImages images;
    const auto model = Parse(*loaded, path, images);
    if (!model) return RefuseImport(path, "glTF", model.why());
    auto scene = CollectScene(*model);
    if (!scene) return RefuseImport(path, "glTF", scene.why());
    scene->pictures = GltfPictures(*model, images, path.parent_path());
    return scene;
}
