#include "platform/d3dxmesh/CXFileImporter.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <cstring>
#include <utility>

namespace {

// Assimp turns ".x" data into right-handed coordinates with v up and
// counter-clockwise fronts; converting back gives the file's own values, as
// D3DX returns them.
constexpr unsigned int kImportSteps =
    aiProcess_Triangulate | aiProcess_JoinIdenticalVertices | aiProcess_ConvertToLeftHanded;

struct SPlacedMesh {
    const aiMesh* mesh;
    aiMatrix4x4 transform;
};

// Every mesh reference of the frame tree with its frame's global transform.
std::vector<SPlacedMesh> PlaceMeshes(const aiScene& scene) {
    std::vector<SPlacedMesh> placed;
    std::vector<std::pair<const aiNode*, aiMatrix4x4>> pending = {{scene.mRootNode, aiMatrix4x4()}};
    while (!pending.empty()) {
        auto [node, parent] = pending.back();
        pending.pop_back();
        const aiMatrix4x4 global = parent * node->mTransformation;
        for (unsigned int i = 0; i < node->mNumMeshes; ++i) {
            if (node->mMeshes[i] < scene.mNumMeshes) {
                placed.push_back({scene.mMeshes[node->mMeshes[i]], global});
            }
        }
        // Children in reverse onto the stack, so that they come out in file order.
        for (unsigned int i = node->mNumChildren; i-- > 0;) {
            pending.emplace_back(node->mChildren[i], global);
        }
    }
    return placed;
}

unsigned int TriangleCount(const aiMesh& mesh) {
    unsigned int count = 0;
    for (unsigned int f = 0; f < mesh.mNumFaces; ++f) {
        count += mesh.mFaces[f].mNumIndices == 3 ? 1 : 0;
    }
    return count;
}

DWORD ToArgb(const aiColor4D& c) {
    auto byte = [](float value) {
        const float clamped = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
        return static_cast<DWORD>(clamped * 255.0f + 0.5f);
    };
    return (byte(c.a) << 24) | (byte(c.r) << 16) | (byte(c.g) << 8) | byte(c.b);
}

// Assimp files a texture under a type guessed from its name; the file's
// first texture is whichever it is.
bool FirstTexture(const aiMaterial& material, std::string& name) {
    static const aiTextureType kTypes[] = {aiTextureType_DIFFUSE,  aiTextureType_HEIGHT,  aiTextureType_NORMALS,
                                           aiTextureType_SPECULAR, aiTextureType_AMBIENT, aiTextureType_EMISSIVE};
    for (const aiTextureType type : kTypes) {
        aiString path;
        if (material.GetTexture(type, 0, &path) == aiReturn_SUCCESS && path.length > 0) {
            name.assign(path.C_Str(), path.length);
            return true;
        }
    }
    return false;
}

SXFileMaterial ConvertMaterial(const aiMaterial& source) {
    SXFileMaterial result;
    aiColor4D diffuse(0.0f, 0.0f, 0.0f, 1.0f);
    aiColor4D specular(0.0f, 0.0f, 0.0f, 1.0f);
    aiColor4D emissive(0.0f, 0.0f, 0.0f, 1.0f);
    float power = 0.0f;
    source.Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
    source.Get(AI_MATKEY_COLOR_SPECULAR, specular);
    source.Get(AI_MATKEY_COLOR_EMISSIVE, emissive);
    source.Get(AI_MATKEY_SHININESS, power);
    D3DMATERIAL8& m = result.material;
    m.Diffuse = {diffuse.r, diffuse.g, diffuse.b, diffuse.a};
    m.Specular = {specular.r, specular.g, specular.b, 1.0f};
    m.Emissive = {emissive.r, emissive.g, emissive.b, 1.0f};
    m.Ambient = {0.0f, 0.0f, 0.0f, 0.0f};  // ".x" materials have no ambient colour
    m.Power = power;
    result.hasTexture = FirstTexture(source, result.texture);
    return result;
}

// Assimp adds one unnamed grey material to files that have none; D3DX
// reports no materials for them.
bool HasFileMaterials(const aiScene& scene) {
    if (scene.mNumMaterials != 1) {
        return scene.mNumMaterials > 0;
    }
    aiString name;
    return scene.mMaterials[0]->Get(AI_MATKEY_NAME, name) == aiReturn_SUCCESS && name.length > 0;
}

void AppendMesh(const SPlacedMesh& placed, DWORD attribute, SXFileMesh& out) {
    const aiMesh& mesh = *placed.mesh;
    const aiMatrix4x4& transform = placed.transform;
    aiMatrix3x3 normalTransform(transform);
    normalTransform.Inverse().Transpose();
    const std::uint32_t base = out.VertexCount();
    for (unsigned int v = 0; v < mesh.mNumVertices; ++v) {
        const aiVector3D position = transform * mesh.mVertices[v];
        out.positions.insert(out.positions.end(), {position.x, position.y, position.z});
        aiVector3D normal(0.0f, 0.0f, 0.0f);
        if (mesh.HasNormals()) {
            normal = (normalTransform * mesh.mNormals[v]).NormalizeSafe();
        }
        out.normals.insert(out.normals.end(), {normal.x, normal.y, normal.z});
        out.colours.push_back(mesh.HasVertexColors(0) ? ToArgb(mesh.mColors[0][v]) : 0xFFFFFFFFu);
        const aiVector3D uv = mesh.HasTextureCoords(0) ? mesh.mTextureCoords[0][v] : aiVector3D();
        out.texCoords.insert(out.texCoords.end(), {uv.x, uv.y});
    }
    for (unsigned int f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices != 3) {
            continue;  // points and lines are not drawn
        }
        for (unsigned int corner = 0; corner < 3; ++corner) {
            out.indices.push_back(base + face.mIndices[corner]);
        }
        out.attributes.push_back(attribute);
    }
    out.hasNormals = out.hasNormals || mesh.HasNormals();
    out.hasColours = out.hasColours || mesh.HasVertexColors(0);
    out.hasTexCoords = out.hasTexCoords || mesh.HasTextureCoords(0);
}

}  // namespace

