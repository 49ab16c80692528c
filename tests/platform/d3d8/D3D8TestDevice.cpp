#include "D3D8TestDevice.h"

#include <cmath>

void CD3D8TestDevice::PlainState() {
    IDirect3DDevice8* device = Get();
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    const D3DMATRIX identity = IdentityMatrix();
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetTransform(D3DTS_VIEW, &identity);
    device->SetTransform(D3DTS_PROJECTION, &identity);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
}

void CD3D8TestDevice::FillRect(float left, float top, float right, float bottom, std::uint32_t color, float z) {
    struct SVertex {
        float x, y, z, rhw;
        DWORD color;
    };
    const SVertex quad[4] = {{left, top, z, 1.0f, color},
                             {right, top, z, 1.0f, color},
                             {left, bottom, z, 1.0f, color},
                             {right, bottom, z, 1.0f, color}};
    Get()->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    Get()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SVertex));
}

D3DMATRIX IdentityMatrix() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

D3DMATRIX PerspectiveFovLH(float fovY, float aspect, float zn, float zf) {
    const float h = 1.0f / std::tan(fovY / 2.0f);
    D3DMATRIX m{};
    m._11 = h / aspect;
    m._22 = h;
    m._33 = zf / (zf - zn);
    m._34 = 1.0f;
    m._43 = -zn * zf / (zf - zn);
    return m;
}

D3DMATRIX TranslationMatrix(float x, float y, float z) {
    D3DMATRIX m = IdentityMatrix();
    m._41 = x;
    m._42 = y;
    m._43 = z;
    return m;
}
