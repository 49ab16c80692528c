#pragma once
// What a device can create, and the D3DX rules that turn a request into
// arguments it accepts (D3DXCheckTextureRequirements): default and clamped
// sizes, the level count and a supported format.

#include "platform/d3d8/d3d8.h"

class CTextureRequirements {
public:
    explicit CTextureRequirements(IDirect3DDevice8* device);
    ~CTextureRequirements();
    CTextureRequirements(const CTextureRequirements&) = delete;
    CTextureRequirements& operator=(const CTextureRequirements&) = delete;

    // The largest edge a texture may have on this device (at most 16384).
    UINT MaxEdge() const { return m_maxEdge; }

    // 0 and D3DX_DEFAULT give `fallback`; anything is clamped to MaxEdge.
    UINT Edge(UINT requested, UINT fallback) const;
    // 0 and D3DX_DEFAULT give the full chain, as do counts beyond it; render
    // targets get one level.
    static UINT Levels(UINT requested, UINT width, UINT height, DWORD usage);
    // D3DFMT_UNKNOWN (or D3DX_DEFAULT) gives A8R8G8B8, or X8R8G8B8 when
    // `hasAlpha` (the content has alpha) is false. A format the device
    // rejects, or with `writable` one that CTexelConverter cannot fill, is
    // replaced by one of those two: A8R8G8B8 when the format or the content
    // has alpha.
    D3DFORMAT Format(D3DFORMAT requested, DWORD usage, D3DRESOURCETYPE type, bool writable, bool hasAlpha) const;

private:
    bool DeviceSupports(D3DFORMAT format, DWORD usage, D3DRESOURCETYPE type) const;
    static bool FormatHasAlpha(D3DFORMAT format);

    IDirect3D8* m_d3d = nullptr;
    D3DFORMAT m_adapterFormat = D3DFMT_X8R8G8B8;
    UINT m_maxEdge;
};