HRESULT CXFileImporter::Import(const BYTE* data, size_t size, SXFileMesh& out) {
    out = SXFileMesh();
    // Only ".x" data: Assimp would read other formats from memory as well.
    if (data == nullptr || size < 16 || std::memcmp(data, "xof ", 4) != 0) {
        return D3DXERR_INVALIDDATA;
    }
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFileFromMemory(data, size, kImportSteps, "x");
    if (scene == nullptr || scene->mRootNode == nullptr) {
        return D3DXERR_INVALIDDATA;
    }

    const std::vector<SPlacedMesh> placed = PlaceMeshes(*scene);
    const bool fileMaterials = HasFileMaterials(*scene);
    const unsigned int materialCount = fileMaterials ? scene->mNumMaterials : 1;
    for (unsigned int m = 0; m < materialCount; ++m) {
        const DWORD faceStart = out.FaceCount();
        const DWORD vertexStart = out.VertexCount();
        for (const SPlacedMesh& entry : placed) {
            const bool ofThisMaterial = !fileMaterials || entry.mesh->mMaterialIndex == m;
            if (ofThisMaterial && TriangleCount(*entry.mesh) > 0) {
                AppendMesh(entry, m, out);
            }
        }
        if (fileMaterials) {
            out.materials.push_back(ConvertMaterial(*scene->mMaterials[m]));
            out.attributeTable.push_back(D3DXATTRIBUTERANGE{m, faceStart, out.FaceCount() - faceStart, vertexStart,
                                                            out.VertexCount() - vertexStart});
        }
    }
    return out.FaceCount() > 0 ? D3D_OK : D3DXERR_LOADEDMESHHASNODATA;
}
