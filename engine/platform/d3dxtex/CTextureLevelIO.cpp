#include "platform/d3dxtex/CTextureLevelIO.h"

#include "platform/d3dxtex/CTexelConverter.h"

HRESULT CTextureLevelIO::CheckLevel(const D3DSURFACE_DESC& desc, const CPixelImage& image) {
    if (!CTexelConverter::IsSupported(desc.Format) || desc.Width != image.Width() || desc.Height != image.Height()) {
        return D3DERR_INVALIDCALL;
    }
    return S_OK;
}

void CTextureLevelIO::CopyIn(const CPixelImage& image, D3DFORMAT format, const D3DLOCKED_RECT& locked) {
    auto* row = static_cast<BYTE*>(locked.pBits);
    for (UINT y = 0; y < image.Height(); ++y, row += locked.Pitch) {
        CTexelConverter::WriteRow(image.Row(y), image.Width(), format, row);
    }
}

HRESULT CTextureLevelIO::Write(IDirect3DTexture8* texture, UINT level, const CPixelImage& image) {
    D3DSURFACE_DESC desc{};
    HRESULT result = texture->GetLevelDesc(level, &desc);
    if (SUCCEEDED(result)) {
        result = CheckLevel(desc, image);
    }
    D3DLOCKED_RECT locked{};
    if (SUCCEEDED(result)) {
        result = texture->LockRect(level, &locked, nullptr, 0);
    }
    if (SUCCEEDED(result)) {
        CopyIn(image, desc.Format, locked);
        result = texture->UnlockRect(level);
    }
    return result;
}

HRESULT CTextureLevelIO::Write(IDirect3DCubeTexture8* texture, D3DCUBEMAP_FACES face, UINT level,
                               const CPixelImage& image) {
    D3DSURFACE_DESC desc{};
    HRESULT result = texture->GetLevelDesc(level, &desc);
    if (SUCCEEDED(result)) {
        result = CheckLevel(desc, image);
    }
    D3DLOCKED_RECT locked{};
    if (SUCCEEDED(result)) {
        result = texture->LockRect(face, level, &locked, nullptr, 0);
    }
    if (SUCCEEDED(result)) {
        CopyIn(image, desc.Format, locked);
        result = texture->UnlockRect(face, level);
    }
    return result;
}

HRESULT CTextureLevelIO::Read(IDirect3DTexture8* texture, UINT level, CPixelImage& image) {
    D3DSURFACE_DESC desc{};
    HRESULT result = texture->GetLevelDesc(level, &desc);
    if (FAILED(result)) {
        return result;
    }
    if (!CTexelConverter::IsSupported(desc.Format) || desc.Width == 0 || desc.Height == 0) {
        return D3DERR_INVALIDCALL;
    }
    image = CPixelImage(desc.Width, desc.Height);  // before the lock: it may throw
    D3DLOCKED_RECT locked{};
    result = texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY);
    if (FAILED(result)) {
        return result;
    }
    const auto* row = static_cast<const BYTE*>(locked.pBits);
    for (UINT y = 0; y < desc.Height; ++y, row += locked.Pitch) {
        CTexelConverter::ReadRow(row, desc.Width, desc.Format, image.Row(y));
    }
    return texture->UnlockRect(level);
}
