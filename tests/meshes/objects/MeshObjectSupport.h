#pragma once
// Mesh objects that build their buffers on a test's own device
// (CHeadlessDevice) without a running screen (Init takes the screen's device,
// which tests do not have), and copies of those buffers.

#include <vector>

#include "meshes/CAnimFileMeshObject.h"
#include "meshes/CFileMeshObject.h"
#include "platform/d3d8/d3d8.h"
#include "support/ObjectBuffers.h"

template <class TMesh>
class CTestableMesh : public TMesh {
public:
    bool BuildOn(IDirect3DDevice8* device) {
        this->m_pd3dDevice = device;
        return this->CreateMesh();
    }
    void ShowFrame(float framePosition) { TMesh::ShowFrame(framePosition); }
};
