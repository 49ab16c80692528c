#include "platform/d3dxmesh/CXFileMeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <unordered_map>

namespace {

constexpr std::uint32_t kAllMaterials = 0xFFFFFFFFu;
// More triangles than the engine could ever draw: a file whose frames place
// a mesh that often is taken for damage.
constexpr size_t kMaxTriangles = size_t{1} << 24;

// Reads the numbers of an object's members in order, each read checked
// against what is left.
class CNumbers {
public:
    explicit CNumbers(const std::vector<double>& values) : m_Values(values) {}

    size_t Left() const { return m_Values.size() - m_Next; }
    bool Count(std::uint32_t& out) {
        if (Left() == 0) {
            return false;
        }
        const double value = m_Values[m_Next++];
        if (!(value >= 0.0 && value <= 4294967295.0) || value != std::floor(value)) {
            return false;
        }
        out = static_cast<std::uint32_t>(value);
        return true;
    }
    // A count of items of `width` numbers each that the numbers left can hold.
    bool CountOf(size_t width, std::uint32_t& out) { return Count(out) && out <= Left() / width; }
    bool Index(std::uint32_t limit, std::uint32_t& out) { return Count(out) && out < limit; }
    bool Floats(size_t count, std::vector<float>& out) {
        if (count > Left()) {
            return false;
        }
        for (size_t i = 0; i < count; ++i) {
            out.push_back(static_cast<float>(m_Values[m_Next++]));
        }
        return true;
    }

private:
    const std::vector<double>& m_Values;
    size_t m_Next = 0;
};

DWORD ToArgb(const float* rgba) {
    auto byte = [](float value) {
        const float clamped = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
        return static_cast<DWORD>(clamped * 255.0f + 0.5f);
    };
    return (byte(rgba[3]) << 24) | (byte(rgba[0]) << 16) | (byte(rgba[1]) << 8) | byte(rgba[2]);
}

// The material D3DX gives a mesh without a material list when others have one.
SXFileMaterial DefaultMaterial() {
    SXFileMaterial material;
    material.material.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    return material;
}

// A corner's values: position, normal, colour, texture coordinates.
struct SVertexKey {
    std::array<std::uint32_t, 9> bits;
    bool operator==(const SVertexKey& other) const { return bits == other.bits; }
};

struct SVertexKeyHash {
    size_t operator()(const SVertexKey& key) const {
        std::uint64_t hash = 1469598103934665603ull;
        for (const std::uint32_t word : key.bits) {
            hash = (hash ^ word) * 1099511628211ull;
        }
        return static_cast<size_t>(hash ^ (hash >> 29));
    }
};

std::uint32_t Bits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    return bits;
}

const SXFileObject* FirstChild(const SXFileObject& object, const char* type) {
    for (const SXFileObject& child : object.children) {
        if (!child.IsReference() && child.IsA(type)) {
            return &child;
        }
    }
    return nullptr;
}

}  // namespace

void CXFileMeshBuilder::IndexNames(const SXFileObject& object) {
    for (const SXFileObject& child : object.children) {
        if (child.IsReference()) {
            continue;
        }
        if (!child.name.empty()) {
            m_Names.insert(child.name);
            if (child.IsA("Mesh")) {
                m_Meshes.emplace(child.name, &child);
            } else if (child.IsA("Material")) {
                m_Materials.emplace(child.name, &child);
            }
        }
        IndexNames(child);  // as deep as the parser allowed
    }
}

bool CXFileMeshBuilder::PlaceFrame(const SXFileObject& frame, const Matrix& parent) {
    Matrix local = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    if (const SXFileObject* matrix = FirstChild(frame, "FrameTransformMatrix")) {
        if (matrix->numbers.size() < 16) {
            return false;
        }
        std::copy(matrix->numbers.begin(), matrix->numbers.begin() + 16, local.begin());
    }
    // Row vectors: a point goes through the frame's matrix, then its parent's.
    Matrix global{};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            for (int k = 0; k < 4; ++k) {
                global[r * 4 + c] += local[r * 4 + k] * parent[k * 4 + c];
            }
        }
    }
    for (const SXFileObject& child : frame.children) {
        if (child.IsReference()) {
            const auto mesh = m_Meshes.find(child.name);
            if (mesh != m_Meshes.end()) {
                m_Placed.push_back({mesh->second, global, false});
                m_Referenced.insert(child.name);
            } else if (m_Names.count(child.name) == 0) {
                return false;  // refers to nothing in the file
            }
        } else if (child.IsA("Mesh")) {
            m_Placed.push_back({&child, global, false});
        } else if (child.IsA("Frame") && !PlaceFrame(child, global)) {
            return false;
        }
    }
    return true;
}

