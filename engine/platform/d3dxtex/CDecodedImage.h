#pragma once
// An image file decoded into A8R8G8B8 surfaces, with what D3DX reports about
// the file (D3DXIMAGE_INFO). The surfaces are empty when only the file's
// description was read.

#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/d3d8/d3d8types.h"
#include "platform/d3dxtex/CPixelImage.h"
#include "platform/d3dxtex/d3dx8texdefs.h"

struct CDecodedImage {
    D3DXIMAGE_FILEFORMAT fileFormat = D3DXIFF_BMP;
    // The file's own texel format (D3DFMT_R8G8B8 for a 24-bit picture,
    // D3DFMT_DXT5, ...).
    D3DFORMAT storedFormat = D3DFMT_UNKNOWN;
    // False when every texel is opaque by construction (no alpha channel).
    bool hasAlpha = false;
    bool isCubeMap = false;
    UINT width = 0;
    UINT height = 0;
    // Mip levels the file stores (1 for every format but DDS).
    UINT levelCount = 0;
    // surfaces[face][level]: one face for a picture, six (+X, -X, +Y, -Y,
    // +Z, -Z) for a cube map; one level unless the file stores a mip chain.
    std::vector<std::vector<CPixelImage>> surfaces;
};
