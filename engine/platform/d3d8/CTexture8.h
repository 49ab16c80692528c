#pragma once
// IDirect3DTexture8: a 2D texture with its mip levels.

#include <memory>
#include <vector>

#include "platform/d3d8/CResource8.h"
#include "platform/d3d8/CSurface8.h"
#include "platform/d3d8/CTextureStorage.h"

class CTexture8 final : public CResource8<IDirect3DTexture8> {
public:
    CTexture8(CDirect3DDevice8& device, UINT width, UINT height, UINT levels, DWORD usage, const SFormatInfo& format,
              D3DPOOL pool);

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD SetLOD(DWORD lod) override;
    DWORD GetLOD() override { return m_lod; }
    DWORD GetLevelCount() override { return m_storage.Levels(); }
    HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override;
    HRESULT GetSurfaceLevel(UINT Level, IDirect3DSurface8** ppSurfaceLevel) override;
    HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) override;
    HRESULT UnlockRect(UINT Level) override;
    HRESULT AddDirtyRect(const RECT* pDirtyRect) override;

    CTextureStorage& Storage() { return m_storage; }

private:
    CTextureStorage m_storage;
    std::vector<std::unique_ptr<CSurface8>> m_levels;
    DWORD m_lod = 0;
};
