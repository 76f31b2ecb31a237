// OBJ import: the library parses the text; polygons are split here, after
// every index has been checked, and each distinct pair of position and
// mapping coordinate becomes one point.
#include <tiny_obj_loader.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "exchange/formats/exportmesh.h"
#include "exchange/formats/formatfiles.h"
#include "exchange/formats/importrefusal.h"
#include "exchange/formats/modelformats.h"
#include "exchange/formats/objscreen.h"
#include "framework/pathtext.h"

namespace {

// Far beyond the materials of any model: each becomes a group of faces.
constexpr size_t kMaxObjMaterials = 4096;

// Material libraries are read from the OBJ's folder only, as ordinary files
// of a model file's size, each once however often the OBJ names it, and
// within one budget of bytes. A library name with spaces reaches the
// library in pieces, so the OBJ's own "<stem>.mtl" stands in for a piece
// not found.
class FolderMaterials : public tinyobj::MaterialReader {
public:
    explicit FolderMaterials(const std::filesystem::path& obj) : obj_(obj) {}
    bool operator()(const std::string& name, std::vector<tinyobj::material_t>* materials,
                    std::map<std::string, int>* names, std::string* warning, std::string* error) override {
        const auto file = Beside(fw::Utf8FromPath(fw::PathFromUtf8(name).filename()));
        auto loaded = file ? Load(*file) : fw::Refuse("not beside the model");
        const auto own = Beside(fw::Utf8FromPath(std::filesystem::path(obj_.filename()).replace_extension(".mtl")));
        if (!loaded && own) loaded = Load(*own);
        if (!loaded) return false;
        std::istringstream text(std::string(loaded->begin(), loaded->end()));
        tinyobj::LoadMtl(names, materials, &text, warning, error);
        if (materials->size() > kMaxObjMaterials) refusal_ = "it has more materials than any model";
        return true;
    }
    // Why the materials were refused: too many of them, or too many bytes.
    const std::string& refusal() const { return refusal_; }

private:
    std::optional<std::filesystem::path> Beside(const std::string& name) const {
        return FileBesideModel(obj_.parent_path(), name);
    }
    // A library read before adds nothing more.
    fw::Expected<std::vector<uint8_t>> Load(const std::filesystem::path& file) {
        if (!read_.insert(file).second) return std::vector<uint8_t>{};
        auto loaded = LoadModelFile(file);
        if (loaded && (loaded_ += loaded->size()) > kMaxImportBytes) {
            refusal_ = TooMuchLoaded();
            return fw::Refuse(refusal_);
        }
        return loaded;
    }

    std::filesystem::path obj_;
    std::set<std::filesystem::path> read_;
    uint64_t loaded_ = 0;
    std::string refusal_;
};

using Corner = std::pair<int, int>;  // position index, mapping index or -1

struct Polygon {
    std::vector<Corner> corners;
    int material = -1;
};

// Each face of the file, its indices checked against what the file holds.
std::string CollectPolygons(const tinyobj::attrib_t& attrib, const std::vector<tinyobj::shape_t>& shapes,
                            size_t materialCount, std::vector<Polygon>& polygons) {
    const size_t positions = attrib.vertices.size() / 3, mappings = attrib.texcoords.size() / 2;
    size_t corners = 0;
    for (const tinyobj::shape_t& shape : shapes) {
        size_t next = 0;
        for (size_t f = 0; f < shape.mesh.num_face_vertices.size(); ++f) {
            Polygon polygon;
            const size_t count = shape.mesh.num_face_vertices[f];
            if (next + count > shape.mesh.indices.size() || (corners += count) > kMaxImportedEntries)
                return "it has more corners than any model can hold";
            for (size_t i = next; i < next + count; ++i) {
                const tinyobj::index_t& index = shape.mesh.indices[i];
                if (index.vertex_index < 0 || size_t(index.vertex_index) >= positions || index.texcoord_index < -1 ||
                    (index.texcoord_index >= 0 && size_t(index.texcoord_index) >= mappings))
                    return "a face names a vertex or mapping coordinate the file does not have";
                polygon.corners.emplace_back(index.vertex_index, index.texcoord_index);
            }
            next += count;
            const int material = f < shape.mesh.material_ids.size() ? shape.mesh.material_ids[f] : -1;
            polygon.material = material >= 0 && size_t(material) < materialCount ? material : -1;
            if (count >= 3) polygons.push_back(std::move(polygon));
        }
    }
    return polygons.empty() ? "it has no faces" : "";
}

class ObjMesh {
public:
    ObjMesh(const tinyobj::attrib_t& attrib, const std::vector<tinyobj::material_t>& materials)
        : attrib_(attrib), materials_(materials) {}
    // Nothing when a point lies at no finite place.
    std::optional<ImportedMesh> Build(const std::vector<Polygon>& polygons);

private:
    bool NumberPoints(const std::vector<Polygon>& polygons);
    uint32_t GroupOf(int material);

