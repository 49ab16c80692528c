#pragma once
// Moves A8R8G8B8 images into and out of texture levels through LockRect,
// converting to the level's format and honouring its pitch.

#include "platform/d3d8/d3d8.h"
#include "platform/d3dxtex/CPixelImage.h"

class CTextureLevelIO {
public:
    // The image must have the level's size. D3DERR_INVALIDCALL for formats
    // the converter does not handle; lock failures are passed on.
    static HRESULT Write(IDirect3DTexture8* texture, UINT level, const CPixelImage& image);
    static HRESULT Write(IDirect3DCubeTexture8* texture, D3DCUBEMAP_FACES face, UINT level, const CPixelImage& image);
    static HRESULT Read(IDirect3DTexture8* texture, UINT level, CPixelImage& image);

private:
    static HRESULT CheckLevel(const D3DSURFACE_DESC& desc, const CPixelImage& image);
    static void CopyIn(const CPixelImage& image, D3DFORMAT format, const D3DLOCKED_RECT& locked);
};