bool CXFileMeshBuilder::DecodeMaterial(const SXFileObject& object, SXFileMaterial& out) const {
    // Face colour (RGBA), power, specular (RGB), emissive (RGB).
    const std::vector<double>& n = object.numbers;
    if (n.size() < 11) {
        return false;
    }
    auto f = [&n](size_t i) { return static_cast<float>(n[i]); };
    D3DMATERIAL8& m = out.material;
    m.Diffuse = {f(0), f(1), f(2), f(3)};
    m.Power = f(4);
    m.Specular = {f(5), f(6), f(7), 1.0f};
    m.Emissive = {f(8), f(9), f(10), 1.0f};
    m.Ambient = {0.0f, 0.0f, 0.0f, 0.0f};  // ".x" materials have no ambient colour
    const SXFileObject* texture = FirstChild(object, "TextureFilename");
    out.hasTexture = texture != nullptr && !texture->strings.empty();
    if (out.hasTexture) {
        out.texture = texture->strings.front();
    }
    return true;
}

bool CXFileMeshBuilder::DecodeMaterialList(const SXFileObject& list, SSourceMesh& mesh) const {
    CNumbers numbers(list.numbers);
    std::uint32_t materialCount = 0;
    std::uint32_t indexCount = 0;
    if (!numbers.Count(materialCount) || !numbers.CountOf(1, indexCount)) {
        return false;
    }
    const size_t polygons = mesh.polygonStarts.size() - 1;
    std::vector<std::uint32_t> indices(indexCount);
    for (std::uint32_t& index : indices) {
        if (!numbers.Index(materialCount, index)) {
            return false;
        }
    }
    if (materialCount == 0) {
        return true;  // a list of nothing: the mesh has no materials
    }
    for (const SXFileObject& child : list.children) {
        if (mesh.materials.size() == materialCount) {
            break;
        }
        const SXFileObject* material = &child;
        if (child.IsReference()) {
            const auto found = m_Materials.find(child.name);
            if (found == m_Materials.end()) {
                return false;
            }
            material = found->second;
        } else if (!child.IsA("Material")) {
            continue;
        }
        if (!DecodeMaterial(*material, mesh.materials.emplace_back())) {
            return false;
        }
    }
    // Only the materials the list holds exist: a face may not use one it
    // only counts (the count alone could ask for billions).
    for (const std::uint32_t index : indices) {
        if (index >= mesh.materials.size()) {
            return false;
        }
    }
    if (mesh.materials.empty()) {
        return true;
    }
    // Faces past the list take its last material.
    mesh.polygonMaterials.assign(polygons, indices.empty() ? 0 : indices.back());
    std::copy_n(indices.begin(), std::min<size_t>(indices.size(), polygons), mesh.polygonMaterials.begin());
    return true;
}

bool CXFileMeshBuilder::DecodeMesh(const SXFileObject& object, SSourceMesh& mesh) const {
    CNumbers numbers(object.numbers);
    std::uint32_t vertexCount = 0;
    std::uint32_t polygonCount = 0;
    if (!numbers.CountOf(3, vertexCount) || !numbers.Floats(size_t{vertexCount} * 3, mesh.positions) ||
        !numbers.CountOf(1, polygonCount)) {
        return false;
    }
    mesh.polygonStarts.push_back(0);
    for (std::uint32_t p = 0; p < polygonCount; ++p) {
        std::uint32_t corners = 0;
        if (!numbers.CountOf(1, corners)) {
            return false;
        }
        for (std::uint32_t c = 0; c < corners; ++c) {
            std::uint32_t vertex = 0;
            if (!numbers.Index(vertexCount, vertex)) {
                return false;
            }
            mesh.corners.push_back(vertex);
        }
        mesh.polygonStarts.push_back(static_cast<std::uint32_t>(mesh.corners.size()));
        mesh.triangles += corners >= 3 ? corners - 2 : 0;
    }
    for (const SXFileObject& child : object.children) {
        bool good = true;
        if (child.IsReference()) {
            continue;
        } else if (child.IsA("MeshNormals")) {
            good = DecodeNormals(child, mesh);
        } else if (child.IsA("MeshTextureCoords")) {
            CNumbers uv(child.numbers);
            std::uint32_t count = 0;
            good = uv.CountOf(2, count) && count == vertexCount && uv.Floats(size_t{count} * 2, mesh.texCoords);
        } else if (child.IsA("MeshVertexColors")) {
            good = DecodeColours(child, vertexCount, mesh);
        } else if (child.IsA("MeshMaterialList")) {
            good = DecodeMaterialList(child, mesh);
        }
        if (!good) {
            return false;
        }
    }
    return true;
}

