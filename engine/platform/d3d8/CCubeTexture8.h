#pragma once
// IDirect3DCubeTexture8: six square faces with their mip levels.

#include <memory>
#include <vector>

#include "platform/d3d8/CResource8.h"
#include "platform/d3d8/CSurface8.h"
#include "platform/d3d8/CTextureStorage.h"

class CCubeTexture8 final : public CResource8<IDirect3DCubeTexture8> {
public:
    CCubeTexture8(CDirect3DDevice8& device, UINT edgeLength, UINT levels, DWORD usage, const SFormatInfo& format,
                  D3DPOOL pool);

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_CUBETEXTURE; }
    DWORD SetLOD(DWORD lod) override;
    DWORD GetLOD() override { return m_lod; }
    DWORD GetLevelCount() override { return m_storage.Levels(); }
    HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override;
    HRESULT GetCubeMapSurface(D3DCUBEMAP_FACES FaceType, UINT Level, IDirect3DSurface8** ppCubeMapSurface) override;
    HRESULT LockRect(D3DCUBEMAP_FACES FaceType, UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                     DWORD Flags) override;
    HRESULT UnlockRect(D3DCUBEMAP_FACES FaceType, UINT Level) override;
    HRESULT AddDirtyRect(D3DCUBEMAP_FACES FaceType, const RECT* pDirtyRect) override;

    CTextureStorage& Storage() { return m_storage; }

private:
    CTextureStorage m_storage;
    std::vector<std::unique_ptr<CSurface8>> m_surfaces;  // face * levels + level
    DWORD m_lod = 0;
};
