#pragma once
// ID3DXMesh kept in system memory: vertex bytes in the mesh's vertex format,
// 16- or 32-bit indices, one attribute per face and the attribute table.

#include <vector>

#include "platform/d3d8/CRefCounted8.h"
#include "platform/d3dxmesh/d3dx8mesh.h"

class CD3DXMesh : public CRefCounted8<ID3DXMesh> {
public:
    // Zeroed data for that many faces and vertices. The caller checks that
    // the format is valid and the vertices fit the index size.
    CD3DXMesh(LPDIRECT3DDEVICE8 device, DWORD options, DWORD fvf, DWORD numFaces, DWORD numVertices);
    ~CD3DXMesh() override;
    CD3DXMesh(const CD3DXMesh&) = delete;
    CD3DXMesh& operator=(const CD3DXMesh&) = delete;

    // Whether a mesh of these options, format and vertex count can exist:
    // D3D_OK, D3DERR_INVALIDCALL for a format without position (or
    // pre-transformed), D3DXERR_INVALIDMESH for too many vertices for 16-bit
    // indices.
    static HRESULT CheckCreation(DWORD options, DWORD fvf, DWORD numVertices);

    DWORD GetNumFaces() override { return m_NumFaces; }
    DWORD GetNumVertices() override { return m_NumVertices; }
    DWORD GetFVF() override { return m_Fvf; }
    DWORD GetOptions() override { return m_Options; }
    HRESULT GetDevice(LPDIRECT3DDEVICE8* ppDevice) override;
    HRESULT CloneMeshFVF(DWORD Options, DWORD FVF, LPDIRECT3DDEVICE8 pDevice, ID3DXMesh** ppCloneMesh) override;
    HRESULT LockVertexBuffer(DWORD Flags, BYTE** ppData) override;
    HRESULT UnlockVertexBuffer() override { return D3D_OK; }
    HRESULT LockIndexBuffer(DWORD Flags, BYTE** ppData) override;
    HRESULT UnlockIndexBuffer() override { return D3D_OK; }
    HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) override;
    HRESULT LockAttributeBuffer(DWORD Flags, DWORD** ppData) override;
    HRESULT UnlockAttributeBuffer() override { return D3D_OK; }

    // For the loader that fills a new mesh.
    BYTE* Vertices() { return m_Vertices.data(); }
    UINT Stride() const { return m_Stride; }
    void SetIndex(size_t position, DWORD vertex);
    DWORD GetIndex(size_t position) const;
    std::vector<DWORD>& Attributes() { return m_Attributes; }
    void SetAttributeTable(std::vector<D3DXATTRIBUTERANGE> table) { m_AttributeTable = std::move(table); }

private:
    bool Uses32BitIndices() const { return (m_Options & D3DXMESH_32BIT) != 0; }

    LPDIRECT3DDEVICE8 m_pDevice;
    DWORD m_Options;
    DWORD m_Fvf;
    DWORD m_NumFaces;
    DWORD m_NumVertices;
    UINT m_Stride;
    std::vector<BYTE> m_Vertices;
    std::vector<BYTE> m_Indices;
    std::vector<DWORD> m_Attributes;
    std::vector<D3DXATTRIBUTERANGE> m_AttributeTable;
};
