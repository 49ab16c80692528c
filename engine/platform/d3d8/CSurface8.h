#pragma once
// IDirect3DSurface8 in its four forms:
// - a level (and face) of a texture: shares the texture's reference count;
// - a stand-alone render target or system-memory image: owns its storage;
// - the back buffer: the output window's framebuffer;
// - a depth-stencil buffer: a GL renderbuffer (the automatic one stands for
//   the back buffer's own depth buffer).

#include <atomic>
#include <memory>
#include <vector>

#include "platform/d3d8/d3d8.h"

class CDirect3DDevice8;
class CGLState;
class CTextureStorage;
struct SFormatInfo;

class CSurface8 final : public IDirect3DSurface8 {
public:
    enum class EKind {
        TextureLevel,
        BackBuffer,
        DepthStencil
    };

    // A level of a texture; `container` provides the reference count.
    CSurface8(CDirect3DDevice8& device, IUnknown& container, CTextureStorage& storage, UINT face, UINT level);
    // A stand-alone surface that owns its storage (render target or image).
    CSurface8(CDirect3DDevice8& device, std::unique_ptr<CTextureStorage> storage, D3DPOOL pool);
    // The back buffer (implicit: no device reference).
    CSurface8(CDirect3DDevice8& device, D3DFORMAT format);
    // A depth-stencil buffer; `automatic` marks the back buffer's own.
    CSurface8(CDirect3DDevice8& device, UINT width, UINT height, const SFormatInfo& format, bool automatic);
    ~CSurface8() override;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetDevice(IDirect3DDevice8** ppDevice) override;
    HRESULT GetDesc(D3DSURFACE_DESC* pDesc) override;
    HRESULT LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) override;
    HRESULT UnlockRect() override;

    EKind Kind() const { return m_kind; }
    bool IsRenderTarget() const;
    bool IsAutomaticDepth() const { return m_kind == EKind::DepthStencil && m_automatic; }
    CTextureStorage* Storage() const { return m_storage; }
    UINT Face() const { return m_face; }
    UINT Level() const { return m_level; }
    UINT Width() const;
    UINT Height() const;
    D3DFORMAT Format() const;

    // GL thread: the renderbuffer of a depth-stencil surface, created on demand.
    unsigned PrepareRenderbuffer();

private:
    HRESULT LockBackBuffer(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags);
    HRESULT UnlockBackBuffer();

    CDirect3DDevice8& m_device;
    EKind m_kind;
    IUnknown* m_container = nullptr;
    std::unique_ptr<CTextureStorage> m_ownedStorage;
    CTextureStorage* m_storage = nullptr;
    UINT m_face = 0;
    UINT m_level = 0;
    D3DPOOL m_pool = D3DPOOL_DEFAULT;
    bool m_automatic = false;
    bool m_countsAsResource = false;
    std::atomic<ULONG> m_refCount{1};
    // back buffer and depth-stencil surfaces
    D3DFORMAT m_format = D3DFMT_UNKNOWN;
    UINT m_width = 0;
    UINT m_height = 0;
    const SFormatInfo* m_formatInfo = nullptr;
    unsigned m_renderbuffer = 0;
    std::vector<BYTE> m_lockCopy;
    bool m_locked = false;
    bool m_lockWrites = false;
};
