// The D3DX texture functions: argument handling around CTextureLoader,
// CTextureRequirements and CNormalMapGenerator.

#include "platform/d3dxtex/d3dx8tex.h"

#include <cmath>
#include <new>
#include <string>
#include <vector>

#include "platform/base/GuardedCall.h"
#include "platform/base/WholeFile.h"
#include "platform/d3dxtex/CImageResampler.h"
#include "platform/d3dxtex/CNormalMapGenerator.h"
#include "platform/d3dxtex/CTextureLevelIO.h"
#include "platform/d3dxtex/CTextureLoader.h"
#include "platform/d3dxtex/CTextureRequirements.h"

namespace {

// D3DX's size for a texture nobody gave a size.
constexpr UINT kDefaultEdge = 256;

// Image files larger than this are refused before they are read.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{1} << 30;

HRESULT ReadImageFile(LPCSTR path, std::vector<BYTE>& bytes) {
    switch (ReadWholeFile(path, kMaxFileBytes, bytes)) {
    case EWholeFile::Read:
        return bytes.empty() ? D3DXERR_INVALIDDATA : S_OK;
    case EWholeFile::TooLarge:
        return E_OUTOFMEMORY;
    case EWholeFile::Failed:
        return D3DXERR_INVALIDDATA;
    default:
        return D3DERR_INVALIDCALL;
    }
}

// No format asked for: D3DX then picks A8R8G8B8 for an empty texture.
bool IsUnknownFormat(D3DFORMAT format) {
    return format == D3DFMT_UNKNOWN || static_cast<DWORD>(format) == D3DX_DEFAULT;
}

STextureRequest MakeRequest(UINT width, UINT height, UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            DWORD filter, DWORD mipFilter, D3DCOLOR colorKey) {
    return {width, height, mipLevels, usage, format, pool, filter, mipFilter, colorKey};
}

}  // namespace

// --- requirements -------------------------------------------------------------------

