// OBJ export, written as text: Y-up like glTF, as the editors' OBJ
// importers expect, one usemtl group per bitmap, the bitmaps as BMP files.
#include <charconv>

#include "exchange/formats/exportmesh.h"
#include "exchange/formats/formatfiles.h"
#include "framework/pathtext.h"

namespace {

// Numbers in the shortest form that reads back exactly, whatever the locale.
template <typename Number>
void AppendNumber(std::string& out, Number value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    out += ' ';
    out.append(text, end);
}

void AppendVertices(const ExportedModel& model, std::string& out) {
    for (const ExchangePoint& p : model.points) {
        const Vec3 up = YUpFromExchange(p);
        out += 'v';
        for (double value : {up.x, up.y, up.z}) AppendNumber(out, value);
        out += "\nvt";
        AppendNumber(out, p.u);
        AppendNumber(out, p.v);
        out += '\n';
    }
    for (const Vec3& n : OutwardNormals(model)) {
        out += "vn";
        for (double value : {n.x, n.y, n.z}) AppendNumber(out, float(value));
        out += '\n';
    }
}

void AppendFaces(const ExportedModel& model, const TextureGroup& group, std::string& out) {
    for (uint32_t k : group.faces) {
        const ExchangeFace& face = model.faces[k];
        out += 'f';
        for (uint32_t corner : {face.a, face.b, face.c}) {
            const std::string index = std::to_string(corner + 1);
            out += ' ' + index + '/' + index + '/' + index;
        }
        out += '\n';
    }
}

std::string ObjText(const ExportedModel& model, const std::vector<TextureGroup>& groups, const std::string& stem) {
    std::string out = "# Quon Data Manager\nmtllib " + stem + ".mtl\no " + stem + '\n';
    AppendVertices(model, out);
    // Faces that show no bitmap come first, before any material is named.
    for (const TextureGroup& group : groups)
        if (group.texture < 0) AppendFaces(model, group, out);
    for (const TextureGroup& group : groups) {
        if (group.texture < 0) continue;
        out += "usemtl " + TextureStem(model.textures[size_t(group.texture)]) + '\n';
        AppendFaces(model, group, out);
    }
    return out;
}

std::string MtlText(const ExportedModel& model, const std::vector<TextureGroup>& groups,
                    const std::vector<bool>& pictures) {
    std::string out = "# Quon Data Manager\n";
    for (const TextureGroup& group : groups) {
        if (group.texture < 0) continue;
        const std::string& name = model.textures[size_t(group.texture)];
        out += "newmtl " + TextureStem(name) + "\nKa 1 1 1\nKd 1 1 1\nKs 0 0 0\nillum 1\n";
        if (pictures[size_t(group.texture)]) out += "map_Kd " + name + '\n';
        out += '\n';
    }
    return out;
}

}  // namespace

fw::Expected<WriteNotes> WriteObj(const ExportedModel& model, const std::filesystem::path& path,
                                  WrittenPictures* written) {
    if (auto fit = CheckExportedModel(model, path); !fit) return fit.refusal();
    const auto groups = GroupFacesByTexture(model);
    WriteNotes notes;
    WrittenFiles files(written);
    const auto pictures = WriteTextureFiles(model, groups, {path.parent_path(), BmpFormat(), written, &files}, notes);
    if (!pictures) return pictures.refusal();
    const std::string stem = fw::Utf8FromPath(path.stem());
    const auto mtlPath = path.parent_path() / fw::PathFromUtf8(stem + ".mtl");
    if (auto saved = SaveText(mtlPath, MtlText(model, groups, *pictures)); !saved) return saved.refusal();
    files.Add(mtlPath);
    if (auto saved = SaveText(path, ObjText(model, groups, stem)); !saved) return saved.refusal();
    files.Keep();
    return notes;
}

fw::Expected<std::vector<uint8_t>> ObjBytes(const ExportedModel& model, const std::filesystem::path& path) {
    if (auto fit = CheckExportedModel(model, path); !fit) return fit.refusal();
    const std::string text = ObjText(model, GroupFacesByTexture(model), fw::Utf8FromPath(path.stem()));
    return std::vector<uint8_t>(text.begin(), text.end());
}
