#pragma once
// The D3DX 8 mesh subset the engine uses to read DirectX ".x" files: the two
// loading functions, ID3DXMesh in system memory (vertex, index and attribute
// data, the attribute table, CloneMeshFVF) and ID3DXBuffer. Names, argument
// orders and result codes are D3DX's.
//
// Files: text, binary and compressed ".x" files (CXFileImporter). Every
// mesh of the file is placed by its frames' transforms and combined into one
// mesh, in D3DX's own conventions (left-handed positions as stored, texture
// v running down, clockwise front faces). Polygons are triangulated and
// corners that agree in every value share a vertex. The faces are ordered
// by material, and the attribute table holds one range per material, in
// material order (a material without faces gets an empty range). The
// materials buffer holds one D3DXMATERIAL per material of the file, texture
// names as stored in the file (null for none); a file without materials
// gives no materials and an empty attribute table.
//
// The vertex format of a loaded mesh is D3DFVF_XYZ, plus D3DFVF_NORMAL,
// D3DFVF_DIFFUSE and D3DFVF_TEX1 when the file has normals, vertex colours
// and texture coordinates.
//
// Result codes: a file that cannot be opened or a null argument
// D3DERR_INVALIDCALL; data that is not a readable ".x" file
// D3DXERR_INVALIDDATA; a file without any triangle
// D3DXERR_LOADEDMESHHASNODATA; more than 65,535 vertices without
// D3DXMESH_32BIT (16-bit indices cannot address them) D3DXERR_INVALIDMESH.
//
// The meshes live in system memory whatever the pool flags say, so the
// device argument is only kept (GetDevice) and may be null.

#include "platform/base/D3DTypes.h"
#include "platform/base/WinTypes.h"
#include "platform/d3d8/d3d8.h"
#include "platform/d3dxtex/d3dx8texdefs.h"

constexpr HRESULT D3DXERR_INVALIDMESH = static_cast<HRESULT>(0x88760B55u);
constexpr HRESULT D3DXERR_LOADEDMESHHASNODATA = static_cast<HRESULT>(0x88760B5Au);

// Mesh creation options.
constexpr DWORD D3DXMESH_32BIT = 0x001;
constexpr DWORD D3DXMESH_DONOTCLIP = 0x002;
constexpr DWORD D3DXMESH_POINTS = 0x004;
constexpr DWORD D3DXMESH_RTPATCHES = 0x008;
constexpr DWORD D3DXMESH_NPATCHES = 0x4000;
constexpr DWORD D3DXMESH_VB_SYSTEMMEM = 0x010;
constexpr DWORD D3DXMESH_VB_MANAGED = 0x020;
constexpr DWORD D3DXMESH_VB_WRITEONLY = 0x040;
constexpr DWORD D3DXMESH_VB_DYNAMIC = 0x080;
constexpr DWORD D3DXMESH_IB_SYSTEMMEM = 0x100;
constexpr DWORD D3DXMESH_IB_MANAGED = 0x200;
constexpr DWORD D3DXMESH_IB_WRITEONLY = 0x400;
constexpr DWORD D3DXMESH_IB_DYNAMIC = 0x800;
constexpr DWORD D3DXMESH_VB_SHARE = 0x1000;
constexpr DWORD D3DXMESH_USEHWONLY = 0x2000;
constexpr DWORD D3DXMESH_SYSTEMMEM = 0x110;
constexpr DWORD D3DXMESH_MANAGED = 0x220;
constexpr DWORD D3DXMESH_WRITEONLY = 0x440;
constexpr DWORD D3DXMESH_DYNAMIC = 0x880;

struct D3DXATTRIBUTERANGE {
    DWORD AttribId;
    DWORD FaceStart;
    DWORD FaceCount;
    DWORD VertexStart;
    DWORD VertexCount;
};

struct D3DXMATERIAL {
    D3DMATERIAL8 MatD3D;
    LPSTR pTextureFilename;  // points into the materials buffer; null for none
};

class ID3DXBuffer : public IUnknown {
public:
    virtual LPVOID GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;
};

class ID3DXMesh;

class ID3DXBaseMesh : public IUnknown {
public:
    virtual DWORD GetNumFaces() = 0;
    virtual DWORD GetNumVertices() = 0;
    virtual DWORD GetFVF() = 0;
    virtual DWORD GetOptions() = 0;
    // The device given at creation (with a reference added), or null.
    virtual HRESULT GetDevice(LPDIRECT3DDEVICE8* ppDevice) = 0;
    // A copy in another vertex format: elements both formats have are copied
    // (texture sets by number, as many components as both hold), the others
    // are zero. Options choose 16- or 32-bit indices (D3DXMESH_32BIT).
    virtual HRESULT CloneMeshFVF(DWORD Options, DWORD FVF, LPDIRECT3DDEVICE8 pDevice, ID3DXMesh** ppCloneMesh) = 0;
    // The data stays valid until the mesh is released; flags are ignored.
    virtual HRESULT LockVertexBuffer(DWORD Flags, BYTE** ppData) = 0;
    virtual HRESULT UnlockVertexBuffer() = 0;
    // 16-bit indices, or 32-bit ones for D3DXMESH_32BIT meshes; three per face.
    virtual HRESULT LockIndexBuffer(DWORD Flags, BYTE** ppData) = 0;
    virtual HRESULT UnlockIndexBuffer() = 0;
    // pAttribTable null: only the number of entries into *pAttribTableSize.
    virtual HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) = 0;
};

class ID3DXMesh : public ID3DXBaseMesh {
public:
    // One attribute (material number) per face.
    virtual HRESULT LockAttributeBuffer(DWORD Flags, DWORD** ppData) = 0;
    virtual HRESULT UnlockAttributeBuffer() = 0;
};

using LPD3DXBUFFER = ID3DXBuffer*;
using LPD3DXMESH = ID3DXMesh*;

HRESULT D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer);

// ppAdjacency (may be null): three DWORDs per face, the face across each
// edge or 0xFFFFFFFF. ppMaterials and pNumMaterials may be null.
HRESULT D3DXLoadMeshFromX(LPCSTR pFilename, DWORD Options, LPDIRECT3DDEVICE8 pDevice, LPD3DXBUFFER* ppAdjacency,
                          LPD3DXBUFFER* ppMaterials, DWORD* pNumMaterials, LPD3DXMESH* ppMesh);
HRESULT D3DXLoadMeshFromXInMemory(const BYTE* Memory, DWORD SizeOfMemory, DWORD Options, LPDIRECT3DDEVICE8 pDevice,
                                  LPD3DXBUFFER* ppAdjacency, LPD3DXBUFFER* ppMaterials, DWORD* pNumMaterials,
                                  LPD3DXMESH* ppMesh);
