#include "exchange/formats/gltfscene.h"

#include <array>
#include <map>

#include "exchange/formats/exportmesh.h"
#include "exchange/formats/formatfiles.h"
#include "exchange/formats/gltfaccessors.h"
#include "exchange/formats/uritext.h"

namespace {

// Beyond these a file is hostile or far beyond any model: the node graph
// of a glTF file is a tree, but a damaged one may repeat or loop.
constexpr size_t kMaxNodeVisits = 100000;
// Every node that shows a mesh visits all its primitives: the budget is on
// the visits together, so that nodes times primitives stays bounded.
constexpr size_t kMaxPrimitiveVisits = 100000;
constexpr int kMaxNodeDepth = 64;

using Matrix = std::array<double, 16>;  // column-major, as glTF stores it
constexpr Matrix kIdentity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) m[column * 4 + row] += a[k * 4 + row] * b[column * 4 + k];
    return m;
}

// The node's matrix, or translation * rotation * scale.
Matrix NodeMatrix(const tinygltf::Node& node) {
    Matrix m = kIdentity;
    if (node.matrix.size() == 16) {
        std::copy(node.matrix.begin(), node.matrix.end(), m.begin());
        return m;
    }
    if (node.rotation.size() == 4) {
        const double x = node.rotation[0], y = node.rotation[1], z = node.rotation[2], w = node.rotation[3];
        // Column by column, as glTF stores matrices.
        // clang-format off
        m = {1 - 2 * (y * y + z * z), 2 * (x * y + z * w),     2 * (x * z - y * w),     0,
             2 * (x * y - z * w),     1 - 2 * (x * x + z * z), 2 * (y * z + x * w),     0,
             2 * (x * z + y * w),     2 * (y * z - x * w),     1 - 2 * (x * x + y * y), 0,
             0,                       0,                       0,                       1};
        // clang-format on
    }
    if (node.scale.size() == 3)
        for (int column = 0; column < 3; ++column)
            for (int row = 0; row < 3; ++row) m[column * 4 + row] *= node.scale[size_t(column)];
    if (node.translation.size() == 3)
        for (int row = 0; row < 3; ++row) m[12 + row] = node.translation[size_t(row)];
    return m;
}

double Determinant(const Matrix& m) {
    return m[0] * (m[5] * m[10] - m[9] * m[6]) - m[4] * (m[1] * m[10] - m[9] * m[2]) +
           m[8] * (m[1] * m[6] - m[5] * m[2]);
}

class SceneCollector {
public:
    explicit SceneCollector(const tinygltf::Model& model) : model_(model) {}
    fw::Expected<void> AddNode(int node, const Matrix& parent, int depth);
    ImportedMesh mesh;

private:
    fw::Expected<void> AddMesh(int meshIndex, const Matrix& m);
    fw::Expected<void> AddPrimitive(const tinygltf::Primitive& primitive, const Matrix& m,
                                    std::map<std::pair<int, int>, uint32_t>& bases);
    fw::Expected<void> AppendPoints(int position, int mapping, const Matrix& m, uint32_t& base);
    fw::Expected<void> AppendFaces(const tinygltf::Primitive& primitive, uint32_t base, size_t count, bool mirrored);
    uint32_t GroupOf(int material);
    ImportedGroup NamesOf(int material) const;

    const tinygltf::Model& model_;
    size_t visits_ = 0;
    size_t primitiveVisits_ = 0;
    std::map<int, uint32_t> groups_;
};

fw::Expected<void> SceneCollector::AddNode(int index, const Matrix& parent, int depth) {
    if (index < 0 || size_t(index) >= model_.nodes.size())
        return fw::Refuse("a scene names a node the file does not have");
    if (depth > kMaxNodeDepth || ++visits_ > kMaxNodeVisits) return fw::Refuse("its nodes loop or repeat without end");
    const tinygltf::Node& node = model_.nodes[size_t(index)];
    const Matrix m = Multiply(parent, NodeMatrix(node));
    if (node.mesh >= 0)
        if (auto added = AddMesh(node.mesh, m); !added) return added;
    for (int child : node.children)
        if (auto added = AddNode(child, m, depth + 1); !added) return added;
    return {};
}

fw::Expected<void> SceneCollector::AddMesh(int index, const Matrix& m) {
    if (size_t(index) >= model_.meshes.size()) return fw::Refuse("a node names a mesh the file does not have");
    // Primitives that share their vertices share the points made of them.
    std::map<std::pair<int, int>, uint32_t> bases;
    for (const tinygltf::Primitive& primitive : model_.meshes[size_t(index)].primitives) {
        if (++primitiveVisits_ > kMaxPrimitiveVisits) return fw::Refuse("its nodes show more meshes than any model has");
        if (auto added = AddPrimitive(primitive, m, bases); !added) return added;
    }
    return {};
}

int AttributeOf(const tinygltf::Primitive& primitive, const char* name) {
    const auto found = primitive.attributes.find(name);
    return found == primitive.attributes.end() ? -1 : found->second;
}

fw::Expected<void> SceneCollector::AddPrimitive(const tinygltf::Primitive& primitive, const Matrix& m,
                                                std::map<std::pair<int, int>, uint32_t>& bases) {
    if (primitive.mode != TINYGLTF_MODE_TRIANGLES)
        return fw::Refuse(
            "a mesh is made of points, lines or strips, and only separate triangles can be imported "
            "(triangulate the mesh in the editor)");
    const int position = AttributeOf(primitive, "POSITION"), mapping = AttributeOf(primitive, "TEXCOORD_0");
    const auto key = std::make_pair(position, mapping);
    const bool known = bases.count(key) != 0;
    uint32_t& base = bases[key];
    if (!known) {
        if (auto appended = AppendPoints(position, mapping, m, base); !appended) return appended;
    }
    const size_t count = model_.accessors[size_t(position)].count;
    return AppendFaces(primitive, base, count, Determinant(m) < 0);
}

