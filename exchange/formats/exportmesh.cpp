#include "exchange/formats/exportmesh.h"

#include <cmath>

#include "exchange/formats/formatfiles.h"

fw::Expected<void> CheckExportedModel(const ExportedModel& model, const std::filesystem::path& path) {
    if (model.faces.empty()) return fw::Refuse("The model has no triangles; " + Shown(path) + " was not written.");
    for (const ExchangeFace& face : model.faces) {
        const size_t count = model.points.size();
        if (face.a >= count || face.b >= count || face.c >= count)
            return fw::Refuse(
                "A triangle of the model names a point the model does not have (the record is damaged); " +
                Shown(path) + " was not written.");
    }
    return {};
}

std::vector<TextureGroup> GroupFacesByTexture(const ExportedModel& model) {
    std::vector<TextureGroup> groups(model.textures.size() + 1);
    for (size_t i = 0; i < model.textures.size(); ++i) groups[i].texture = int(i);
    for (uint32_t k = 0; k < model.faces.size(); ++k) {
        const uint32_t material = model.faces[k].material;
        groups[material < model.textures.size() ? material : model.textures.size()].faces.push_back(k);
    }
    std::erase_if(groups, [](const TextureGroup& group) { return group.faces.empty(); });
    return groups;
}

namespace {

Vec3 Minus(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

std::vector<Vec3> OutwardNormals(const ExportedModel& model) {
    std::vector<Vec3> sums(model.points.size());
    for (const ExchangeFace& face : model.faces) {
        const Vec3 a = YUpFromExchange(model.points[face.a]);
        const Vec3 normal =
            Cross(Minus(YUpFromExchange(model.points[face.b]), a), Minus(YUpFromExchange(model.points[face.c]), a));
        for (uint32_t corner : {face.a, face.b, face.c}) {
            sums[corner].x += normal.x;
            sums[corner].y += normal.y;
            sums[corner].z += normal.z;
        }
    }
    for (Vec3& n : sums) {
        const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        n = length > 0 && std::isfinite(length) ? Vec3{n.x / length, n.y / length, n.z / length} : Vec3{0, 1, 0};
    }
    return sums;
}

std::string TextureStem(const std::string& textureName) {
    const size_t dot = textureName.rfind('.');
    return dot == std::string::npos ? textureName : textureName.substr(0, dot);
}
