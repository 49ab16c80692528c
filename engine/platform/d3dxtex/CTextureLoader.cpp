#include "platform/d3dxtex/CTextureLoader.h"

#include <algorithm>
#include <utility>

#include "platform/d3dxtex/CImageDecoder.h"
#include "platform/d3dxtex/CImageResampler.h"
#include "platform/d3dxtex/CMipChain.h"
#include "platform/d3dxtex/CTextureLevelIO.h"
#include "platform/d3dxtex/CTextureRequirements.h"

HRESULT CTextureLoader::CheckRequest(const STextureRequest& request) {
    if (!CImageResampler::IsValidFilter(request.filter) || !CImageResampler::IsValidFilter(request.mipFilter)) {
        return D3DERR_INVALIDCALL;
    }
    return S_OK;
}

void CTextureLoader::Describe(const CDecodedImage& image, D3DXIMAGE_INFO* info) {
    if (info == nullptr) {
        return;
    }
    info->Width = image.width;
    info->Height = image.height;
    info->Depth = 1;
    info->MipLevels = image.levelCount;
    info->Format = image.storedFormat;
    info->ResourceType = image.isCubeMap ? D3DRTYPE_CUBETEXTURE : D3DRTYPE_TEXTURE;
    info->ImageFileFormat = image.fileFormat;
}

void CTextureLoader::ApplyColorKey(std::vector<CPixelImage>& levels, D3DCOLOR key) {
    if (key == 0) {
        return;
    }
    for (CPixelImage& level : levels) {
        for (UINT y = 0; y < level.Height(); ++y) {
            DWORD* row = level.Row(y);
            std::replace(row, row + level.Width(), static_cast<DWORD>(key), DWORD{0});
        }
    }
}

std::vector<CPixelImage> CTextureLoader::PrepareLevels(std::vector<CPixelImage> fileLevels, UINT width, UINT height,
                                                       UINT levelCount, const STextureRequest& request) {
    ApplyColorKey(fileLevels, request.colorKey);
    // The file's own mip levels only fit when the base keeps its size.
    if (fileLevels[0].Width() != width || fileLevels[0].Height() != height) {
        CPixelImage base = CImageResampler::Resize(fileLevels[0], width, height, request.filter);
        fileLevels.clear();
        fileLevels.push_back(std::move(base));
    }
    return CMipChain::Build(std::move(fileLevels), levelCount, request.mipFilter);
}

// Refuses empty data and requests Direct3D would refuse, then decodes.
HRESULT CTextureLoader::CheckAndDecode(const void* data, std::size_t size, const STextureRequest& request,
                                       const CTextureRequirements& requirements, CDecodedImage& image) {
    if (data == nullptr || size == 0) {
        return D3DERR_INVALIDCALL;
    }
    const HRESULT result = CheckRequest(request);
    if (FAILED(result)) {
        return result;
    }
    return CImageDecoder(requirements.MaxEdge()).Decode(data, size, image);
}

HRESULT CTextureLoader::LoadTexture(const void* data, std::size_t size, const STextureRequest& request,
                                    D3DXIMAGE_INFO* info, IDirect3DTexture8** texture) const {
    if (texture != nullptr) {
        *texture = nullptr;
    }
    if (m_device == nullptr || texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const CTextureRequirements requirements(m_device);
    CDecodedImage image;
    HRESULT result = CheckAndDecode(data, size, request, requirements, image);
    if (FAILED(result)) {
        return result;
    }
    Describe(image, info);

    // A cube map loaded as a plain texture gives its first face (+X).
    const UINT width = requirements.Edge(request.width, image.width);
    const UINT height = requirements.Edge(request.height, image.height);
    const UINT levelCount = CTextureRequirements::Levels(request.mipLevels, width, height, request.usage);
    const D3DFORMAT format = requirements.Format(request.format, request.usage, D3DRTYPE_TEXTURE, true,
                                                 image.hasAlpha || request.colorKey != 0);
    const std::vector<CPixelImage> levels =
        PrepareLevels(std::move(image.surfaces[0]), width, height, levelCount, request);

    IDirect3DTexture8* created = nullptr;
    result = m_device->CreateTexture(width, height, levelCount, request.usage, format, request.pool, &created);
    if (FAILED(result)) {
        return result;
    }
    for (UINT level = 0; level < levelCount && SUCCEEDED(result); ++level) {
        result = CTextureLevelIO::Write(created, level, levels[level]);
    }
    if (FAILED(result)) {
        created->Release();
        return result;
    }
    *texture = created;
    return S_OK;
}

HRESULT CTextureLoader::LoadCubeTexture(const void* data, std::size_t size, const STextureRequest& request,
                                        D3DXIMAGE_INFO* info, IDirect3DCubeTexture8** texture) const {
    if (texture != nullptr) {
        *texture = nullptr;
    }
    if (m_device == nullptr || texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const CTextureRequirements requirements(m_device);
    CDecodedImage image;
    HRESULT result = CheckAndDecode(data, size, request, requirements, image);
    if (FAILED(result)) {
        return result;
    }
    if (!image.isCubeMap) {
        return D3DXERR_INVALIDDATA;
    }
    Describe(image, info);

    const UINT edge = requirements.Edge(request.width, image.width);
    const UINT levelCount = CTextureRequirements::Levels(request.mipLevels, edge, edge, request.usage);
    const D3DFORMAT format = requirements.Format(request.format, request.usage, D3DRTYPE_CUBETEXTURE, true,
                                                 image.hasAlpha || request.colorKey != 0);
    std::vector<std::vector<CPixelImage>> faces;
    for (std::vector<CPixelImage>& fileLevels : image.surfaces) {
        faces.push_back(PrepareLevels(std::move(fileLevels), edge, edge, levelCount, request));
    }

    IDirect3DCubeTexture8* created = nullptr;
    result = m_device->CreateCubeTexture(edge, levelCount, request.usage, format, request.pool, &created);
    if (FAILED(result)) {
        return result;
    }
    for (UINT face = 0; face < faces.size() && SUCCEEDED(result); ++face) {
        for (UINT level = 0; level < levelCount && SUCCEEDED(result); ++level) {
            result = CTextureLevelIO::Write(created, static_cast<D3DCUBEMAP_FACES>(face), level, faces[face][level]);
        }
    }
    if (FAILED(result)) {
        created->Release();
        return result;
    }
    *texture = created;
    return S_OK;
}
