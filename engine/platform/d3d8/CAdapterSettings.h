#pragma once
// What the one adapter reports (display modes, current mode) and the failures
// tests can arrange. Process-wide and thread-safe; the D3D8* hook functions
// of d3d8.h write it, CDirect3D8 reads it.

#include <mutex>
#include <vector>

#include "platform/d3d8/d3d8types.h"

class CAdapterSettings {
public:
    static CAdapterSettings& Instance();

    std::vector<D3DDISPLAYMODE> Modes();
    D3DDISPLAYMODE CurrentMode();
    void SetModes(std::vector<D3DDISPLAYMODE> modes, D3DDISPLAYMODE current);
    void ResetModes();

    void SetFailDirect3DCreate(bool fail);
    bool FailDirect3DCreate();
    void SetFailAdapterDisplayMode(bool fail);
    bool FailAdapterDisplayMode();
    void SetCreateDeviceFailure(HRESULT result, int times);
    // The failure the next CreateDevice must report (S_OK: none); counts it.
    HRESULT TakeCreateDeviceFailure();

    // GL limits seen by the last device, for IDirect3D8::GetDeviceCaps.
    void SetDeviceLimits(int maxTextureSize, float maxPointSize);
    void DeviceLimits(int& maxTextureSize, float& maxPointSize);

private:
    CAdapterSettings();
    static std::vector<D3DDISPLAYMODE> DefaultModes();

    std::mutex m_mutex;
    std::vector<D3DDISPLAYMODE> m_modes;
    D3DDISPLAYMODE m_current{};
    bool m_failCreate = false;
    bool m_failDisplayMode = false;
    HRESULT m_deviceFailure = S_OK;
    int m_deviceFailuresLeft = 0;
    int m_maxTextureSize = 4096;
    float m_maxPointSize = 64.0f;
};
