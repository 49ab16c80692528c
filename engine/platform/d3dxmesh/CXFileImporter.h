#pragma once
// Reads a DirectX ".x" file (text, binary or compressed) and gives back what
// D3DXLoadMeshFromX returns: every mesh placed by its frames and combined,
// in the file's own (D3DX's) conventions (left-handed, v down, clockwise
// fronts), faces ordered by material with one attribute range per material.
// The file is parsed into data objects (CXFileParser) and those are turned
// into the mesh (CXFileMeshBuilder); both check every count against the
// data, so that a damaged file is refused, never read past its end.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3dxmesh/d3dx8mesh.h"

struct SXFileMaterial {
    D3DMATERIAL8 material{};
    bool hasTexture = false;
    std::string texture;  // as stored in the file
};

struct SXFileMesh {
    bool hasNormals = false;
    bool hasColours = false;
    bool hasTexCoords = false;
    std::vector<float> positions;        // x, y, z per vertex
    std::vector<float> normals;          // x, y, z per vertex (zero where a mesh has none)
    std::vector<DWORD> colours;          // ARGB per vertex
    std::vector<float> texCoords;        // u, v per vertex
    std::vector<std::uint32_t> indices;  // three per face
    std::vector<DWORD> attributes;       // material per face
    std::vector<D3DXATTRIBUTERANGE> attributeTable;
    std::vector<SXFileMaterial> materials;

    DWORD VertexCount() const { return static_cast<DWORD>(positions.size() / 3); }
    DWORD FaceCount() const { return static_cast<DWORD>(indices.size() / 3); }
};

class CXFileImporter {
public:
    // D3D_OK; D3DXERR_INVALIDDATA when the bytes are not a readable ".x"
    // file; D3DXERR_LOADEDMESHHASNODATA when it holds no triangle.
    static HRESULT Import(const BYTE* data, size_t size, SXFileMesh& mesh);
};