// Normals have faces of their own, corner for corner with the mesh's.
// Normals whose faces do not match the mesh's are left out.
bool CXFileMeshBuilder::DecodeNormals(const SXFileObject& object, SSourceMesh& mesh) const {
    CNumbers numbers(object.numbers);
    std::uint32_t normalCount = 0;
    std::uint32_t faceCount = 0;
    std::vector<float> normals;
    if (!numbers.CountOf(3, normalCount) || !numbers.Floats(size_t{normalCount} * 3, normals) ||
        !numbers.CountOf(1, faceCount)) {
        return false;
    }
    const size_t polygons = mesh.polygonStarts.size() - 1;
    std::vector<std::uint32_t> corners;
    corners.reserve(mesh.corners.size());
    bool matches = faceCount == polygons;
    for (std::uint32_t f = 0; f < faceCount && matches; ++f) {
        std::uint32_t count = 0;
        if (!numbers.CountOf(1, count)) {
            return false;
        }
        matches = count == mesh.polygonStarts[f + 1] - mesh.polygonStarts[f];
        for (std::uint32_t c = 0; c < count; ++c) {
            std::uint32_t normal = 0;
            if (!numbers.Index(normalCount, normal)) {
                return false;
            }
            corners.push_back(normal);
        }
    }
    if (matches) {
        mesh.normals = std::move(normals);
        mesh.normalCorners = std::move(corners);
    }
    return true;
}

bool CXFileMeshBuilder::DecodeColours(const SXFileObject& object, std::uint32_t vertexCount, SSourceMesh& mesh) const {
    CNumbers numbers(object.numbers);
    std::uint32_t count = 0;
    if (!numbers.CountOf(5, count)) {
        return false;
    }
    mesh.colours.assign(vertexCount, 0xFFFFFFFFu);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t vertex = 0;
        std::vector<float> rgba;
        if (!numbers.Index(vertexCount, vertex) || !numbers.Floats(4, rgba)) {
            return false;
        }
        mesh.colours[vertex] = ToArgb(rgba.data());
    }
    return true;
}

void CXFileMeshBuilder::Append(const SSourceMesh& mesh, const Matrix& m, std::uint32_t material, DWORD attribute,
                               SXFileMesh& out) const {
    // Normals go through the inverse transpose of the matrix's 3 x 3 part:
    // its cofactors over its determinant.
    auto at = [&m](int r, int c) { return m[r * 4 + c]; };
    double cof[3][3];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
            cof[r][c] = at(r1, c1) * at(r2, c2) - at(r1, c2) * at(r2, c1);
        }
    }
    const double det = at(0, 0) * cof[0][0] + at(0, 1) * cof[0][1] + at(0, 2) * cof[0][2];
    const double normalSign = det < 0.0 ? -1.0 : 1.0;

    std::unordered_map<SVertexKey, std::uint32_t, SVertexKeyHash> shared;
    std::vector<std::uint32_t> polygon;
    const size_t polygons = mesh.polygonStarts.size() - 1;
    for (size_t p = 0; p < polygons; ++p) {
        const std::uint32_t first = mesh.polygonStarts[p];
        const std::uint32_t end = mesh.polygonStarts[p + 1];
        const bool ofMaterial = material == kAllMaterials || mesh.polygonMaterials[p] == material;
        if (!ofMaterial || end - first < 3) {
            continue;  // points and lines are not drawn
        }
        polygon.clear();
        for (std::uint32_t corner = first; corner < end; ++corner) {
            const std::uint32_t v = mesh.corners[corner];
            const float* source = &mesh.positions[size_t{v} * 3];
            float position[3];
            for (int c = 0; c < 3; ++c) {
                position[c] =
                    static_cast<float>(source[0] * at(0, c) + source[1] * at(1, c) + source[2] * at(2, c) + at(3, c));
            }
            float normal[3] = {0.0f, 0.0f, 0.0f};
            if (!mesh.normalCorners.empty()) {
                const float* n = &mesh.normals[size_t{mesh.normalCorners[corner]} * 3];
                double x[3];
                for (int c = 0; c < 3; ++c) {
                    x[c] = (n[0] * cof[0][c] + n[1] * cof[1][c] + n[2] * cof[2][c]) * normalSign;
                }
                const double length = std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]);
                for (int c = 0; c < 3 && length > 0.0; ++c) {
                    normal[c] = static_cast<float>(x[c] / length);
                }
            }
            const DWORD colour = mesh.colours.empty() ? 0xFFFFFFFFu : mesh.colours[v];
            const float u = mesh.texCoords.empty() ? 0.0f : mesh.texCoords[size_t{v} * 2];
            const float tv = mesh.texCoords.empty() ? 0.0f : mesh.texCoords[size_t{v} * 2 + 1];
            const SVertexKey key{{Bits(position[0]), Bits(position[1]), Bits(position[2]), Bits(normal[0]),
                                  Bits(normal[1]), Bits(normal[2]), colour, Bits(u), Bits(tv)}};
            const auto [entry, added] = shared.try_emplace(key, out.VertexCount());
            if (added) {
                out.positions.insert(out.positions.end(), position, position + 3);
                out.normals.insert(out.normals.end(), normal, normal + 3);
                out.colours.push_back(colour);
                out.texCoords.insert(out.texCoords.end(), {u, tv});
            }
            polygon.push_back(entry->second);
        }
        // A fan from the first corner.
        for (size_t i = 1; i + 1 < polygon.size(); ++i) {
            out.indices.insert(out.indices.end(), {polygon[0], polygon[i], polygon[i + 1]});
            out.attributes.push_back(attribute);
        }
    }
    out.hasNormals = out.hasNormals || !mesh.normalCorners.empty();
    out.hasColours = out.hasColours || !mesh.colours.empty();
    out.hasTexCoords = out.hasTexCoords || !mesh.texCoords.empty();
}

