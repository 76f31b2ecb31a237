// glTF 2.0 export: the document is built with the JSON library and the
// buffer laid out here, so that every byte written is checked and the buffer
// lies beside the .gltf (or inside the .glb) as the user asked.
#include <nlohmann/json.hpp>

#include <cstring>
#include <optional>

#include "exchange/formats/exportmesh.h"
#include "exchange/formats/formatfiles.h"
#include "exchange/formats/glbcontainer.h"
#include "exchange/formats/uritext.h"
#include "framework/pathtext.h"

using nlohmann::json;

namespace {

constexpr int kFloat = 5126, kUnsignedShort = 5123, kUnsignedInt = 5125;
constexpr int kArrayBuffer = 34962, kElementArrayBuffer = 34963;

class BufferBuilder {
public:
    // Appends a buffer view of the bytes, 4-byte aligned; returns its index.
    // A picture's view has no target: no vertex attribute or index reads it.
    int AddView(const void* data, size_t size, int target = 0) {
        while (bytes_.size() % 4) bytes_.push_back(0);
        views_.push_back({{"buffer", 0}, {"byteOffset", bytes_.size()}, {"byteLength", size}});
        if (target) views_.back()["target"] = target;
        const auto* begin = static_cast<const uint8_t*>(data);
        bytes_.insert(bytes_.end(), begin, begin + size);
        return int(views_.size()) - 1;
    }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    json& views() { return views_; }

private:
    std::vector<uint8_t> bytes_;
    json views_ = json::array();
};

json Accessor(int view, size_t count, int componentType, const char* type) {
    return {{"bufferView", view}, {"componentType", componentType}, {"count", count}, {"type", type}};
}

// Adds an accessor of floats in a view of their own; returns its index.
size_t AddFloats(const std::vector<float>& values, const char* type, size_t count, BufferBuilder& buffer,
                 json& accessors) {
    accessors.push_back(Accessor(buffer.AddView(values.data(), values.size() * 4, kArrayBuffer), count, kFloat, type));
    return accessors.size() - 1;
}

// The least and greatest of each axis, as glTF requires for positions.
void AddBounds(const std::vector<float>& positions, json& accessor) {
    json low = json::array(), high = json::array();
    for (size_t axis = 0; axis < 3; ++axis) {
        float least = positions[axis], most = positions[axis];
        for (size_t k = axis; k < positions.size(); k += 3) {
            least = std::min(least, positions[k]);
            most = std::max(most, positions[k]);
        }
        low.push_back(least);
        high.push_back(most);
    }
    accessor["min"] = low;
    accessor["max"] = high;
}

// POSITION, NORMAL and TEXCOORD_0, shared by every primitive.
json VertexAttributes(const ExportedModel& model, BufferBuilder& buffer, json& accessors) {
    std::vector<float> positions, normals, mapping;
    for (const ExchangePoint& p : model.points) {
        const Vec3 up = YUpFromExchange(p);
        positions.insert(positions.end(), {float(up.x), float(up.y), float(up.z)});
        // glTF's v runs down from the top of the picture.
        mapping.insert(mapping.end(), {float(p.u), float(1.0 - p.v)});
    }
    for (const Vec3& n : OutwardNormals(model)) normals.insert(normals.end(), {float(n.x), float(n.y), float(n.z)});
    const size_t count = model.points.size();
    const size_t position = AddFloats(positions, "VEC3", count, buffer, accessors);
    AddBounds(positions, accessors[position]);
    return {{"POSITION", position},
            {"NORMAL", AddFloats(normals, "VEC3", count, buffer, accessors)},
            {"TEXCOORD_0", AddFloats(mapping, "VEC2", count, buffer, accessors)}};
}

template <typename Index>
int IndexView(const ExportedModel& model, const TextureGroup& group, BufferBuilder& buffer) {
    std::vector<Index> indices;
    for (uint32_t k : group.faces) {
        const ExchangeFace& face = model.faces[k];
        indices.insert(indices.end(), {Index(face.a), Index(face.b), Index(face.c)});
    }
    return buffer.AddView(indices.data(), indices.size() * sizeof(Index), kElementArrayBuffer);
}

json Primitives(const ExportedModel& model, const std::vector<TextureGroup>& groups, BufferBuilder& buffer,
                json& accessors) {
    const json attributes = VertexAttributes(model, buffer, accessors);
    // 65535 is the restart value of 16-bit indices, never a vertex.
    const bool shortIndices = model.points.size() < 65535;
    json primitives = json::array();
    size_t material = 0;  // AddMaterials gives the textured groups their materials in this order
    for (size_t g = 0; g < groups.size(); ++g) {
        const int view = shortIndices ? IndexView<uint16_t>(model, groups[g], buffer)
                                      : IndexView<uint32_t>(model, groups[g], buffer);
        accessors.push_back(
            Accessor(view, groups[g].faces.size() * 3, shortIndices ? kUnsignedShort : kUnsignedInt, "SCALAR"));
        json primitive = {{"attributes", attributes}, {"indices", accessors.size() - 1}};
        if (groups[g].texture >= 0) primitive["material"] = material++;
        primitives.push_back(primitive);
    }
    return primitives;
}

// The PNG of each texture: a file beside the .gltf, or bytes inside the .glb,
// which is one file and must carry its pictures itself.
struct TexturePictures {
    std::vector<bool> beside;
    std::vector<std::vector<uint8_t>> inside;
};

// The image of a texture, named after the bitmap as its material is, so that
// an import finds the bitmap by either; none when it has no picture.
std::optional<json> Image(const TexturePictures& pictures, size_t texture, const std::string& stem,
                          BufferBuilder& buffer) {
    if (!pictures.inside[texture].empty()) {
        const std::vector<uint8_t>& png = pictures.inside[texture];
        return json{{"bufferView", buffer.AddView(png.data(), png.size())}, {"mimeType", "image/png"}, {"name", stem}};
    }
    if (pictures.beside[texture]) return json{{"uri", UriFromFileName(stem + PngFormat().extension)}};
    return std::nullopt;
}

// One material per bitmap used, named after it, with its PNG when there is one.
void AddMaterials(const ExportedModel& model, const std::vector<TextureGroup>& groups,
                  const TexturePictures& pictures, BufferBuilder& buffer, json& document) {
    json materials = json::array(), textures = json::array(), images = json::array();
    for (const TextureGroup& group : groups) {
        if (group.texture < 0) continue;
        const std::string stem = TextureStem(model.textures[size_t(group.texture)]);
        json material = {{"name", stem}, {"pbrMetallicRoughness", {{"metallicFactor", 0}}}};
        if (auto image = Image(pictures, size_t(group.texture), stem, buffer)) {
            material["pbrMetallicRoughness"]["baseColorTexture"] = {{"index", textures.size()}};
            textures.push_back({{"source", images.size()}});
            images.push_back(std::move(*image));
        }
        materials.push_back(material);
    }
    if (!materials.empty()) document["materials"] = materials;
    if (!textures.empty()) document["textures"] = textures;
    if (!images.empty()) document["images"] = images;
}

json Document(const ExportedModel& model, const std::vector<TextureGroup>& groups, const TexturePictures& pictures,
              const std::string& name, BufferBuilder& buffer) {
    json accessors = json::array();
    json document = {{"asset", {{"version", "2.0"}, {"generator", "Quon Data Manager"}}},
                     {"scene", 0},
                     {"scenes", {{{"nodes", {0}}}}},
                     {"nodes", {{{"mesh", 0}, {"name", name}}}}};
    document["meshes"] = {{{"name", name}, {"primitives", Primitives(model, groups, buffer, accessors)}}};
    AddMaterials(model, groups, pictures, buffer, document);
    document["accessors"] = accessors;
    document["bufferViews"] = buffer.views();
    return document;
}

TexturePictures EmbeddedPictures(const ExportedModel& model, const std::vector<TextureGroup>& groups,
                                 WriteNotes& notes) {
    TexturePictures pictures{std::vector<bool>(model.textures.size(), false),
                             std::vector<std::vector<uint8_t>>(model.textures.size())};
    for (const TextureGroup& group : groups) {
        if (group.texture < 0) continue;
        std::string note;
        pictures.inside[size_t(group.texture)] = TexturePicture(model, size_t(group.texture), PngFormat(), note);
        if (!note.empty()) notes.push_back(note);
    }
    return pictures;
}

fw::Expected<TexturePictures> PicturesBeside(const ExportedModel& model, const std::vector<TextureGroup>& groups,
                                             const TextureTarget& target, WriteNotes& notes) {
    auto beside = WriteTextureFiles(model, groups, target, notes);
    if (!beside) return beside.refusal();
    return TexturePictures{std::move(*beside), std::vector<std::vector<uint8_t>>(model.textures.size())};
}

// Every texture's picture named as lying beside the .gltf, as an export
// leaves it: written, or kept where the user painted it.
TexturePictures PicturesNamedBeside(const ExportedModel& model, const std::vector<TextureGroup>& groups) {
    TexturePictures pictures{std::vector<bool>(model.textures.size(), false),
                             std::vector<std::vector<uint8_t>>(model.textures.size())};
    for (const TextureGroup& group : groups)
        if (group.texture >= 0) pictures.beside[size_t(group.texture)] = true;
    return pictures;
}

// The document, naming its buffer "<stem>.bin" beside it unless it is a
// .glb's, which carries the buffer inside.
std::string DocumentText(const ExportedModel& model, const std::vector<TextureGroup>& groups,
                         const TexturePictures& pictures, const std::string& stem, bool binary,
                         BufferBuilder& buffer) {
    json document = Document(model, groups, pictures, stem, buffer);
    json bufferEntry = {{"byteLength", buffer.bytes().size()}};
    if (!binary) bufferEntry["uri"] = UriFromFileName(stem + ".bin");
    document["buffers"] = {bufferEntry};
    return document.dump(binary ? -1 : 1, ' ', false, json::error_handler_t::replace);
}

std::vector<uint8_t> FileBytes(const std::string& text, const BufferBuilder& buffer, bool binary) {
    if (binary) return GlbBytes(text, buffer.bytes());
    return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace

fw::Expected<WriteNotes> WriteGltf(const ExportedModel& model, const std::filesystem::path& path, bool binary,
                                   WrittenPictures* written) {
    if (auto fit = CheckExportedModel(model, path); !fit) return fit.refusal();
    const auto groups = GroupFacesByTexture(model);
    WriteNotes notes;
    WrittenFiles files(written);
    const auto pictures = binary ? fw::Expected<TexturePictures>(EmbeddedPictures(model, groups, notes))
                                 : PicturesBeside(model, groups, {path.parent_path(), PngFormat(), written, &files}, notes);
    if (!pictures) return pictures.refusal();
    BufferBuilder buffer;
    const std::string stem = fw::Utf8FromPath(path.stem());
    const std::string text = DocumentText(model, groups, *pictures, stem, binary, buffer);
    if (!binary) {
        const std::filesystem::path binPath = path.parent_path() / fw::PathFromUtf8(stem + ".bin");
        if (auto saved = SaveBytes(binPath, buffer.bytes()); !saved) return saved.refusal();
        files.Add(binPath);
    }
    if (auto saved = SaveBytes(path, FileBytes(text, buffer, binary)); !saved) return saved.refusal();
    files.Keep();
    return notes;
}

fw::Expected<std::vector<uint8_t>> GltfBytes(const ExportedModel& model, const std::filesystem::path& path,
                                             bool binary) {
    if (auto fit = CheckExportedModel(model, path); !fit) return fit.refusal();
    const auto groups = GroupFacesByTexture(model);
    WriteNotes notes;
    const auto pictures = binary ? EmbeddedPictures(model, groups, notes) : PicturesNamedBeside(model, groups);
    BufferBuilder buffer;
    const std::string text = DocumentText(model, groups, pictures, fw::Utf8FromPath(path.stem()), binary, buffer);
    return FileBytes(text, buffer, binary);
}