HRESULT D3DXCheckTextureRequirements(LPDIRECT3DDEVICE8 pDevice, UINT* pWidth, UINT* pHeight, UINT* pNumMipLevels,
                                     DWORD Usage, D3DFORMAT* pFormat, D3DPOOL /*Pool*/) {
    if (pDevice == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const CTextureRequirements requirements(pDevice);
    // A missing size follows the other one; with neither, both are 256.
    UINT width = pWidth ? *pWidth : 0;
    UINT height = pHeight ? *pHeight : 0;
    const bool widthMissing = width == 0 || width == D3DX_DEFAULT;
    const bool heightMissing = height == 0 || height == D3DX_DEFAULT;
    if (widthMissing && !heightMissing) {
        width = height;
    } else if (heightMissing && !widthMissing) {
        height = width;
    }
    width = requirements.Edge(width, kDefaultEdge);
    height = requirements.Edge(height, kDefaultEdge);
    if (pWidth) {
        *pWidth = width;
    }
    if (pHeight) {
        *pHeight = height;
    }
    if (pNumMipLevels) {
        *pNumMipLevels = CTextureRequirements::Levels(*pNumMipLevels, width, height, Usage);
    }
    if (pFormat) {
        *pFormat = requirements.Format(*pFormat, Usage, D3DRTYPE_TEXTURE, false, IsUnknownFormat(*pFormat));
    }
    return S_OK;
}

HRESULT D3DXCheckCubeTextureRequirements(LPDIRECT3DDEVICE8 pDevice, UINT* pSize, UINT* pNumMipLevels, DWORD Usage,
                                         D3DFORMAT* pFormat, D3DPOOL /*Pool*/) {
    if (pDevice == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const CTextureRequirements requirements(pDevice);
    const UINT edge = requirements.Edge(pSize ? *pSize : 0, kDefaultEdge);
    if (pSize) {
        *pSize = edge;
    }
    if (pNumMipLevels) {
        *pNumMipLevels = CTextureRequirements::Levels(*pNumMipLevels, edge, edge, Usage);
    }
    if (pFormat) {
        *pFormat = requirements.Format(*pFormat, Usage, D3DRTYPE_CUBETEXTURE, false, IsUnknownFormat(*pFormat));
    }
    return S_OK;
}

// --- empty textures ----------------------------------------------------------------

HRESULT D3DXCreateTexture(LPDIRECT3DDEVICE8 pDevice, UINT Width, UINT Height, UINT MipLevels, DWORD Usage,
                          D3DFORMAT Format, D3DPOOL Pool, LPDIRECT3DTEXTURE8* ppTexture) {
    if (ppTexture != nullptr) {
        *ppTexture = nullptr;
    }
    if (pDevice == nullptr || ppTexture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const HRESULT result = D3DXCheckTextureRequirements(pDevice, &Width, &Height, &MipLevels, Usage, &Format, Pool);
    if (FAILED(result)) {
        return result;
    }
    return pDevice->CreateTexture(Width, Height, MipLevels, Usage, Format, Pool, ppTexture);
}

HRESULT D3DXCreateCubeTexture(LPDIRECT3DDEVICE8 pDevice, UINT Size, UINT MipLevels, DWORD Usage, D3DFORMAT Format,
                              D3DPOOL Pool, LPDIRECT3DCUBETEXTURE8* ppCubeTexture) {
    if (ppCubeTexture != nullptr) {
        *ppCubeTexture = nullptr;
    }
    if (pDevice == nullptr || ppCubeTexture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const HRESULT result = D3DXCheckCubeTextureRequirements(pDevice, &Size, &MipLevels, Usage, &Format, Pool);
    if (FAILED(result)) {
        return result;
    }
    return pDevice->CreateCubeTexture(Size, MipLevels, Usage, Format, Pool, ppCubeTexture);
}

// --- textures from files ---------------------------------------------------------------

HRESULT D3DXCreateTextureFromFileA(LPDIRECT3DDEVICE8 pDevice, LPCSTR pSrcFile, LPDIRECT3DTEXTURE8* ppTexture) {
    return D3DXCreateTextureFromFileExA(pDevice, pSrcFile, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN,
                                        D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, ppTexture);
}

HRESULT D3DXCreateTextureFromFileInMemory(LPDIRECT3DDEVICE8 pDevice, LPCVOID pSrcData, UINT SrcDataSize,
                                          LPDIRECT3DTEXTURE8* ppTexture) {
    return D3DXCreateTextureFromFileInMemoryEx(pDevice, pSrcData, SrcDataSize, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT,
                                               0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                               nullptr, nullptr, ppTexture);
}

HRESULT D3DXCreateTextureFromFileExA(LPDIRECT3DDEVICE8 pDevice, LPCSTR pSrcFile, UINT Width, UINT Height,
                                     UINT MipLevels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, DWORD Filter,
                                     DWORD MipFilter, D3DCOLOR ColorKey, D3DXIMAGE_INFO* pSrcInfo,
                                     PALETTEENTRY* /*pPalette*/, LPDIRECT3DTEXTURE8* ppTexture) {
    if (ppTexture != nullptr) {
        *ppTexture = nullptr;
    }
    if (pDevice == nullptr || ppTexture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    return GuardedCall([&] {
        std::vector<BYTE> bytes;
        const HRESULT result = ReadImageFile(pSrcFile, bytes);
        if (FAILED(result)) {
            return result;
        }
        const STextureRequest request =
            MakeRequest(Width, Height, MipLevels, Usage, Format, Pool, Filter, MipFilter, ColorKey);
        return CTextureLoader(pDevice).LoadTexture(bytes.data(), bytes.size(), request, pSrcInfo, ppTexture);
    });
}

HRESULT D3DXCreateTextureFromFileInMemoryEx(LPDIRECT3DDEVICE8 pDevice, LPCVOID pSrcData, UINT SrcDataSize, UINT Width,
                                            UINT Height, UINT MipLevels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                            DWORD Filter, DWORD MipFilter, D3DCOLOR ColorKey, D3DXIMAGE_INFO* pSrcInfo,
                                            PALETTEENTRY* /*pPalette*/, LPDIRECT3DTEXTURE8* ppTexture) {
    return GuardedCall([&] {
        const STextureRequest request =
            MakeRequest(Width, Height, MipLevels, Usage, Format, Pool, Filter, MipFilter, ColorKey);
        return CTextureLoader(pDevice).LoadTexture(pSrcData, SrcDataSize, request, pSrcInfo, ppTexture);
    });
}

// --- cube textures ------------------------------------------------------------------------

HRESULT D3DXCreateCubeTextureFromFileA(LPDIRECT3DDEVICE8 pDevice, LPCSTR pSrcFile,
                                       LPDIRECT3DCUBETEXTURE8* ppCubeTexture) {
    return D3DXCreateCubeTextureFromFileExA(pDevice, pSrcFile, D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN,
                                            D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                            ppCubeTexture);
}

HRESULT D3DXCreateCubeTextureFromFileInMemory(LPDIRECT3DDEVICE8 pDevice, LPCVOID pSrcData, UINT SrcDataSize,
                                              LPDIRECT3DCUBETEXTURE8* ppCubeTexture) {
    return D3DXCreateCubeTextureFromFileInMemoryEx(pDevice, pSrcData, SrcDataSize, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                                   D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                                   nullptr, nullptr, ppCubeTexture);
}

HRESULT D3DXCreateCubeTextureFromFileExA(LPDIRECT3DDEVICE8 pDevice, LPCSTR pSrcFile, UINT Size, UINT MipLevels,
                                         DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, DWORD Filter, DWORD MipFilter,
                                         D3DCOLOR ColorKey, D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* /*pPalette*/,
                                         LPDIRECT3DCUBETEXTURE8* ppCubeTexture) {
    if (ppCubeTexture != nullptr) {
        *ppCubeTexture = nullptr;
    }
    if (pDevice == nullptr || ppCubeTexture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    return GuardedCall([&] {
        std::vector<BYTE> bytes;
        const HRESULT result = ReadImageFile(pSrcFile, bytes);
        if (FAILED(result)) {
            return result;
        }
        const STextureRequest request =
            MakeRequest(Size, Size, MipLevels, Usage, Format, Pool, Filter, MipFilter, ColorKey);
        return CTextureLoader(pDevice).LoadCubeTexture(bytes.data(), bytes.size(), request, pSrcInfo, ppCubeTexture);
    });
}

HRESULT D3DXCreateCubeTextureFromFileInMemoryEx(LPDIRECT3DDEVICE8 pDevice, LPCVOID pSrcData, UINT SrcDataSize,
                                                UINT Size, UINT MipLevels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                                DWORD Filter, DWORD MipFilter, D3DCOLOR ColorKey,
                                                D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* /*pPalette*/,
                                                LPDIRECT3DCUBETEXTURE8* ppCubeTexture) {
    return GuardedCall([&] {
        const STextureRequest request =
            MakeRequest(Size, Size, MipLevels, Usage, Format, Pool, Filter, MipFilter, ColorKey);
        return CTextureLoader(pDevice).LoadCubeTexture(pSrcData, SrcDataSize, request, pSrcInfo, ppCubeTexture);
    });
}

// --- normal maps -------------------------------------------------------------------------------

HRESULT D3DXComputeNormalMap(LPDIRECT3DTEXTURE8 pTexture, LPDIRECT3DTEXTURE8 pSrcTexture,
                             const PALETTEENTRY* /*pSrcPalette*/, DWORD Flags, DWORD Channel, FLOAT Amplitude) {
    if (pTexture == nullptr || pSrcTexture == nullptr || !CNormalMapGenerator::IsValidChannel(Channel) ||
        !CNormalMapGenerator::AreValidFlags(Flags) || !std::isfinite(Amplitude)) {
        return D3DERR_INVALIDCALL;
    }
    return GuardedCall([&] {
        D3DSURFACE_DESC target{};
        HRESULT result = pTexture->GetLevelDesc(0, &target);
        if (FAILED(result)) {
            return result;
        }
        CPixelImage heights;
        result = CTextureLevelIO::Read(pSrcTexture, 0, heights);
        if (FAILED(result)) {
            return result;
        }
        if (heights.Width() != target.Width || heights.Height() != target.Height) {
            heights = CImageResampler::Resize(heights, target.Width, target.Height, D3DX_FILTER_TRIANGLE);
        }
        const CPixelImage normals = CNormalMapGenerator(Channel, Flags, Amplitude).Generate(heights);
        return CTextureLevelIO::Write(pTexture, 0, normals);
    });
}