HRESULT CXFileMeshBuilder::Build(SXFileMesh& out) {
    out = SXFileMesh();
    IndexNames(m_Root);
    const Matrix identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (const SXFileObject& object : m_Root.children) {
        if (object.IsA("Mesh")) {
            m_Placed.push_back({&object, identity, true});
        } else if (object.IsA("Frame") && !PlaceFrame(object, identity)) {
            return D3DXERR_INVALIDDATA;
        }
    }
    // A top-level mesh that a frame places is drawn there only.
    std::erase_if(m_Placed, [this](const SPlaced& placed) {
        return placed.topLevel && m_Referenced.count(placed.mesh->name) > 0;
    });

    std::map<const SXFileObject*, SSourceMesh> decoded;
    size_t triangles = 0;
    bool anyMaterials = false;
    for (const SPlaced& placed : m_Placed) {
        auto [entry, added] = decoded.try_emplace(placed.mesh);
        if (added && !DecodeMesh(*placed.mesh, entry->second)) {
            return D3DXERR_INVALIDDATA;
        }
        triangles += entry->second.triangles;
        anyMaterials = anyMaterials || !entry->second.materials.empty();
        if (triangles > kMaxTriangles) {
            return D3DXERR_INVALIDDATA;
        }
    }
    out.indices.reserve(triangles * 3);
    out.attributes.reserve(triangles);

    for (const SPlaced& placed : m_Placed) {
        const SSourceMesh& mesh = decoded.at(placed.mesh);
        if (!anyMaterials) {
            Append(mesh, placed.transform, kAllMaterials, 0, out);
            continue;
        }
        // The meshes' materials one after the other; a mesh without any
        // takes a default one over all its faces.
        const size_t ownMaterials = std::max<size_t>(mesh.materials.size(), 1);
        for (size_t m = 0; m < ownMaterials; ++m) {
            const DWORD attribute = static_cast<DWORD>(out.materials.size());
            const DWORD faceStart = out.FaceCount();
            const DWORD vertexStart = out.VertexCount();
            const bool own = !mesh.materials.empty();
            Append(mesh, placed.transform, own ? static_cast<std::uint32_t>(m) : kAllMaterials, attribute, out);
            out.materials.push_back(own ? mesh.materials[m] : DefaultMaterial());
            out.attributeTable.push_back(D3DXATTRIBUTERANGE{attribute, faceStart, out.FaceCount() - faceStart,
                                                            vertexStart, out.VertexCount() - vertexStart});
        }
    }
    return out.FaceCount() > 0 ? D3D_OK : D3DXERR_LOADEDMESHHASNODATA;
}
