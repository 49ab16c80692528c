// The D3DX mesh functions: argument handling around CXFileImporter and
// CD3DXMesh.

#include "platform/d3dxmesh/d3dx8mesh.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/base/GuardedCall.h"
#include "platform/base/WholeFile.h"
#include "platform/d3d8/CFvfLayout.h"
#include "platform/d3dxmesh/CD3DXBuffer.h"
#include "platform/d3dxmesh/CD3DXMesh.h"
#include "platform/d3dxmesh/CXFileImporter.h"

namespace {

// Mesh files larger than this are refused before they are read.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{1} << 30;

constexpr DWORD kNoNeighbour = 0xFFFFFFFFu;

// Drops the reference of a half-built object when loading fails part-way.
struct SRelease {
    void operator()(IUnknown* object) const {
        if (object != nullptr) {
            object->Release();
        }
    }
};

DWORD VertexFormatOf(const SXFileMesh& content) {
    DWORD fvf = D3DFVF_XYZ;
    fvf |= content.hasNormals ? D3DFVF_NORMAL : 0;
    fvf |= content.hasColours ? D3DFVF_DIFFUSE : 0;
    fvf |= content.hasTexCoords ? D3DFVF_TEX1 : 0;
    return fvf;
}

void FillVertices(const SXFileMesh& content, CD3DXMesh& mesh) {
    const CFvfLayout layout(mesh.GetFVF());
    for (DWORD v = 0; v < content.VertexCount(); ++v) {
        BYTE* vertex = mesh.Vertices() + static_cast<size_t>(v) * mesh.Stride();
        std::memcpy(vertex + layout.Position().offset, &content.positions[v * 3], 12);
        if (layout.Normal().present) {
            std::memcpy(vertex + layout.Normal().offset, &content.normals[v * 3], 12);
        }
        if (layout.Diffuse().present) {
            std::memcpy(vertex + layout.Diffuse().offset, &content.colours[v], 4);
        }
        if (layout.TexCoord(0).present) {
            std::memcpy(vertex + layout.TexCoord(0).offset, &content.texCoords[v * 2], 8);
        }
    }
    for (size_t i = 0; i < content.indices.size(); ++i) {
        mesh.SetIndex(i, content.indices[i]);
    }
    mesh.Attributes() = content.attributes;
    mesh.SetAttributeTable(content.attributeTable);
}

// For each face edge, the other face that has the same two vertices.
CD3DXBuffer* MakeAdjacency(const SXFileMesh& content) {
    struct SEdge {
        std::uint64_t key;
        DWORD slot;  // face * 3 + edge
    };
    const DWORD faceCount = content.FaceCount();
    std::vector<SEdge> edges;
    edges.reserve(static_cast<size_t>(faceCount) * 3);
    for (DWORD slot = 0; slot < faceCount * 3; ++slot) {
        const DWORD face = slot / 3;
        const std::uint64_t a = content.indices[slot];
        const std::uint64_t b = content.indices[face * 3 + (slot % 3 + 1) % 3];
        edges.push_back({(std::min(a, b) << 32) | std::max(a, b), slot});
    }
    std::stable_sort(edges.begin(), edges.end(), [](const SEdge& x, const SEdge& y) { return x.key < y.key; });

    CD3DXBuffer* buffer = new CD3DXBuffer(static_cast<size_t>(faceCount) * 3 * sizeof(DWORD));
    auto* adjacency = static_cast<DWORD*>(buffer->GetBufferPointer());
    std::fill(adjacency, adjacency + static_cast<size_t>(faceCount) * 3, kNoNeighbour);
    for (size_t first = 0; first < edges.size();) {
        size_t end = first + 1;
        while (end < edges.size() && edges[end].key == edges[first].key) {
            ++end;
        }
        for (size_t i = first; i < end; ++i) {
            for (size_t j = first; j < end; ++j) {
                if (i != j && edges[j].slot / 3 != edges[i].slot / 3) {
                    adjacency[edges[i].slot] = edges[j].slot / 3;
                    break;
                }
            }
        }
        first = end;
    }
    return buffer;
}

// D3DXMATERIAL entries followed by the texture names they point to.
CD3DXBuffer* MakeMaterials(const SXFileMesh& content) {
    size_t size = content.materials.size() * sizeof(D3DXMATERIAL);
    for (const SXFileMaterial& material : content.materials) {
        size += material.hasTexture ? material.texture.size() + 1 : 0;
    }
    CD3DXBuffer* buffer = new CD3DXBuffer(size);
    BYTE* base = static_cast<BYTE*>(buffer->GetBufferPointer());
    char* names = reinterpret_cast<char*>(base + content.materials.size() * sizeof(D3DXMATERIAL));
    for (size_t i = 0; i < content.materials.size(); ++i) {
        D3DXMATERIAL entry{};
        entry.MatD3D = content.materials[i].material;
        if (content.materials[i].hasTexture) {
            const std::string& texture = content.materials[i].texture;
            std::memcpy(names, texture.c_str(), texture.size() + 1);
            entry.pTextureFilename = names;
            names += texture.size() + 1;
        }
        std::memcpy(base + i * sizeof(D3DXMATERIAL), &entry, sizeof(entry));
    }
    return buffer;
}

HRESULT LoadMesh(const BYTE* data, size_t size, DWORD options, LPDIRECT3DDEVICE8 device, LPD3DXBUFFER* ppAdjacency,
                 LPD3DXBUFFER* ppMaterials, DWORD* pNumMaterials, LPD3DXMESH* ppMesh) {
    SXFileMesh content;
    const HRESULT imported = CXFileImporter::Import(data, size, content);
    if (FAILED(imported)) {
        return imported;
    }
    const DWORD fvf = VertexFormatOf(content);
    const HRESULT allowed = CD3DXMesh::CheckCreation(options, fvf, content.VertexCount());
    if (FAILED(allowed)) {
        return allowed;
    }
    std::unique_ptr<CD3DXMesh, SRelease> mesh(
        new CD3DXMesh(device, options, fvf, content.FaceCount(), content.VertexCount()));
    FillVertices(content, *mesh);
    std::unique_ptr<CD3DXBuffer, SRelease> adjacency(ppAdjacency != nullptr ? MakeAdjacency(content) : nullptr);
    std::unique_ptr<CD3DXBuffer, SRelease> materials(
        ppMaterials != nullptr && !content.materials.empty() ? MakeMaterials(content) : nullptr);
    if (ppAdjacency != nullptr) {
        *ppAdjacency = adjacency.release();
    }
    if (ppMaterials != nullptr) {
        *ppMaterials = materials.release();
    }
    if (pNumMaterials != nullptr) {
        *pNumMaterials = static_cast<DWORD>(content.materials.size());
    }
    *ppMesh = mesh.release();
    return D3D_OK;
}

void ClearOutputs(LPD3DXBUFFER* ppAdjacency, LPD3DXBUFFER* ppMaterials, DWORD* pNumMaterials, LPD3DXMESH* ppMesh) {
    if (ppAdjacency != nullptr)
        *ppAdjacency = nullptr;
    if (ppMaterials != nullptr)
        *ppMaterials = nullptr;
    if (pNumMaterials != nullptr)
        *pNumMaterials = 0;
    if (ppMesh != nullptr)
        *ppMesh = nullptr;
}

}  // namespace

