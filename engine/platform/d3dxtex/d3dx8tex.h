#pragma once
// D3DX 8 texture functions on our Direct3D 8 layer: textures and cube
// textures created empty, from image files or from files held in memory, and
// normal maps computed from height maps. Names, argument orders, defaults and
// result codes are D3DX's.
//
// Files: BMP, PNG, JPEG, TGA, GIF (first frame) and DDS
// (2D and cube maps; uncompressed or DXT1/3/5, decompressed on load). A
// damaged or unsupported file gives D3DXERR_INVALIDDATA, a missing file or a
// bad argument D3DERR_INVALIDCALL, an image larger than the device's maximum
// texture size (or 16384 texels) E_OUTOFMEMORY; *ppTexture is then null.
//
// Sizes: D3DX 8 rounded D3DX_DEFAULT sizes up to powers of two because the
// hardware of its day needed them. OpenGL 3.3 textures take any size,
// mipmapped or not, so a D3DX_DEFAULT (or 0) width or height keeps the
// file's size exactly: no resampling blur, and texels locked for writing map
// one to one onto the picture. An explicit size scales the image with
// `Filter`.
//
// Formats: D3DFMT_UNKNOWN picks D3DFMT_A8R8G8B8 for images with alpha and
// D3DFMT_X8R8G8B8 for opaque ones; other requested formats are kept when the
// device supports them and they are uncompressed RGB, luminance or alpha
// formats, else replaced by one of those two. Compressed files are stored
// decompressed. D3DXIMAGE_INFO::Format reports the file's own format.

#include "platform/base/WinTypes.h"
#include "platform/d3d8/d3d8.h"
#include "platform/d3dxtex/d3dx8texdefs.h"

struct D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
};

// --- requirements ---------------------------------------------------------------
// Adjusts the arguments of a texture creation to what the device can create:
// sizes 0/D3DX_DEFAULT become 256 and are clamped to the device's maximum,
// levels 0/D3DX_DEFAULT become the full chain (one level for render targets),
// D3DFMT_UNKNOWN becomes D3DFMT_A8R8G8B8 and unsupported formats the nearest
// supported one. Null pointers are skipped.
HRESULT D3DXCheckTextureRequirements(LPDIRECT3DDEVICE8 pDevice, UINT* pWidth, UINT* pHeight, UINT* pNumMipLevels,
                                     DWORD Usage, D3DFORMAT* pFormat, D3DPOOL Pool);
HRESULT D3DXCheckCubeTextureRequirements(LPDIRECT3DDEVICE8 pDevice, UINT* pSize, UINT* pNumMipLevels, DWORD Usage,
                                         D3DFORMAT* pFormat, D3DPOOL Pool);

// --- empty textures ---------------------------------------------------------------
HRESULT D3DXCreateTexture(LPDIRECT3DDEVICE8 pDevice, UINT Width, UINT Height, UINT MipLevels, DWORD Usage,
                          D3DFORMAT Format, D3DPOOL Pool, LPDIRECT3DTEXTURE8* ppTexture);
HRESULT D3DXCreateCubeTexture(LPDIRECT3DDEVICE8 pDevice, UINT Size, UINT MipLevels, DWORD Usage, D3DFORMAT Format,
                              D3DPOOL Pool, LPDIRECT3DCUBETEXTURE8* ppCubeTexture);

// --- textures from files ------------------------------------------------------------
// The short forms use the file's size, a full mip chain, the file's format,
// D3DPOOL_MANAGED, default filters and no colour key.
HRESULT D3DXCreateTextureFromFileA(LPDIRECT3DDEVICE8 pDevice, LPCSTR pSrcFile, LPDIRECT3DTEXTURE8* ppTexture);
HRESULT D3DXCreateTextureFromFileInMemory(LPDIRECT3DDEVICE8 pDevice, LPCVOID pSrcData, UINT SrcDataSize,
                                          LPDIRECT3DTEXTURE8* ppTexture);

