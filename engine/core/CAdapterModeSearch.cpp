#include "core/CAdapterModeSearch.h"

#include "core/CEngineLog.h"

CAdapterModeSearch::CAdapterModeSearch(IDirect3D8& d3d, bool log) : m_d3d(d3d), m_bLog(log) {}

bool CAdapterModeSearch::FindFullscreenMode(int width, int height) const {
    if (m_bLog) {
        CEngineLog::Instance().Write("Looking for mode: width=%d height=%d format=%d\n", width, height,
                                     static_cast<int>(D3DFMT_A8R8G8B8));
    }
    if (Offers(width, height, D3DFMT_A8R8G8B8)) {
        return true;
    }
    if (m_bLog) {
        CEngineLog::Instance().Write("Not found so Looking for mode: width=%d height=%d format=%d\n", width, height,
                                     static_cast<int>(D3DFMT_X8R8G8B8));
    }
    return Offers(width, height, D3DFMT_X8R8G8B8);
}

bool CAdapterModeSearch::Offers(int width, int height, D3DFORMAT format) const {
    // Every mode is looked at (and logged), also after a match.
    bool found = false;
    const UINT count = m_d3d.GetAdapterModeCount(D3DADAPTER_DEFAULT);
    for (UINT index = 0; index < count; ++index) {
        D3DDISPLAYMODE mode{};
        m_d3d.EnumAdapterModes(D3DADAPTER_DEFAULT, index, &mode);
        const bool match =
            static_cast<int>(mode.Width) == width && static_cast<int>(mode.Height) == height && mode.Format == format;
        if (m_bLog) {
            CEngineLog::Instance().Write("Mode found: width=%d height=%d format=%d\n", static_cast<int>(mode.Width),
                                         static_cast<int>(mode.Height), static_cast<int>(mode.Format));
            if (match) {
                CEngineLog::Instance().Write("CScreen::InitD3D => Mode Found!\n");
            }
        }
        found = found || match;
    }
    return found;
}
