#pragma once
// A Direct3D device on a small headless surface, and mesh objects that build
// their buffers on it without a running screen (Init takes the screen's
// device, which tests do not have).

#include <vector>

#include "meshes/CAnimFileMeshObject.h"
#include "meshes/CFileMeshObject.h"
#include "platform/d3d8/d3d8.h"
#include "platform/headless/CHeadlessWindow.h"

class CMeshTestDevice {
public:
    CMeshTestDevice() {
        m_d3d = Direct3DCreate8(D3D_SDK_VERSION);
        if (m_d3d == nullptr)
            return;
        D3DPRESENT_PARAMETERS parameters{};
        parameters.Windowed = TRUE;
        parameters.SwapEffect = D3DSWAPEFFECT_COPY_VSYNC;
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        parameters.EnableAutoDepthStencil = TRUE;
        parameters.AutoDepthStencilFormat = D3DFMT_D16;
        if (FAILED(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &m_window,
                                       D3DCREATE_MIXED_VERTEXPROCESSING | D3DCREATE_MULTITHREADED, &parameters,
                                       &m_device))) {
            m_device = nullptr;
        }
    }
    ~CMeshTestDevice() {
        if (m_device)
            m_device->Release();
        if (m_d3d)
            m_d3d->Release();
    }
    CMeshTestDevice(const CMeshTestDevice&) = delete;
    CMeshTestDevice& operator=(const CMeshTestDevice&) = delete;

    IDirect3DDevice8* Get() const { return m_device; }

private:
    CHeadlessWindow m_window{32, 32};
    IDirect3D8* m_d3d = nullptr;
    IDirect3DDevice8* m_device = nullptr;
};

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
