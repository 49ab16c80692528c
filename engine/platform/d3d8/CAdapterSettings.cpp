#include "platform/d3d8/CAdapterSettings.h"

#include "platform/d3d8/d3d8.h"

CAdapterSettings& CAdapterSettings::Instance() {
    static CAdapterSettings settings;
    return settings;
}

CAdapterSettings::CAdapterSettings() {
    ResetModes();
}

std::vector<D3DDISPLAYMODE> CAdapterSettings::DefaultModes() {
    const UINT sizes[][2] = {{640, 480},  {800, 600},   {1024, 768},  {1152, 864}, {1280, 720},
                             {1280, 800}, {1280, 960},  {1280, 1024}, {1366, 768}, {1440, 900},
                             {1600, 900}, {1600, 1200}, {1680, 1050}, {1920, 1080}};
    std::vector<D3DDISPLAYMODE> modes;
    for (const auto& size : sizes)
        modes.push_back({size[0], size[1], 60, D3DFMT_X8R8G8B8});
    return modes;
}

std::vector<D3DDISPLAYMODE> CAdapterSettings::Modes() {
    std::lock_guard lock(m_mutex);
    return m_modes;
}

D3DDISPLAYMODE CAdapterSettings::CurrentMode() {
    std::lock_guard lock(m_mutex);
    return m_current;
}

void CAdapterSettings::SetModes(std::vector<D3DDISPLAYMODE> modes, D3DDISPLAYMODE current) {
    std::lock_guard lock(m_mutex);
    m_modes = std::move(modes);
    m_current = current;
}

void CAdapterSettings::ResetModes() {
    std::lock_guard lock(m_mutex);
    m_modes = DefaultModes();
    m_current = {1920, 1080, 60, D3DFMT_X8R8G8B8};
}

void CAdapterSettings::SetFailDirect3DCreate(bool fail) {
    std::lock_guard lock(m_mutex);
    m_failCreate = fail;
}

bool CAdapterSettings::FailDirect3DCreate() {
    std::lock_guard lock(m_mutex);
    return m_failCreate;
}

void CAdapterSettings::SetFailAdapterDisplayMode(bool fail) {
    std::lock_guard lock(m_mutex);
    m_failDisplayMode = fail;
}

bool CAdapterSettings::FailAdapterDisplayMode() {
    std::lock_guard lock(m_mutex);
    return m_failDisplayMode;
}

void CAdapterSettings::SetCreateDeviceFailure(HRESULT result, int times) {
    std::lock_guard lock(m_mutex);
    m_deviceFailure = result;
    m_deviceFailuresLeft = SUCCEEDED(result) ? 0 : times;
}

HRESULT CAdapterSettings::TakeCreateDeviceFailure() {
    std::lock_guard lock(m_mutex);
    if (m_deviceFailuresLeft == 0)
        return S_OK;
    if (m_deviceFailuresLeft > 0)
        --m_deviceFailuresLeft;
    return m_deviceFailure;
}

void CAdapterSettings::SetDeviceLimits(int maxTextureSize, float maxPointSize) {
    std::lock_guard lock(m_mutex);
    m_maxTextureSize = maxTextureSize;
    m_maxPointSize = maxPointSize;
}

void CAdapterSettings::DeviceLimits(int& maxTextureSize, float& maxPointSize) {
    std::lock_guard lock(m_mutex);
    maxTextureSize = m_maxTextureSize;
    maxPointSize = m_maxPointSize;
}

// --- the hook functions declared in d3d8.h ---------------------------------------------

void D3D8SetAdapterModes(std::vector<D3DDISPLAYMODE> modes, D3DDISPLAYMODE current) {
    CAdapterSettings::Instance().SetModes(std::move(modes), current);
}

void D3D8ResetAdapterModes() {
    CAdapterSettings::Instance().ResetModes();
}

void D3D8FailDirect3DCreate(bool fail) {
    CAdapterSettings::Instance().SetFailDirect3DCreate(fail);
}

void D3D8FailGetAdapterDisplayMode(bool fail) {
    CAdapterSettings::Instance().SetFailAdapterDisplayMode(fail);
}

void D3D8FailCreateDevice(HRESULT result, int times) {
    CAdapterSettings::Instance().SetCreateDeviceFailure(result, times);
}
