#include "platform/d3d8/CSurface8.h"

#include <epoxy/gl.h>

#include <cstring>
#include <mutex>

#include "platform/d3d8/CDirect3DDevice8.h"
#include "platform/d3d8/CFormatInfo.h"
#include "platform/d3d8/CGLState.h"
#include "platform/d3d8/CTextureStorage.h"

CSurface8::CSurface8(CDirect3DDevice8& device, IUnknown& container, CTextureStorage& storage, UINT face, UINT level)
    : m_device(device),
      m_kind(EKind::TextureLevel),
      m_container(&container),
      m_storage(&storage),
      m_face(face),
      m_level(level) {}

CSurface8::CSurface8(CDirect3DDevice8& device, std::unique_ptr<CTextureStorage> storage, D3DPOOL pool)
    : m_device(device),
      m_kind(EKind::TextureLevel),
      m_ownedStorage(std::move(storage)),
      m_pool(pool),
      m_countsAsResource(true) {
    m_storage = m_ownedStorage.get();
    m_device.AttachResource(pool, CTextureStorage::TotalBytes(false, m_storage->Width(0), m_storage->Height(0), 1,
                                                              m_storage->FormatInfo()));
}

CSurface8::CSurface8(CDirect3DDevice8& device, D3DFORMAT format)
    : m_device(device), m_kind(EKind::BackBuffer), m_format(format), m_formatInfo(CFormatInfo::Find(format)) {}

CSurface8::CSurface8(CDirect3DDevice8& device, UINT width, UINT height, const SFormatInfo& format, bool automatic)
    : m_device(device),
      m_kind(EKind::DepthStencil),
      m_automatic(automatic),
      m_countsAsResource(!automatic),
      m_format(format.format),
      m_width(width),
      m_height(height),
      m_formatInfo(&format) {
    if (m_countsAsResource)
        m_device.AttachResource(D3DPOOL_DEFAULT, CFormatInfo::LevelSize(format, width, height));
}

CSurface8::~CSurface8() {
    if (m_renderbuffer)
        m_device.DeleteGLRenderbuffer(m_renderbuffer);
    if (!m_countsAsResource)
        return;
    const UINT64 bytes = m_storage ? CTextureStorage::TotalBytes(false, m_storage->Width(0), m_storage->Height(0), 1,
                                                                 m_storage->FormatInfo())
                                   : CFormatInfo::LevelSize(*m_formatInfo, m_width, m_height);
    const D3DPOOL pool = m_storage ? m_pool : D3DPOOL_DEFAULT;
    m_ownedStorage.reset();
    m_device.DetachResource(pool, bytes);
}

ULONG CSurface8::AddRef() {
    if (m_container)
        return m_container->AddRef();
    return ++m_refCount;
}

ULONG CSurface8::Release() {
    if (m_container)
        return m_container->Release();
    const ULONG remaining = --m_refCount;
    if (remaining == 0)
        delete this;
    return remaining;
}

HRESULT CSurface8::GetDevice(IDirect3DDevice8** ppDevice) {
    if (!ppDevice)
        return D3DERR_INVALIDCALL;
    m_device.AddRef();
    *ppDevice = &m_device;
    return D3D_OK;
}

bool CSurface8::IsRenderTarget() const {
    if (m_kind == EKind::BackBuffer)
        return true;
    return m_kind == EKind::TextureLevel && m_storage->IsRenderTarget();
}

UINT CSurface8::Width() const {
    if (m_kind == EKind::TextureLevel)
        return m_storage->Width(m_level);
    if (m_kind == EKind::BackBuffer)
        return m_device.BackBufferWidth();
    return m_width;
}

UINT CSurface8::Height() const {
    if (m_kind == EKind::TextureLevel)
        return m_storage->Height(m_level);
    if (m_kind == EKind::BackBuffer)
        return m_device.BackBufferHeight();
    return m_height;
}

D3DFORMAT CSurface8::Format() const {
    return m_kind == EKind::TextureLevel ? m_storage->Format() : m_format;
}

