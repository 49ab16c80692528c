#include "platform/d3d8/CTexture8.h"

#include <mutex>

CTexture8::CTexture8(CDirect3DDevice8& device, UINT width, UINT height, UINT levels, DWORD usage,
                     const SFormatInfo& format, D3DPOOL pool)
    : CResource8(device, pool, CTextureStorage::TotalBytes(false, width, height, levels, format)),
      m_storage(device, false, width, height, levels, usage, format, pool) {
    for (UINT level = 0; level < levels; ++level)
        m_levels.push_back(std::make_unique<CSurface8>(device, *this, m_storage, 0, level));
}

DWORD CTexture8::SetLOD(DWORD lod) {
    const DWORD old = m_lod;
    m_lod = lod;
    return old;
}

HRESULT CTexture8::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) {
    return m_storage.GetLevelDesc(Level, pDesc);
}

HRESULT CTexture8::GetSurfaceLevel(UINT Level, IDirect3DSurface8** ppSurfaceLevel) {
    if (!ppSurfaceLevel || Level >= m_levels.size())
        return D3DERR_INVALIDCALL;
    *ppSurfaceLevel = m_levels[Level].get();
    (*ppSurfaceLevel)->AddRef();
    return D3D_OK;
}

HRESULT CTexture8::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) {
    std::lock_guard lock(Device().Mutex());
    return m_storage.Lock(0, Level, pLockedRect, pRect, Flags);
}

HRESULT CTexture8::UnlockRect(UINT Level) {
    std::lock_guard lock(Device().Mutex());
    return m_storage.Unlock(0, Level);
}

HRESULT CTexture8::AddDirtyRect(const RECT*) {
    return D3D_OK;
}
