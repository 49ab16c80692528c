#include "meshes/CXMeshLoader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/CScreen.h"
#include "core/CTools.h"
#include "platform/d3d8/CDeviceHandle.h"
#include "platform/d3dxmesh/d3dx8mesh.h"
#include "scene/CSceneFile.h"

namespace {

// The engine's vertex layout (S3DVERTEX): position, normal, two texture pairs.
constexpr DWORD kEngineVertexFormat = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2;
constexpr size_t kEngineVertexSize = 40;
constexpr size_t kTexCoordOffset = 24;

}  // namespace

std::unique_ptr<SMesh> CXMeshLoader::Load(CString path, SMesh* /*reference*/) {
    m_Directory = DirectoryOf(path);
    LPDIRECT3DDEVICE8 device = CScreen::Instance().GetD3DDevice();
    CDeviceHandle<ID3DXBuffer> adjacency;
    CDeviceHandle<ID3DXBuffer> materials;
    DWORD materialCount = 0;
    CDeviceHandle<ID3DXMesh> loaded;
    HRESULT result = D3D_OK;
    if (CSceneFile* sceneFile = GetSourceSceneFile(); sceneFile != nullptr) {
        BYTE* data = nullptr;
        const int size = sceneFile->GetFile(path, data);
        if (size <= 0) {
            CTools::Error("Mesh loading: Unable to load mesh \"" + path + "\": not found in the archive.");
            return nullptr;
        }
        result = D3DXLoadMeshFromXInMemory(data, static_cast<DWORD>(size), D3DXMESH_SYSTEMMEM, device,
                                           adjacency.ReleaseAndGetAddressOf(), materials.ReleaseAndGetAddressOf(),
                                           &materialCount, loaded.ReleaseAndGetAddressOf());
    } else {
        result = D3DXLoadMeshFromX(path.c_str(), D3DXMESH_SYSTEMMEM, device, adjacency.ReleaseAndGetAddressOf(),
                                   materials.ReleaseAndGetAddressOf(), &materialCount, loaded.ReleaseAndGetAddressOf());
    }
    if (FAILED(result)) {
        if (result == D3DXERR_INVALIDMESH) {
            DisplayError(TooManyVerticesMessage());
        }
        return nullptr;
    }

    CDeviceHandle<ID3DXMesh> clone;
    result = loaded->CloneMeshFVF(D3DXMESH_SYSTEMMEM, kEngineVertexFormat, device, clone.ReleaseAndGetAddressOf());
    loaded.Reset();
    if (FAILED(result)) {
        return nullptr;
    }

    auto mesh = std::make_unique<SMesh>();
    CopyMaterials(materials.Get(), materialCount, *mesh);
    CopyFaceRanges(*clone.Get(), *mesh);
    CopyGeometry(*clone.Get(), *mesh);
    return mesh;
}

// Ambient and emissive follow the diffuse colour; textures are looked for
// beside the mesh file.
void CXMeshLoader::CopyMaterials(ID3DXBuffer* materials, DWORD count, SMesh& mesh) const {
    if (materials == nullptr) {
        return;
    }
    const auto* entries = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    count = std::min<DWORD>(count, materials->GetBufferSize() / sizeof(D3DXMATERIAL));
    for (DWORD i = 0; i < count; ++i) {
        SMeshMaterial material;
        material.material = entries[i].MatD3D;
        material.material.Ambient = material.material.Diffuse;
        material.material.Emissive = material.material.Diffuse;
        if (entries[i].pTextureFilename != nullptr && entries[i].pTextureFilename[0] != '\0') {
            material.texture.Format("%s%s", m_Directory.c_str(), FileNameOf(entries[i].pTextureFilename).c_str());
        }
        mesh.materials.push_back(material);
    }
}

// Each attribute range ends its material's faces. A mesh without materials or
// attribute ranges is drawn with one grey material over every face.
void CXMeshLoader::CopyFaceRanges(ID3DXMesh& mesh, SMesh& out) {
    DWORD rangeCount = 0;
    mesh.GetAttributeTable(nullptr, &rangeCount);
    std::vector<D3DXATTRIBUTERANGE> ranges(rangeCount);
    if (rangeCount > 0) {
        mesh.GetAttributeTable(ranges.data(), &rangeCount);
    }
    if (out.materials.empty() || ranges.empty()) {
        out.materials.assign(1, SMeshMaterial());
        out.materials[0].material = MakeMeshMaterial(0.5f, 0.5f, 0.5f);
        out.materials[0].endFace = mesh.GetNumFaces();
        return;
    }
    std::vector<bool> covered(out.materials.size(), false);
    for (const D3DXATTRIBUTERANGE& range : ranges) {
        if (range.AttribId < out.materials.size()) {
            out.materials[range.AttribId].endFace = range.FaceStart + range.FaceCount;
            covered[range.AttribId] = true;
        }
    }
    // A material without a range draws nothing: an empty range where it stands.
    for (size_t i = 0; i < out.materials.size(); ++i) {
        if (!covered[i]) {
            out.materials[i].endFace = i > 0 ? out.materials[i - 1].endFace : 0;
        }
    }
}

void CXMeshLoader::CopyGeometry(ID3DXMesh& mesh, SMesh& out) {
    BYTE* vertices = nullptr;
    mesh.LockVertexBuffer(0, &vertices);
    out.vertices.resize(mesh.GetNumVertices());
    for (size_t i = 0; i < out.vertices.size(); ++i) {
        float position[3];
        float texCoord[2];
        std::memcpy(position, vertices + i * kEngineVertexSize, sizeof(position));
        std::memcpy(texCoord, vertices + i * kEngineVertexSize + kTexCoordOffset, sizeof(texCoord));
        out.vertices[i] = SMeshVertex{position[0], position[1], position[2], texCoord[0], texCoord[1]};
    }
    mesh.UnlockVertexBuffer();

    BYTE* indices = nullptr;
    mesh.LockIndexBuffer(0, &indices);
    out.indices.resize(static_cast<size_t>(mesh.GetNumFaces()) * 3);
    for (size_t i = 0; i < out.indices.size(); ++i) {
        std::uint16_t index = 0;
        std::memcpy(&index, indices + i * 2, 2);
        out.indices[i] = index;
    }
    mesh.UnlockIndexBuffer();
}
