#include "platform/d3dxtex/CTextureRequirements.h"

#include <algorithm>

#include "platform/d3dxtex/CImageDecoder.h"
#include "platform/d3dxtex/CMipChain.h"
#include "platform/d3dxtex/CTexelConverter.h"
#include "platform/d3dxtex/d3dx8texdefs.h"

CTextureRequirements::CTextureRequirements(IDirect3DDevice8* device) : m_maxEdge(CImageDecoder::kMaxEdge) {
    D3DCAPS8 caps{};
    if (SUCCEEDED(device->GetDeviceCaps(&caps))) {
        // A device that reports no limit keeps ours.
        if (caps.MaxTextureWidth > 0) {
            m_maxEdge = std::min<UINT>(m_maxEdge, caps.MaxTextureWidth);
        }
        if (caps.MaxTextureHeight > 0) {
            m_maxEdge = std::min<UINT>(m_maxEdge, caps.MaxTextureHeight);
        }
    }
    D3DDISPLAYMODE mode{};
    if (SUCCEEDED(device->GetDisplayMode(&mode))) {
        m_adapterFormat = mode.Format;
    }
    if (FAILED(device->GetDirect3D(&m_d3d))) {
        m_d3d = nullptr;
    }
}

CTextureRequirements::~CTextureRequirements() {
    if (m_d3d != nullptr) {
        m_d3d->Release();
    }
}

UINT CTextureRequirements::Edge(UINT requested, UINT fallback) const {
    const UINT edge = requested == 0 || requested == D3DX_DEFAULT ? fallback : requested;
    return std::clamp<UINT>(edge, 1, m_maxEdge);
}

UINT CTextureRequirements::Levels(UINT requested, UINT width, UINT height, DWORD usage) {
    if (usage & D3DUSAGE_RENDERTARGET) {
        return 1;
    }
    const UINT full = CMipChain::FullLevelCount(width, height);
    return requested == 0 || requested == D3DX_DEFAULT ? full : std::min(requested, full);
}

D3DFORMAT CTextureRequirements::Format(D3DFORMAT requested, DWORD usage, D3DRESOURCETYPE type, bool writable,
                                       bool hasAlpha) const {
    const bool unknown = requested == D3DFMT_UNKNOWN || static_cast<DWORD>(requested) == D3DX_DEFAULT;
    const bool alpha = unknown ? hasAlpha : hasAlpha || FormatHasAlpha(requested);
    const D3DFORMAT fallback = alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    D3DFORMAT format = unknown ? fallback : requested;
    if (writable && !CTexelConverter::IsSupported(format)) {
        format = fallback;
    }
    if (!DeviceSupports(format, usage, type)) {
        format = fallback;
    }
    if (format == D3DFMT_X8R8G8B8 && !DeviceSupports(format, usage, type)) {
        format = D3DFMT_A8R8G8B8;  // the format every device has
    }
    return format;
}

bool CTextureRequirements::DeviceSupports(D3DFORMAT format, DWORD usage, D3DRESOURCETYPE type) const {
    if (m_d3d == nullptr) {
        return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8;
    }
    return SUCCEEDED(
        m_d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_adapterFormat, usage, type, format));
}

bool CTextureRequirements::FormatHasAlpha(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_A8:
    case D3DFMT_A8R3G3B2:
    case D3DFMT_A2B10G10R10:
    case D3DFMT_A8P8:
    case D3DFMT_A8L8:
    case D3DFMT_A4L4:
    case D3DFMT_DXT1:
    case D3DFMT_DXT2:
    case D3DFMT_DXT3:
    case D3DFMT_DXT4:
    case D3DFMT_DXT5:
        return true;
    default:
        return false;
    }
}
