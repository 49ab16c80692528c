#pragma once
// Mesh objects that build their buffers on a test's own device
// (CHeadlessDevice) without a running screen (Init takes the screen's device,
// which tests do not have), and copies of those buffers.

#include <vector>

#include "meshes/CAnimFileMeshObject.h"
#include "meshes/CFileMeshObject.h"
#include "platform/d3d8/d3d8.h"

template <class TMesh>
class CTestableMesh : public TMesh {
public:
    bool BuildOn(IDirect3DDevice8* device) {
        this->m_pd3dDevice = device;
        return this->CreateMesh();
    }
    void ShowFrame(float framePosition) { TMesh::ShowFrame(framePosition); }
};

inline std::vector<S3DVERTEX> VerticesOf(CBaseObject& object) {
    DWORD count = 0;
    S3DVERTEX* locked = object.LockVB(count);
    std::vector<S3DVERTEX> copy;
    if (!locked)
        return copy;
    for (DWORD i = 0; i < count; ++i)
        copy.push_back(*object.OffsetVertex(locked, static_cast<int>(i)));
    object.UnlockVB(false, false);
    return copy;
}

inline std::vector<WORD> IndicesOf(CBaseObject& object) {
    DWORD faces = 0;
    WORD* locked = object.LockIB(faces);
    std::vector<WORD> copy;
    if (!locked)
        return copy;
    copy.assign(locked, locked + 3 * faces);
    object.UnlockIB();
    return copy;
}