fw::Expected<void> SceneCollector::AppendPoints(int position, int mapping, const Matrix& m, uint32_t& base) {
    const auto positions = AccessorElements::Of(model_, position);
    if (!positions) return positions.refusal();
    if (positions->components() != 3 || positions->componentType() != TINYGLTF_COMPONENT_TYPE_FLOAT)
        return fw::Refuse("a mesh's positions are not three floating-point numbers each");
    std::optional<AccessorElements> uv;
    if (mapping >= 0) {
        auto read = AccessorElements::Of(model_, mapping);
        if (!read) return read.refusal();
        uv = *read;
    }
    if (uv && (uv->components() != 2 || uv->count() < positions->count()))
        return fw::Refuse("a mesh's mapping coordinates do not match its positions");
    if (mesh.points.size() + positions->count() > kMaxImportedEntries)
        return fw::Refuse("it has more points than any model can hold");
    base = uint32_t(mesh.points.size());
    for (size_t k = 0; k < positions->count(); ++k) {
        const double x = positions->Component(k, 0), y = positions->Component(k, 1), z = positions->Component(k, 2);
        const Vec3 placed{m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
                          m[2] * x + m[6] * y + m[10] * z + m[14]};
        ExchangePoint point;
        ExchangeFromYUp(placed, point);
        // glTF's v runs down from the top of the picture.
        if (uv) {
            point.u = uv->Component(k, 0);
            point.v = 1.0 - uv->Component(k, 1);
        }
        if (!IsFinitePoint(point.x, point.y, point.z, point.u, point.v))
            return fw::Refuse("a point lies at no finite place");
        mesh.points.push_back(point);
    }
    return {};
}

fw::Expected<void> SceneCollector::AppendFaces(const tinygltf::Primitive& primitive, uint32_t base, size_t count,
                                               bool mirrored) {
    std::optional<AccessorElements> indices;
    if (primitive.indices >= 0) {
        auto read = AccessorElements::Of(model_, primitive.indices);
        if (!read) return read.refusal();
        indices = *read;
    }
    if (indices && (indices->components() != 1 || indices->componentType() == TINYGLTF_COMPONENT_TYPE_FLOAT))
        return fw::Refuse("a mesh's indices are not whole numbers");
    const size_t corners = indices ? indices->count() : count;
    if (corners % 3) return fw::Refuse("a mesh's corner count is no multiple of three");
    if (mesh.faces.size() + corners / 3 > kMaxImportedEntries)
        return fw::Refuse("it has more triangles than any model can hold");
    const uint32_t group = GroupOf(primitive.material);
    for (size_t k = 0; k < corners; k += 3) {
        uint32_t corner[3];
        for (size_t i = 0; i < 3; ++i) corner[i] = indices ? indices->Index(k + i) : uint32_t(k + i);
        if (corner[0] >= count || corner[1] >= count || corner[2] >= count)
            return fw::Refuse("a triangle names a vertex its mesh does not have");
        // A mirroring transform turns the faces inside out unless their corners turn the other way.
        if (mirrored) std::swap(corner[1], corner[2]);
        mesh.faces.push_back(ImportedFace{base + corner[0], base + corner[1], base + corner[2], group});
    }
    return {};
}

uint32_t SceneCollector::GroupOf(int material) {
    const auto found = groups_.find(material);
    if (found != groups_.end()) return found->second;
    mesh.groups.push_back(NamesOf(material));
    return groups_[material] = uint32_t(mesh.groups.size() - 1);
}

ImportedGroup SceneCollector::NamesOf(int material) const {
    ImportedGroup names;
    if (material < 0 || size_t(material) >= model_.materials.size()) return names;
    const tinygltf::Material& found = model_.materials[size_t(material)];
    names.materialName = found.name;
    const int texture = found.pbrMetallicRoughness.baseColorTexture.index;
    if (texture < 0 || size_t(texture) >= model_.textures.size()) return names;
    const int source = model_.textures[size_t(texture)].source;
    if (source < 0 || size_t(source) >= model_.images.size()) return names;
    const tinygltf::Image& image = model_.images[size_t(source)];
    // An image inside the file has only its name to go by.
    names.textureFile = image.uri.empty() ? image.name : FileNameFromUri(image.uri);
    return names;
}

std::vector<int> SceneRoots(const tinygltf::Model& model) {
    if (!model.scenes.empty()) {
        const size_t scene = model.defaultScene >= 0 && size_t(model.defaultScene) < model.scenes.size()
                                 ? size_t(model.defaultScene)
                                 : 0;
        return model.scenes[scene].nodes;
    }
    std::vector<bool> child(model.nodes.size(), false);
    for (const tinygltf::Node& node : model.nodes)
        for (int c : node.children)
            if (c >= 0 && size_t(c) < child.size()) child[size_t(c)] = true;
    std::vector<int> roots;
    for (size_t n = 0; n < child.size(); ++n)
        if (!child[n]) roots.push_back(int(n));
    return roots;
}

}  // namespace

fw::Expected<ImportedMesh> CollectScene(const tinygltf::Model& model) {
    SceneCollector collector(model);
    for (int root : SceneRoots(model))
        if (auto added = collector.AddNode(root, kIdentity, 0); !added) return added.refusal();
    if (collector.mesh.faces.empty()) return fw::Refuse("its scene shows no triangles");
    return std::move(collector.mesh);
}
