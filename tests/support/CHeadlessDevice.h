#pragma once
// A Direct3D 8 device on a headless surface (Mesa's surfaceless EGL, no X
// server) for the tests that draw or build buffers without a running
// screen: windowed, X8R8G8B8 back buffer with a 16-bit depth buffer.
//
//   CHeadlessDevice device;                // 64 x 64
//   ASSERT_TRUE(device.Valid());
//   device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
//   EXPECT_EQ(device.Pixel(32, 32), 0xFF00FF00u);
//
// Header only, like every helper over the engine's modules: a test links
// the modules it exercises, and the support library stays below them.

#include <cstdint>
#include <vector>

#include "platform/d3d8/d3d8.h"
#include "platform/headless/CHeadlessWindow.h"

class CHeadlessDevice {
public:
    explicit CHeadlessDevice(int width = 64, int height = 64) : m_window(width, height), m_width(width) {
        m_d3d = Direct3DCreate8(D3D_SDK_VERSION);
        if (m_d3d == nullptr) {
            return;
        }
        D3DPRESENT_PARAMETERS parameters{};
        parameters.Windowed = TRUE;
        parameters.SwapEffect = D3DSWAPEFFECT_COPY_VSYNC;
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        parameters.EnableAutoDepthStencil = TRUE;
        parameters.AutoDepthStencilFormat = D3DFMT_D16;
        m_created =
            m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &m_window,
                                D3DCREATE_MIXED_VERTEXPROCESSING | D3DCREATE_MULTITHREADED, &parameters, &m_device);
        if (FAILED(m_created)) {
            m_device = nullptr;
        }
    }
    ~CHeadlessDevice() {
        if (m_device != nullptr) {
            m_device->Release();
        }
        if (m_d3d != nullptr) {
            m_d3d->Release();
        }
    }
    CHeadlessDevice(const CHeadlessDevice&) = delete;
    CHeadlessDevice& operator=(const CHeadlessDevice&) = delete;

    IDirect3DDevice8* operator->() const { return m_device; }
    IDirect3DDevice8* Get() const { return m_device; }
    IDirect3D8* D3D() const { return m_d3d; }
    bool Valid() const { return m_device != nullptr; }
    // What CreateDevice returned (E_FAIL when Direct3D itself is missing).
    HRESULT CreateResult() const { return m_created; }

    // The back buffer, top row first, as 0xAARRGGBB.
    std::vector<std::uint32_t> Pixels() const { return m_window.ReadPixelsARGB(); }
    std::uint32_t Pixel(int x, int y) const { return Pixels()[static_cast<size_t>(y) * m_width + x]; }

private:
    CHeadlessWindow m_window;
    int m_width;
    IDirect3D8* m_d3d = nullptr;
    IDirect3DDevice8* m_device = nullptr;
    HRESULT m_created = E_FAIL;
};