    const tinyobj::attrib_t& attrib_;
    const std::vector<tinyobj::material_t>& materials_;
    std::map<Corner, uint32_t> points_;
    std::map<int, uint32_t> groups_;
    ImportedMesh mesh_;
};

// Points in the order of their positions, so that a file written by the
// export reads back point for point; a position no face uses still counts.
bool ObjMesh::NumberPoints(const std::vector<Polygon>& polygons) {
    std::set<Corner> used;
    for (const Polygon& polygon : polygons) used.insert(polygon.corners.begin(), polygon.corners.end());
    const size_t positions = attrib_.vertices.size() / 3, mappings = attrib_.texcoords.size() / 2;
    std::vector<bool> placed(positions, false);
    for (const Corner& corner : used) placed[size_t(corner.first)] = true;
    for (size_t k = 0; k < positions; ++k)
        if (!placed[k]) used.emplace(int(k), k < mappings ? int(k) : -1);
    for (const Corner& corner : used) {
        points_.emplace(corner, uint32_t(mesh_.points.size()));
        const size_t v = size_t(corner.first) * 3;
        ExchangePoint point;
        ExchangeFromYUp(Vec3{attrib_.vertices[v], attrib_.vertices[v + 1], attrib_.vertices[v + 2]}, point);
        if (corner.second >= 0) {
            point.u = attrib_.texcoords[size_t(corner.second) * 2];
            point.v = attrib_.texcoords[size_t(corner.second) * 2 + 1];
        }
        if (!IsFinitePoint(point.x, point.y, point.z, point.u, point.v)) return false;
        mesh_.points.push_back(point);
    }
    return true;
}

uint32_t ObjMesh::GroupOf(int material) {
    const auto found = groups_.find(material);
    if (found != groups_.end()) return found->second;
    ImportedGroup names;
    if (material >= 0) names = {materials_[size_t(material)].name, materials_[size_t(material)].diffuse_texname};
    mesh_.groups.push_back(names);
    return groups_[material] = uint32_t(mesh_.groups.size() - 1);
}

std::optional<ImportedMesh> ObjMesh::Build(const std::vector<Polygon>& polygons) {
    if (!NumberPoints(polygons)) return std::nullopt;
    for (const Polygon& polygon : polygons) {
        const uint32_t group = GroupOf(polygon.material);
        // A fan from the first corner: faces as editors write them are convex.
        for (size_t i = 1; i + 1 < polygon.corners.size(); ++i)
            mesh_.faces.push_back(ImportedFace{points_.at(polygon.corners[0]), points_.at(polygon.corners[i]),
                                               points_.at(polygon.corners[i + 1]), group});
    }
    return std::move(mesh_);
}

// The pictures of the materials, each file once, from the OBJ's folder
// only, whatever folder the library names.
std::vector<ImportedPicture> ObjPictures(const std::vector<tinyobj::material_t>& materials,
                                         const std::filesystem::path& obj) {
    std::vector<ImportedPicture> pictures;
    std::map<std::string, size_t> seen;  // file name -> its picture
    for (const tinyobj::material_t& material : materials) {
        if (material.diffuse_texname.empty()) continue;
        // Editors on Windows write either slash.
        const std::string& given = material.diffuse_texname;
        const std::string name = given.substr(given.find_last_of("/\\") + 1);
        auto [at, added] = seen.try_emplace(name, pictures.size());
        if (added) {
            auto file = LoadPictureBeside(obj.parent_path() / fw::PathFromUtf8(name));
            pictures.push_back({{name}, name, file ? std::move(*file) : std::vector<uint8_t>(), file ? "" : file.why()});
        }
        if (!material.name.empty()) pictures[at->second].names.push_back(material.name);
    }
    return pictures;
}

}  // namespace

fw::Expected<ImportedMesh> ReadObj(const std::filesystem::path& path) {
    const auto loaded = LoadModelFile(path);
    if (!loaded) return loaded.refusal();
    ScreenedObj screened =
        ScreenObjText(std::string_view(reinterpret_cast<const char*>(loaded->data()), loaded->size()));
    if (!screened.failure.empty()) return RefuseImport(path, "OBJ", screened.failure);
    std::istringstream text(std::move(screened.text));
    FolderMaterials materialReader(std::filesystem::absolute(path));
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warning, error;
    try {
        if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warning, &error, &text, &materialReader, false, false))
            return RefuseImport(path, "OBJ",
                                error.empty() ? "the file is damaged" : Capped(error.substr(0, error.find('\n'))));
    } catch (const std::exception&) {
        return RefuseImport(path, "OBJ", "the file is damaged");
    }
    if (!materialReader.refusal().empty()) return RefuseImport(path, "OBJ", materialReader.refusal());
    std::vector<Polygon> polygons;
    const std::string failure = CollectPolygons(attrib, shapes, materials.size(), polygons);
    if (!failure.empty()) return RefuseImport(path, "OBJ", failure);
    if (attrib.vertices.size() / 3 > kMaxImportedEntries)
        return RefuseImport(path, "OBJ", "it has more points than any model can hold");
    std::optional<ImportedMesh> mesh = ObjMesh(attrib, materials).Build(polygons);
    if (!mesh) return RefuseImport(path, "OBJ", "a point lies at no finite place");
    mesh->pictures = ObjPictures(materials, path);
    return std::move(*mesh);
}
