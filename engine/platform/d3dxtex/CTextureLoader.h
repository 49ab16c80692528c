#pragma once
// Creates textures and cube textures from image files held in memory: decode
// (CImageDecoder), settle size, levels and format (CTextureRequirements),
// apply the colour key, scale, build the mip chain (CMipChain) and fill every
// level (CTextureLevelIO). Any failure releases what was created and leaves
// the output null.

#include <cstddef>
#include <vector>

#include "platform/d3d8/d3d8.h"
#include "platform/d3dxtex/CDecodedImage.h"
#include "platform/d3dxtex/CPixelImage.h"
#include "platform/d3dxtex/d3dx8tex.h"

// The arguments of the D3DXCreate...FromFile...Ex functions.
class CTextureRequirements;

struct STextureRequest {
    UINT width = D3DX_DEFAULT;  // the edge for cube textures
    UINT height = D3DX_DEFAULT;
    UINT mipLevels = D3DX_DEFAULT;
    DWORD usage = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    D3DPOOL pool = D3DPOOL_MANAGED;
    DWORD filter = D3DX_DEFAULT;
    DWORD mipFilter = D3DX_DEFAULT;
    D3DCOLOR colorKey = 0;
};

class CTextureLoader {
public:
    explicit CTextureLoader(IDirect3DDevice8* device) : m_device(device) {}

    HRESULT LoadTexture(const void* data, std::size_t size, const STextureRequest& request, D3DXIMAGE_INFO* info,
                        IDirect3DTexture8** texture) const;
    HRESULT LoadCubeTexture(const void* data, std::size_t size, const STextureRequest& request, D3DXIMAGE_INFO* info,
                            IDirect3DCubeTexture8** texture) const;

private:
    static HRESULT CheckRequest(const STextureRequest& request);
    static HRESULT CheckAndDecode(const void* data, std::size_t size, const STextureRequest& request,
                                  const CTextureRequirements& requirements, CDecodedImage& image);
    static void Describe(const CDecodedImage& image, D3DXIMAGE_INFO* info);
    static void ApplyColorKey(std::vector<CPixelImage>& levels, D3DCOLOR key);
    // The levels of one face at the texture's size.
    static std::vector<CPixelImage> PrepareLevels(std::vector<CPixelImage> fileLevels, UINT width, UINT height,
                                                  UINT levelCount, const STextureRequest& request);

    IDirect3DDevice8* m_device;
};
