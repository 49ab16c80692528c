#pragma once
// Constants and plain structures of the D3DX 8 texture functions that do not
// need the Direct3D 8 interfaces (d3dx8tex.h adds the functions themselves).
// Values are D3DX's own, so code written against D3DX reads the same.

#include "platform/base/WinTypes.h"

// "Choose for me": sizes from the file, full mip chain, default filters.
constexpr UINT D3DX_DEFAULT = static_cast<UINT>(-1);

constexpr HRESULT D3DXERR_INVALIDDATA = static_cast<HRESULT>(0x88760B59u);

// Image filters (low 16 bits pick one; MIRROR and DITHER may be added).
constexpr DWORD D3DX_FILTER_NONE = 1u << 0;
constexpr DWORD D3DX_FILTER_POINT = 2u << 0;
constexpr DWORD D3DX_FILTER_LINEAR = 3u << 0;
constexpr DWORD D3DX_FILTER_TRIANGLE = 4u << 0;
constexpr DWORD D3DX_FILTER_BOX = 5u << 0;
constexpr DWORD D3DX_FILTER_MIRROR_U = 1u << 16;
constexpr DWORD D3DX_FILTER_MIRROR_V = 2u << 16;
constexpr DWORD D3DX_FILTER_MIRROR_W = 4u << 16;
constexpr DWORD D3DX_FILTER_MIRROR = 7u << 16;
constexpr DWORD D3DX_FILTER_DITHER = 8u << 16;

// Channels D3DXComputeNormalMap may take the height from.
constexpr DWORD D3DX_CHANNEL_RED = 1u << 0;
constexpr DWORD D3DX_CHANNEL_BLUE = 1u << 1;
constexpr DWORD D3DX_CHANNEL_GREEN = 1u << 2;
constexpr DWORD D3DX_CHANNEL_ALPHA = 1u << 3;
constexpr DWORD D3DX_CHANNEL_LUMINANCE = 1u << 4;

// D3DXComputeNormalMap flags.
constexpr DWORD D3DX_NORMALMAP_MIRROR_U = 1u << 16;
constexpr DWORD D3DX_NORMALMAP_MIRROR_V = 2u << 16;
constexpr DWORD D3DX_NORMALMAP_MIRROR = 3u << 16;
constexpr DWORD D3DX_NORMALMAP_INVERTSIGN = 8u << 16;
constexpr DWORD D3DX_NORMALMAP_COMPUTE_OCCLUSION = 16u << 16;

enum D3DXIMAGE_FILEFORMAT : DWORD {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
    D3DXIFF_PPM = 5,
    D3DXIFF_DIB = 6,
    // A format D3DX 8 did not read and this layer does (through stb_image).
    D3DXIFF_GIF = 0x100,
    D3DXIFF_FORCE_DWORD = 0x7FFFFFFF
};

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};