HRESULT CSurface8::GetDesc(D3DSURFACE_DESC* pDesc) {
    if (!pDesc)
        return D3DERR_INVALIDCALL;
    if (m_kind == EKind::TextureLevel)
        return m_storage->GetLevelDesc(m_level, pDesc);
    pDesc->Format = m_format;
    pDesc->Type = D3DRTYPE_SURFACE;
    pDesc->Usage = m_kind == EKind::BackBuffer ? D3DUSAGE_RENDERTARGET : D3DUSAGE_DEPTHSTENCIL;
    pDesc->Pool = D3DPOOL_DEFAULT;
    pDesc->Size = m_formatInfo ? CFormatInfo::LevelSize(*m_formatInfo, Width(), Height()) : 0;
    pDesc->MultiSampleType = D3DMULTISAMPLE_NONE;
    pDesc->Width = Width();
    pDesc->Height = Height();
    return D3D_OK;
}

HRESULT CSurface8::LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) {
    std::lock_guard lock(m_device.Mutex());
    switch (m_kind) {
    case EKind::TextureLevel:
        return m_storage->Lock(m_face, m_level, pLockedRect, pRect, Flags);
    case EKind::BackBuffer:
        return LockBackBuffer(pLockedRect, pRect, Flags);
    default:
        return D3DERR_INVALIDCALL;  // depth buffers are not lockable
    }
}

HRESULT CSurface8::UnlockRect() {
    std::lock_guard lock(m_device.Mutex());
    switch (m_kind) {
    case EKind::TextureLevel:
        return m_storage->Unlock(m_face, m_level);
    case EKind::BackBuffer:
        return UnlockBackBuffer();
    default:
        return D3DERR_INVALIDCALL;
    }
}

HRESULT CSurface8::LockBackBuffer(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    if (!locked || m_locked || !m_formatInfo || !m_device.OnGLThread())
        return D3DERR_INVALIDCALL;
    const UINT width = Width(), height = Height();
    RECT area{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->right > area.right || rect->bottom > area.bottom ||
            rect->left >= rect->right || rect->top >= rect->bottom)
            return D3DERR_INVALIDCALL;
        area = *rect;
    }
    const UINT pitch = CFormatInfo::RowPitch(*m_formatInfo, width);
    std::vector<BYTE> bottomUp(static_cast<size_t>(pitch) * height);
    m_device.GLState().BindFramebuffer(m_device.BackBufferFramebufferName());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), m_formatInfo->uploadFormat,
                 m_formatInfo->uploadType, bottomUp.data());
    m_lockCopy.resize(bottomUp.size());
    for (UINT row = 0; row < height; ++row)
        std::memcpy(&m_lockCopy[static_cast<size_t>(row) * pitch],
                    &bottomUp[static_cast<size_t>(height - 1 - row) * pitch], pitch);
    locked->Pitch = static_cast<INT>(pitch);
    locked->pBits = m_lockCopy.data() + static_cast<size_t>(area.top) * pitch +
                    static_cast<size_t>(area.left) * m_formatInfo->bytesPerPixel;
    m_locked = true;
    m_lockWrites = (flags & D3DLOCK_READONLY) == 0;
    return D3D_OK;
}

HRESULT CSurface8::UnlockBackBuffer() {
    if (!m_locked)
        return D3DERR_INVALIDCALL;
    m_locked = false;
    if (!m_lockWrites || !m_device.OnGLThread())
        return D3D_OK;
    // Written pixels go back through a texture blitted with y flipped.
    CGLState& gl = m_device.GLState();
    const auto width = static_cast<GLint>(Width()), height = static_cast<GLint>(Height());
    GLuint texture = 0, framebuffer = 0;
    glGenTextures(1, &texture);
    gl.BindTexture(CGLState::kScratchUnit, GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(m_formatInfo->internalFormat), width, height, 0,
                 m_formatInfo->uploadFormat, m_formatInfo->uploadType, m_lockCopy.data());
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_device.BackBufferFramebufferName());
    gl.Enable(GL_SCISSOR_TEST, false);
    glBlitFramebuffer(0, 0, width, height, 0, height, width, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.ForgetFramebuffer();
    glDeleteFramebuffers(1, &framebuffer);
    gl.ForgetTexture(texture);
    glDeleteTextures(1, &texture);
    return D3D_OK;
}

unsigned CSurface8::PrepareRenderbuffer() {
    if (m_kind != EKind::DepthStencil || m_automatic)
        return 0;
    if (m_renderbuffer == 0) {
        glGenRenderbuffers(1, &m_renderbuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, m_renderbuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, m_formatInfo->internalFormat, static_cast<GLsizei>(m_width),
                              static_cast<GLsizei>(m_height));
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
    }
    return m_renderbuffer;
}
