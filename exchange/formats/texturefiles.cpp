// The pictures beside an exported model, so that an editor opening the
// model shows its bitmaps.
#include "exchange/formats/exportmesh.h"
#include "exchange/formats/formatfiles.h"
#include "framework/pathtext.h"

namespace {

std::vector<uint8_t> PictureBytes(std::span<const uint8_t> bmp, const std::string& name, const BitmapFormat& format,
                                  std::string& note) {
    if (bmp.empty()) {
        note = "The bitmap " + name + " lies outside the data file; its material has no picture.";
        return {};
    }
    auto file = EncodeStoredBitmap(format, bmp);
    if (!file) {
        note = std::string("No ") + format.label + " picture of the bitmap " + name +
               " was written, so its material has none. " + file.why();
        return {};
    }
    return std::move(*file);
}

}  // namespace

std::vector<uint8_t> TexturePicture(const ExportedModel& model, size_t texture, const BitmapFormat& format,
                                    std::string& note) {
    const auto bmp = texture < model.bitmapFiles.size() ? model.bitmapFiles[texture] : std::span<const uint8_t>{};
    return PictureBytes(bmp, model.textures[texture], format, note);
}

fw::Expected<std::vector<bool>> WriteTextureFiles(const ExportedModel& model, const std::vector<TextureGroup>& groups,
                                                  const TextureTarget& target, WriteNotes& notes) {
    std::vector<bool> written(model.textures.size(), false);
    for (const TextureGroup& group : groups) {
        if (group.texture < 0) continue;
        const std::string& name = model.textures[size_t(group.texture)];
        const std::string fileName = TextureStem(name) + target.format.extension;
        // Only a name: a texture name never leads out of the folder.
        const auto path = target.folder / fw::PathFromUtf8(fileName).filename();
        if (target.written && target.written->paths.count(path)) {
            written[size_t(group.texture)] = true;
            continue;
        }
        if (target.written && target.written->mayReplace && !target.written->mayReplace(path)) {
            written[size_t(group.texture)] = true;
            target.written->paths.insert(path);
            continue;
        }
        std::string note;
        const std::vector<uint8_t> bytes = TexturePicture(model, size_t(group.texture), target.format, note);
        if (bytes.empty()) {
            notes.push_back(note);
            continue;
        }
        if (auto saved = SaveBytes(path, bytes); !saved) return saved.refusal();
        target.files->Add(path);
        written[size_t(group.texture)] = true;
        if (!target.written) continue;
        target.written->paths.insert(path);
        if (target.written->wrote) target.written->wrote(path);
    }
    return written;
}