HRESULT D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer) {
    if (ppBuffer == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppBuffer = nullptr;
    return GuardedCall([&] {
        *ppBuffer = new CD3DXBuffer(NumBytes);
        return D3D_OK;
    });
}

HRESULT D3DXLoadMeshFromX(LPCSTR pFilename, DWORD Options, LPDIRECT3DDEVICE8 pDevice, LPD3DXBUFFER* ppAdjacency,
                          LPD3DXBUFFER* ppMaterials, DWORD* pNumMaterials, LPD3DXMESH* ppMesh) {
    ClearOutputs(ppAdjacency, ppMaterials, pNumMaterials, ppMesh);
    if (pFilename == nullptr || ppMesh == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    return GuardedCall([&] {
        std::vector<BYTE> data;
        switch (ReadWholeFile(pFilename, kMaxFileBytes, data)) {
        case EWholeFile::Read:
            break;
        case EWholeFile::TooLarge:
            return E_OUTOFMEMORY;
        default:
            return D3DERR_INVALIDCALL;
        }
        return LoadMesh(data.data(), data.size(), Options, pDevice, ppAdjacency, ppMaterials, pNumMaterials, ppMesh);
    });
}

HRESULT D3DXLoadMeshFromXInMemory(const BYTE* Memory, DWORD SizeOfMemory, DWORD Options, LPDIRECT3DDEVICE8 pDevice,
                                  LPD3DXBUFFER* ppAdjacency, LPD3DXBUFFER* ppMaterials, DWORD* pNumMaterials,
                                  LPD3DXMESH* ppMesh) {
    ClearOutputs(ppAdjacency, ppMaterials, pNumMaterials, ppMesh);
    if (Memory == nullptr || ppMesh == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    return GuardedCall([&] {
        return LoadMesh(Memory, SizeOfMemory, Options, pDevice, ppAdjacency, ppMaterials, pNumMaterials, ppMesh);
    });
}
