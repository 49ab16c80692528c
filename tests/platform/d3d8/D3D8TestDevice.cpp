#include "D3D8TestDevice.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

CD3D8TestDevice::CD3D8TestDevice() {
    m_d3d = Direct3DCreate8(D3D_SDK_VERSION);
    if (!m_d3d)
        return;
    D3DPRESENT_PARAMETERS parameters{};
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_COPY_VSYNC;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    if (FAILED(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &m_window,
                                   D3DCREATE_MIXED_VERTEXPROCESSING | D3DCREATE_MULTITHREADED, &parameters, &m_device)))
        m_device = nullptr;
}

CD3D8TestDevice::~CD3D8TestDevice() {
    if (m_device)
        m_device->Release();
    if (m_d3d)
        m_d3d->Release();
}

void CD3D8TestDevice::PlainState() {
    m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
    const D3DMATRIX identity = IdentityMatrix();
    m_device->SetTransform(D3DTS_WORLD, &identity);
    m_device->SetTransform(D3DTS_VIEW, &identity);
    m_device->SetTransform(D3DTS_PROJECTION, &identity);
    m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    m_device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    m_device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
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
    m_device->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SVertex));
}

bool ColorNear(std::uint32_t actual, std::uint32_t expected, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8) {  // red, green, blue; alpha is not compared
        const int a = static_cast<int>((actual >> shift) & 0xFF), e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance)
            return false;
    }
    return true;
}

std::string ColorText(std::uint32_t argb) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", argb);
    return text;
}

int CountPixels(const std::vector<std::uint32_t>& pixels, std::uint32_t color, int tolerance) {
    int count = 0;
    for (std::uint32_t p : pixels)
        count += ColorNear(p, color, tolerance) ? 1 : 0;
    return count;
}

SPixelBox Silhouette(const std::vector<std::uint32_t>& pixels, std::uint32_t background, int size) {
    SPixelBox box{size, size, -1, -1};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (ColorNear(pixels[static_cast<size_t>(y) * size + x], background, 3))
                continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
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
