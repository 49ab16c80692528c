#include "platform/d3dxmesh/CD3DXMesh.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "platform/d3d8/CFvfLayout.h"

namespace {

constexpr DWORD kMax16BitVertices = 65535;

// Copies the elements two vertex formats share from one vertex to another.
void CopyVertex(const CFvfLayout& from, const BYTE* source, const CFvfLayout& to, BYTE* target) {
    auto copy = [&](const SFvfElement& a, const SFvfElement& b) {
        if (a.present && b.present) {
            std::memcpy(target + b.offset, source + a.offset, 4u * std::min(a.components, b.components));
        }
    };
    copy(from.Position(), to.Position());
    copy(from.Normal(), to.Normal());
    copy(from.PointSize(), to.PointSize());
    copy(from.Diffuse(), to.Diffuse());
    copy(from.Specular(), to.Specular());
    for (UINT set = 0; set < 8; ++set) {
        copy(from.TexCoord(set), to.TexCoord(set));
    }
}

}  // namespace

CD3DXMesh::CD3DXMesh(LPDIRECT3DDEVICE8 device, DWORD options, DWORD fvf, DWORD numFaces, DWORD numVertices)
    : m_pDevice(device),
      m_Options(options),
      m_Fvf(fvf),
      m_NumFaces(numFaces),
      m_NumVertices(numVertices),
      m_Stride(CFvfLayout(fvf).Stride()),
      m_Vertices(static_cast<size_t>(m_Stride) * numVertices, 0),
      m_Indices(static_cast<size_t>(numFaces) * 3 * ((options & D3DXMESH_32BIT) != 0 ? 4 : 2), 0),
      m_Attributes(numFaces, 0) {
    if (m_pDevice != nullptr) {
        m_pDevice->AddRef();
    }
}

CD3DXMesh::~CD3DXMesh() {
    if (m_pDevice != nullptr) {
        m_pDevice->Release();
    }
}

HRESULT CD3DXMesh::CheckCreation(DWORD options, DWORD fvf, DWORD numVertices) {
    const CFvfLayout layout(fvf);
    if (!layout.IsValid() || layout.IsPretransformed()) {
        return D3DERR_INVALIDCALL;
    }
    if ((options & D3DXMESH_32BIT) == 0 && numVertices > kMax16BitVertices) {
        return D3DXERR_INVALIDMESH;
    }
    return D3D_OK;
}

HRESULT CD3DXMesh::GetDevice(LPDIRECT3DDEVICE8* ppDevice) {
    if (ppDevice == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppDevice = m_pDevice;
    if (m_pDevice != nullptr) {
        m_pDevice->AddRef();
    }
    return D3D_OK;
}

HRESULT CD3DXMesh::CloneMeshFVF(DWORD Options, DWORD FVF, LPDIRECT3DDEVICE8 pDevice, ID3DXMesh** ppCloneMesh) {
    if (ppCloneMesh == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppCloneMesh = nullptr;
    const HRESULT allowed = CheckCreation(Options, FVF, m_NumVertices);
    if (FAILED(allowed)) {
        return allowed;
    }
    CD3DXMesh* clone = new (std::nothrow) CD3DXMesh(pDevice, Options, FVF, m_NumFaces, m_NumVertices);
    if (clone == nullptr) {
        return E_OUTOFMEMORY;
    }
    const CFvfLayout from(m_Fvf);
    const CFvfLayout to(FVF);
    for (DWORD vertex = 0; vertex < m_NumVertices; ++vertex) {
        CopyVertex(from, m_Vertices.data() + static_cast<size_t>(vertex) * m_Stride, to,
                   clone->m_Vertices.data() + static_cast<size_t>(vertex) * clone->m_Stride);
    }
    for (size_t position = 0; position < static_cast<size_t>(m_NumFaces) * 3; ++position) {
        clone->SetIndex(position, GetIndex(position));
    }
    clone->m_Attributes = m_Attributes;
    clone->m_AttributeTable = m_AttributeTable;
    *ppCloneMesh = clone;
    return D3D_OK;
}

HRESULT CD3DXMesh::LockVertexBuffer(DWORD /*Flags*/, BYTE** ppData) {
    if (ppData == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppData = m_Vertices.data();
    return D3D_OK;
}

HRESULT CD3DXMesh::LockIndexBuffer(DWORD /*Flags*/, BYTE** ppData) {
    if (ppData == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppData = m_Indices.data();
    return D3D_OK;
}

HRESULT CD3DXMesh::GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) {
    if (pAttribTable == nullptr && pAttribTableSize == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (pAttribTable != nullptr) {
        std::copy(m_AttributeTable.begin(), m_AttributeTable.end(), pAttribTable);
    }
    if (pAttribTableSize != nullptr) {
        *pAttribTableSize = static_cast<DWORD>(m_AttributeTable.size());
    }
    return D3D_OK;
}

HRESULT CD3DXMesh::LockAttributeBuffer(DWORD /*Flags*/, DWORD** ppData) {
    if (ppData == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppData = m_Attributes.data();
    return D3D_OK;
}

void CD3DXMesh::SetIndex(size_t position, DWORD vertex) {
    if (Uses32BitIndices()) {
        const std::uint32_t value = vertex;
        std::memcpy(m_Indices.data() + position * 4, &value, 4);
    } else {
        const std::uint16_t value = static_cast<std::uint16_t>(vertex);
        std::memcpy(m_Indices.data() + position * 2, &value, 2);
    }
}

DWORD CD3DXMesh::GetIndex(size_t position) const {
    if (Uses32BitIndices()) {
        std::uint32_t value = 0;
        std::memcpy(&value, m_Indices.data() + position * 4, 4);
        return value;
    }
    std::uint16_t value = 0;
    std::memcpy(&value, m_Indices.data() + position * 2, 2);
    return value;
}
