#include "platform/d3d8/CCubeTexture8.h"

#include <mutex>

CCubeTexture8::CCubeTexture8(CDirect3DDevice8& device, UINT edgeLength, UINT levels, DWORD usage,
                             const SFormatInfo& format, D3DPOOL pool)
    : CResource8(device, pool, CTextureStorage::TotalBytes(true, edgeLength, edgeLength, levels, format)),
      m_storage(device, true, edgeLength, edgeLength, levels, usage, format, pool) {
    for (UINT face = 0; face < 6; ++face)
        for (UINT level = 0; level < levels; ++level)
            m_surfaces.push_back(std::make_unique<CSurface8>(device, *this, m_storage, face, level));
}

DWORD CCubeTexture8::SetLOD(DWORD lod) {
    const DWORD old = m_lod;
    m_lod = lod;
    return old;
}

HRESULT CCubeTexture8::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) {
    return m_storage.GetLevelDesc(Level, pDesc);
}

HRESULT CCubeTexture8::GetCubeMapSurface(D3DCUBEMAP_FACES FaceType, UINT Level, IDirect3DSurface8** ppCubeMapSurface) {
    if (!ppCubeMapSurface || FaceType > D3DCUBEMAP_FACE_NEGATIVE_Z || Level >= m_storage.Levels())
        return D3DERR_INVALIDCALL;
    *ppCubeMapSurface = m_surfaces[static_cast<size_t>(FaceType) * m_storage.Levels() + Level].get();
    (*ppCubeMapSurface)->AddRef();
    return D3D_OK;
}

HRESULT CCubeTexture8::LockRect(D3DCUBEMAP_FACES FaceType, UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                                DWORD Flags) {
    std::lock_guard lock(Device().Mutex());
    return m_storage.Lock(FaceType, Level, pLockedRect, pRect, Flags);
}

HRESULT CCubeTexture8::UnlockRect(D3DCUBEMAP_FACES FaceType, UINT Level) {
    std::lock_guard lock(Device().Mutex());
    return m_storage.Unlock(FaceType, Level);
}

HRESULT CCubeTexture8::AddDirtyRect(D3DCUBEMAP_FACES, const RECT*) {
    return D3D_OK;
}
