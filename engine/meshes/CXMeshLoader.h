#pragma once
// Loader for DirectX ".x" files: D3DX reads the file (all meshes combined,
// one attribute range per material); the loader converts D3DX's mesh and
// materials into an SMesh.

#include "meshes/CMeshLoader.h"

class ID3DXBuffer;
class ID3DXMesh;

class CXMeshLoader : public CMeshLoader {
public:
    explicit CXMeshLoader(CScene* scene = nullptr) : CMeshLoader(scene) {}

    // Ignores reference. Null without a message when D3DX cannot read the
    // file; with one when the file is missing from the scene file being read
    // or the mesh has too many vertices to draw.
    std::unique_ptr<SMesh> Load(CString path, SMesh* reference) override;

private:
    void CopyMaterials(ID3DXBuffer* materials, DWORD count, SMesh& mesh) const;
    static void CopyFaceRanges(ID3DXMesh& mesh, SMesh& out);
    static void CopyGeometry(ID3DXMesh& mesh, SMesh& out);

    CString m_Directory;
};
