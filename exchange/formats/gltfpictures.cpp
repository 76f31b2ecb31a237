#include "exchange/formats/gltfpictures.h"

#include "exchange/formats/formatfiles.h"
#include "exchange/formats/uritext.h"
#include "framework/pathtext.h"

namespace {

// The image a material shows as its base colour, or -1.
int ImageOf(const tinygltf::Model& model, const tinygltf::Material& material) {
    const int texture = material.pbrMetallicRoughness.baseColorTexture.index;
    if (texture < 0 || size_t(texture) >= model.textures.size()) return -1;
    const int source = model.textures[size_t(texture)].source;
    return source >= 0 && size_t(source) < model.images.size() ? source : -1;
}

bool IsDataUri(const std::string& uri) { return uri.starts_with("data:"); }

// The bytes of an image inside a buffer view; none when the view reaches
// outside its buffer.
std::vector<uint8_t> ViewBytes(const tinygltf::Model& model, int index) {
    if (index < 0 || size_t(index) >= model.bufferViews.size()) return {};
    const tinygltf::BufferView& view = model.bufferViews[size_t(index)];
    if (view.buffer < 0 || size_t(view.buffer) >= model.buffers.size()) return {};
    const std::vector<unsigned char>& data = model.buffers[size_t(view.buffer)].data;
    if (view.byteOffset > data.size() || view.byteLength > data.size() - view.byteOffset) return {};
    return std::vector<uint8_t>(data.begin() + std::ptrdiff_t(view.byteOffset),
                                data.begin() + std::ptrdiff_t(view.byteOffset + view.byteLength));
}

ImportedPicture PictureOf(const tinygltf::Model& model, int index, const LoadedImages& loaded,
                          const std::filesystem::path& folder) {
    const tinygltf::Image& image = model.images[size_t(index)];
    ImportedPicture picture;
    const bool beside = !image.uri.empty() && !IsDataUri(image.uri);
    if (beside) picture.names.push_back(FileNameFromUri(image.uri));
    if (!image.name.empty()) picture.names.push_back(image.name);
    picture.shownName = beside ? FileNameFromUri(image.uri)
                               : "the picture " + (image.name.empty() ? "#" + std::to_string(index) : image.name) +
                                     " inside it";
    if (beside) {
        auto file = LoadPictureBeside(folder / fw::PathFromUtf8(picture.shownName).filename());
        if (file)
            picture.bytes = std::move(*file);
        else
            picture.unreadable = file.why();
        return picture;
    }
    const auto found = loaded.find(index);
    picture.bytes = found != loaded.end() ? found->second : ViewBytes(model, image.bufferView);
    if (picture.bytes.empty())
        picture.unreadable = picture.shownName + " reaches past the end of its buffer or holds nothing";
    return picture;
}

}  // namespace

std::vector<ImportedPicture> GltfPictures(const tinygltf::Model& model, const LoadedImages& loaded,
                                          const std::filesystem::path& folder) {
    std::vector<ImportedPicture> pictures;
    std::map<int, size_t> seen;  // image index -> its picture
    for (const tinygltf::Material& material : model.materials) {
        const int image = ImageOf(model, material);
        if (image < 0) continue;
        auto [at, added] = seen.try_emplace(image, pictures.size());
        if (added) pictures.push_back(PictureOf(model, image, loaded, folder));
        if (!material.name.empty()) pictures[at->second].names.push_back(material.name);
    }
    return pictures;
}