// Width, Height, MipLevels: 0 or D3DX_DEFAULT for the file's (see above).
// Filter (scaling; D3DX_DEFAULT = TRIANGLE | DITHER) and MipFilter
// (D3DX_DEFAULT = BOX): D3DX_FILTER_* values. ColorKey: texels of exactly this
// A8R8G8B8 value become transparent black; 0 disables it. pSrcInfo (may be
// null) receives the file's description. pPalette is only used for
// palettized textures, which this layer never creates.
HRESULT D3DXCreateTextureFromFileExA(LPDIRECT3DDEVICE8 pDevice, LPCSTR pSrcFile, UINT Width, UINT Height,
                                     UINT MipLevels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, DWORD Filter,
                                     DWORD MipFilter, D3DCOLOR ColorKey, D3DXIMAGE_INFO* pSrcInfo,
                                     PALETTEENTRY* pPalette, LPDIRECT3DTEXTURE8* ppTexture);
HRESULT D3DXCreateTextureFromFileInMemoryEx(LPDIRECT3DDEVICE8 pDevice, LPCVOID pSrcData, UINT SrcDataSize, UINT Width,
                                            UINT Height, UINT MipLevels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                            DWORD Filter, DWORD MipFilter, D3DCOLOR ColorKey, D3DXIMAGE_INFO* pSrcInfo,
                                            PALETTEENTRY* pPalette, LPDIRECT3DTEXTURE8* ppTexture);

// --- cube textures from DDS files ------------------------------------------------------
// The file must be a DDS cube map with all six faces (stored +X, -X, +Y, -Y,
// +Z, -Z); any other file gives D3DXERR_INVALIDDATA.
HRESULT D3DXCreateCubeTextureFromFileA(LPDIRECT3DDEVICE8 pDevice, LPCSTR pSrcFile,
                                       LPDIRECT3DCUBETEXTURE8* ppCubeTexture);
HRESULT D3DXCreateCubeTextureFromFileInMemory(LPDIRECT3DDEVICE8 pDevice, LPCVOID pSrcData, UINT SrcDataSize,
                                              LPDIRECT3DCUBETEXTURE8* ppCubeTexture);
HRESULT D3DXCreateCubeTextureFromFileExA(LPDIRECT3DDEVICE8 pDevice, LPCSTR pSrcFile, UINT Size, UINT MipLevels,
                                         DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, DWORD Filter, DWORD MipFilter,
                                         D3DCOLOR ColorKey, D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* pPalette,
                                         LPDIRECT3DCUBETEXTURE8* ppCubeTexture);
HRESULT D3DXCreateCubeTextureFromFileInMemoryEx(LPDIRECT3DDEVICE8 pDevice, LPCVOID pSrcData, UINT SrcDataSize,
                                                UINT Size, UINT MipLevels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                                DWORD Filter, DWORD MipFilter, D3DCOLOR ColorKey,
                                                D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* pPalette,
                                                LPDIRECT3DCUBETEXTURE8* ppCubeTexture);

// --- normal maps ---------------------------------------------------------------------
// Writes level 0 of pTexture with the normal map of level 0 of pSrcTexture
// (both are locked; a source of another size is scaled to pTexture's).
// Channel: D3DX_CHANNEL_* bits naming where the height is read; Flags:
// D3DX_NORMALMAP_* bits; Amplitude scales the heights. Slopes are central
// differences, wrapping at the edges unless a MIRROR flag is given; the
// normal (x, y, z) is packed into red, green and blue, alpha is 255 (or the
// occlusion term with D3DX_NORMALMAP_COMPUTE_OCCLUSION).
HRESULT D3DXComputeNormalMap(LPDIRECT3DTEXTURE8 pTexture, LPDIRECT3DTEXTURE8 pSrcTexture,
                             const PALETTEENTRY* pSrcPalette, DWORD Flags, DWORD Channel, FLOAT Amplitude);
