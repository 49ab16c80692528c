#include "platform/d3d8/CDirect3DDevice8.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/d3d8/CAdapterSettings.h"
#include "platform/d3d8/CCubeTexture8.h"
#include "platform/d3d8/CDirect3D8.h"
#include "platform/d3d8/CFormatInfo.h"
#include "platform/d3d8/CGLRenderer8.h"
#include "platform/d3d8/CIndexBuffer8.h"
#include "platform/d3d8/CShaderDecoder.h"
#include "platform/d3d8/CStateBlock8.h"
#include "platform/d3d8/CSurface8.h"
#include "platform/d3d8/CTexture8.h"
#include "platform/d3d8/CVertexBuffer8.h"
#include "platform/d3d8/D3D8DirtyFlags.h"
#include "platform/d3d8/D3D8Math.h"
#include "platform/window/COutputWindow.h"

namespace {

// Texture memory reported when the driver does not tell: a modest card's.
constexpr UINT64 kTextureMemoryBudget = 512ull << 20;

template <class T>
void Assign(T*& slot, T* value) {
    if (slot == value)
        return;
    if (value)
        value->AddRef();
    T* old = slot;
    slot = value;
    if (old)
        old->Release();
}

ETextureType TypeOf(IDirect3DBaseTexture8* texture) {
    if (!texture)
        return ETextureType::None;
    return texture->GetType() == D3DRTYPE_CUBETEXTURE ? ETextureType::Cube : ETextureType::Texture2D;
}

UINT VertexCount(D3DPRIMITIVETYPE type, UINT primitives) {
    switch (type) {
    case D3DPT_POINTLIST:
        return primitives;
    case D3DPT_LINELIST:
        return primitives * 2;
    case D3DPT_LINESTRIP:
        return primitives + 1;
    case D3DPT_TRIANGLELIST:
        return primitives * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN:
        return primitives + 2;
    default:
        return 0;
    }
}

}  // namespace

CDirect3DDevice8::CDirect3DDevice8(CDirect3D8& d3d, COutputWindow& window,
                                   const D3DDEVICE_CREATION_PARAMETERS& creation,
                                   const D3DPRESENT_PARAMETERS& parameters)
    : m_d3d(d3d),
      m_window(window),
      m_creation(creation),
      m_parameters(parameters),
      m_glThread(std::this_thread::get_id()) {
    m_d3d.AddRef();
}

HRESULT CDirect3DDevice8::Initialise() {
    if (!m_window.CreateContext())
        return D3DERR_NOTAVAILABLE;
    m_contextCreated = true;
    m_renderer = std::make_unique<CGLRenderer8>(*this);
    if (!m_renderer->Initialise())
        return D3DERR_NOTAVAILABLE;
    ResolveBackBufferSize(m_parameters);
    FillCaps();
    CAdapterSettings::Instance().SetDeviceLimits(m_renderer->MaxTextureSize(), m_renderer->MaxPointSize());
    CreateImplicitSurfaces();
    ResetState();
    m_window.SetSwapInterval(m_parameters.FullScreen_PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
    return D3D_OK;
}

CDirect3DDevice8::~CDirect3DDevice8() {
    if (m_backBuffer)
        m_backBuffer->Release();
    if (m_autoDepth)
        m_autoDepth->Release();
    if (m_contextCreated) {
        if (OnGLThread()) {
            if (m_renderer)
                m_renderer->Shutdown();
            m_window.DestroyContext();
        } else {
            std::fprintf(stderr, "d3d8: device destroyed off its GL thread; its GL context is left alone\n");
        }
    }
    m_renderer.reset();
    m_d3d.Release();
}

void CDirect3DDevice8::OnFinalRelease() {
    {
        std::lock_guard lock(m_mutex);
        ++m_internalRefs;  // keeps the device while its bindings go
        m_publicReleased = true;
        m_recording.reset();
        m_stateBlocks.clear();
        m_state.ReleaseBindings();
        Assign<CSurface8>(m_renderTarget, nullptr);
        Assign<CSurface8>(m_depthStencil, nullptr);
    }
    ReleaseInternal();
}

void CDirect3DDevice8::ReleaseInternal() {
    if (--m_internalRefs == 0 && m_publicReleased)
        delete this;
}

void CDirect3DDevice8::AttachResource(D3DPOOL pool, UINT64 bytes) {
    ++m_internalRefs;
    if (pool == D3DPOOL_DEFAULT)
        ++m_defaultPoolResources;
    m_allocatedBytes += bytes;
}

void CDirect3DDevice8::DetachResource(D3DPOOL pool, UINT64 bytes) {
    if (pool == D3DPOOL_DEFAULT)
        --m_defaultPoolResources;
    m_allocatedBytes -= bytes;
    ReleaseInternal();
}

void CDirect3DDevice8::DeleteGLTexture(unsigned name) {
    std::lock_guard lock(m_mutex);
    if (OnGLThread())
        m_renderer->DeleteNow(CGLRenderer8::EObject::Texture, name);
    else
        m_renderer->QueueDeletion(CGLRenderer8::EObject::Texture, name);
}

void CDirect3DDevice8::DeleteGLBuffer(unsigned name) {
    std::lock_guard lock(m_mutex);
    if (OnGLThread())
        m_renderer->DeleteNow(CGLRenderer8::EObject::Buffer, name);
    else
        m_renderer->QueueDeletion(CGLRenderer8::EObject::Buffer, name);
}

void CDirect3DDevice8::DeleteGLRenderbuffer(unsigned name) {
    std::lock_guard lock(m_mutex);
    if (OnGLThread())
        m_renderer->DeleteNow(CGLRenderer8::EObject::Renderbuffer, name);
    else
        m_renderer->QueueDeletion(CGLRenderer8::EObject::Renderbuffer, name);
}

CGLState& CDirect3DDevice8::GLState() {
    return m_renderer->State();
}

unsigned CDirect3DDevice8::BackBufferFramebufferName() const {
    return m_window.BackBufferFramebuffer();
}

void CDirect3DDevice8::MarkDirty(std::uint32_t bits) {
    m_renderer->MarkDirty(bits);
}

bool CDirect3DDevice8::NeedsGLThread() const {
    if (OnGLThread())
        return false;
    std::fprintf(stderr, "d3d8: a drawing call came from a thread that does not own the GL context\n");
    return true;
}

// --- set-up ----------------------------------------------------------------------------

void CDirect3DDevice8::ResolveBackBufferSize(D3DPRESENT_PARAMETERS& parameters) const {
    const SIZE client = m_window.GetClientSize();
    if (parameters.Windowed || parameters.BackBufferWidth == 0)
        parameters.BackBufferWidth = static_cast<UINT>(std::max<LONG>(client.cx, 1));
    if (parameters.Windowed || parameters.BackBufferHeight == 0)
        parameters.BackBufferHeight = static_cast<UINT>(std::max<LONG>(client.cy, 1));
    if (parameters.BackBufferFormat == D3DFMT_UNKNOWN)
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    if (parameters.BackBufferCount == 0)
        parameters.BackBufferCount = 1;
}

void CDirect3DDevice8::CreateImplicitSurfaces() {
    if (!m_backBuffer)
        m_backBuffer = new CSurface8(*this, m_parameters.BackBufferFormat);
    if (m_autoDepth) {
        m_autoDepth->Release();
        m_autoDepth = nullptr;
    }
    if (m_parameters.EnableAutoDepthStencil) {
        const SFormatInfo* format = CFormatInfo::Find(m_parameters.AutoDepthStencilFormat);
        if (!format || !format->depth)
            format = CFormatInfo::Find(D3DFMT_D24S8);
        m_autoDepth = new CSurface8(*this, m_parameters.BackBufferWidth, m_parameters.BackBufferHeight, *format, true);
    }
}

D3DVIEWPORT8 CDirect3DDevice8::FullViewport(const CSurface8& target) const {
    return D3DVIEWPORT8{0, 0, target.Width(), target.Height(), 0.0f, 1.0f};
}

void CDirect3DDevice8::ResetState() {
    m_state.SetDefaults(m_autoDepth != nullptr, FullViewport(*m_backBuffer));
    Assign(m_renderTarget, m_backBuffer);
    Assign(m_depthStencil, m_autoDepth);
    m_inScene = false;
    MarkDirty(d3d8dirty::kAll);
}

void CDirect3DDevice8::FillCaps() {
    m_caps = CDirect3D8::BuildCaps(m_renderer->MaxTextureSize(), m_renderer->MaxPointSize());
    m_textureMemoryBudget = m_renderer->ReportedFreeTextureMemory();
}

void CDirect3DDevice8::SimulateDeviceLost() {
    std::lock_guard lock(m_mutex);
    m_lost = true;
}

void D3D8SimulateDeviceLost(IDirect3DDevice8* device) {
    if (device)
        static_cast<CDirect3DDevice8*>(device)->SimulateDeviceLost();
}

HRESULT CDirect3DDevice8::FollowWindowSize(D3DPRESENT_PARAMETERS* parameters) {
    std::lock_guard lock(m_mutex);
    if (!m_parameters.Windowed)
        return D3DERR_INVALIDCALL;
    const UINT width = m_parameters.BackBufferWidth;
    const UINT height = m_parameters.BackBufferHeight;
    ResolveBackBufferSize(m_parameters);
    if (m_parameters.BackBufferWidth != width || m_parameters.BackBufferHeight != height) {
        // The automatic depth surface reports (and for texture targets has)
        // the back buffer's size: it is made again at the new one.
        const bool autoDepthBound = m_depthStencil == m_autoDepth;
        CreateImplicitSurfaces();
        if (autoDepthBound)
            Assign(m_depthStencil, m_autoDepth);
        if (m_renderTarget == m_backBuffer)
            m_state.viewport = FullViewport(*m_backBuffer);
        MarkDirty(d3d8dirty::kTarget | d3d8dirty::kViewport | d3d8dirty::kFrame);
    }
    if (parameters) {
        parameters->BackBufferWidth = m_parameters.BackBufferWidth;
        parameters->BackBufferHeight = m_parameters.BackBufferHeight;
    }
    return D3D_OK;
}

HRESULT D3D8FollowWindowSize(IDirect3DDevice8* device, D3DPRESENT_PARAMETERS* parameters) {
    if (!device)
        return D3DERR_INVALIDCALL;
    return static_cast<CDirect3DDevice8*>(device)->FollowWindowSize(parameters);
}

// --- device, presentation -------------------------------------------------------------------

HRESULT CDirect3DDevice8::TestCooperativeLevel() {
    std::lock_guard lock(m_mutex);
    return m_lost ? D3DERR_DEVICENOTRESET : D3D_OK;
}

UINT CDirect3DDevice8::GetAvailableTextureMem() {
    // What the driver reported at start (or a fixed budget) less what we allocated since.
    const UINT64 allocated = m_allocatedBytes;
    const UINT64 budget = m_textureMemoryBudget > 0 ? m_textureMemoryBudget : kTextureMemoryBudget;
    const UINT64 available = allocated < budget ? budget - allocated : 0;
    return static_cast<UINT>(std::min<UINT64>(available, UINT_MAX));
}

HRESULT CDirect3DDevice8::GetDirect3D(IDirect3D8** ppD3D8) {
    if (!ppD3D8)
        return D3DERR_INVALIDCALL;
    m_d3d.AddRef();
    *ppD3D8 = &m_d3d;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetDeviceCaps(D3DCAPS8* pCaps) {
    if (!pCaps)
        return D3DERR_INVALIDCALL;
    *pCaps = m_caps;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* pParameters) {
    if (!pParameters)
        return D3DERR_INVALIDCALL;
    *pParameters = m_creation;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetDisplayMode(D3DDISPLAYMODE* pMode) {
    if (!pMode)
        return D3DERR_INVALIDCALL;
    *pMode = CAdapterSettings::Instance().CurrentMode();
    if (!m_parameters.Windowed) {
        pMode->Width = m_parameters.BackBufferWidth;
        pMode->Height = m_parameters.BackBufferHeight;
    }
    return D3D_OK;
}

HRESULT CDirect3DDevice8::Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) {
    std::lock_guard lock(m_mutex);
    if (!pPresentationParameters)
        return D3DERR_INVALIDCALL;
    // The device lets go of what it has bound; resources the application
    // still holds in the default pool make the reset fail, as on Direct3D.
    m_recording.reset();
    m_state.ReleaseBindings();
    Assign<CSurface8>(m_renderTarget, m_backBuffer);
    Assign<CSurface8>(m_depthStencil, m_autoDepth);
    if (m_defaultPoolResources > 0)
        return D3DERR_INVALIDCALL;
    D3DPRESENT_PARAMETERS parameters = *pPresentationParameters;
    ResolveBackBufferSize(parameters);
    Assign<CSurface8>(m_depthStencil, nullptr);
    m_parameters = parameters;
    CreateImplicitSurfaces();
    ResetState();
    m_window.SetSwapInterval(m_parameters.FullScreen_PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
    pPresentationParameters->BackBufferWidth = m_parameters.BackBufferWidth;
    pPresentationParameters->BackBufferHeight = m_parameters.BackBufferHeight;
    m_lost = false;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::Present(const RECT*, const RECT*, HWND, const RGNDATA*) {
    std::lock_guard lock(m_mutex);
    if (m_lost)
        return D3DERR_DEVICELOST;
    if (NeedsGLThread())
        return D3DERR_INVALIDCALL;
    m_renderer->BeforePresent();
    m_window.Present();
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetBackBuffer(UINT BackBuffer, D3DBACKBUFFER_TYPE, IDirect3DSurface8** ppBackBuffer) {
    if (!ppBackBuffer || BackBuffer != 0)
        return D3DERR_INVALIDCALL;
    m_backBuffer->AddRef();
    *ppBackBuffer = m_backBuffer;
    return D3D_OK;
}

// --- resources --------------------------------------------------------------------------------

HRESULT CDirect3DDevice8::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format,
                                        D3DPOOL Pool, IDirect3DTexture8** ppTexture) {
    if (!ppTexture)
        return D3DERR_INVALIDCALL;
    *ppTexture = nullptr;
    const SFormatInfo* format = CFormatInfo::Find(Format);
    if (Width == 0 || Height == 0 || Width > m_caps.MaxTextureWidth || Height > m_caps.MaxTextureHeight)
        return D3DERR_INVALIDCALL;
    if (!format || format->depth)
        return D3DERR_NOTAVAILABLE;
    const bool renderTarget = (Usage & D3DUSAGE_RENDERTARGET) != 0;
    if (renderTarget && (Pool != D3DPOOL_DEFAULT || !format->renderable))
        return D3DERR_INVALIDCALL;
    const UINT fullChain = CFormatInfo::FullMipCount(Width, Height);
    const UINT levels = Levels == 0 ? fullChain : std::min(Levels, fullChain);
    std::lock_guard lock(m_mutex);
    *ppTexture = new CTexture8(*this, Width, Height, levels, Usage, *format, Pool);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::CreateCubeTexture(UINT EdgeLength, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                            IDirect3DCubeTexture8** ppCubeTexture) {
    if (!ppCubeTexture)
        return D3DERR_INVALIDCALL;
    *ppCubeTexture = nullptr;
    const SFormatInfo* format = CFormatInfo::Find(Format);
    if (EdgeLength == 0 || EdgeLength > m_caps.MaxTextureWidth)
        return D3DERR_INVALIDCALL;
    if (!format || format->depth)
        return D3DERR_NOTAVAILABLE;
    if ((Usage & D3DUSAGE_RENDERTARGET) && (Pool != D3DPOOL_DEFAULT || !format->renderable))
        return D3DERR_INVALIDCALL;
    const UINT fullChain = CFormatInfo::FullMipCount(EdgeLength, EdgeLength);
    const UINT levels = Levels == 0 ? fullChain : std::min(Levels, fullChain);
    std::lock_guard lock(m_mutex);
    *ppCubeTexture = new CCubeTexture8(*this, EdgeLength, levels, Usage, *format, Pool);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                             IDirect3DVertexBuffer8** ppVertexBuffer) {
    if (!ppVertexBuffer)
        return D3DERR_INVALIDCALL;
    *ppVertexBuffer = nullptr;
    if (Length == 0)
        return D3DERR_INVALIDCALL;
    if (FVF != 0) {
        const CFvfLayout layout(FVF);
        if (!layout.IsValid() || Length < layout.Stride())
            return D3DERR_INVALIDCALL;
    }
    std::lock_guard lock(m_mutex);
    *ppVertexBuffer = new CVertexBuffer8(*this, Length, Usage, FVF, Pool);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                            IDirect3DIndexBuffer8** ppIndexBuffer) {
    if (!ppIndexBuffer)
        return D3DERR_INVALIDCALL;
    *ppIndexBuffer = nullptr;
    if (Length == 0 || (Format != D3DFMT_INDEX16 && Format != D3DFMT_INDEX32))
        return D3DERR_INVALIDCALL;
    std::lock_guard lock(m_mutex);
    *ppIndexBuffer = new CIndexBuffer8(*this, Length, Usage, Format, Pool);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::CreateRenderTarget(UINT Width, UINT Height, D3DFORMAT Format, D3DMULTISAMPLE_TYPE, BOOL,
                                             IDirect3DSurface8** ppSurface) {
    if (!ppSurface)
        return D3DERR_INVALIDCALL;
    *ppSurface = nullptr;
    const SFormatInfo* format = CFormatInfo::Find(Format);
    if (Width == 0 || Height == 0 || Width > m_caps.MaxTextureWidth || Height > m_caps.MaxTextureHeight)
        return D3DERR_INVALIDCALL;
    if (!format || !format->renderable || format->depth)
        return D3DERR_NOTAVAILABLE;
    std::lock_guard lock(m_mutex);
    auto storage = std::make_unique<CTextureStorage>(*this, false, Width, Height, 1, D3DUSAGE_RENDERTARGET, *format,
                                                     D3DPOOL_DEFAULT);
    *ppSurface = new CSurface8(*this, std::move(storage), D3DPOOL_DEFAULT);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::CreateDepthStencilSurface(UINT Width, UINT Height, D3DFORMAT Format, D3DMULTISAMPLE_TYPE,
                                                    IDirect3DSurface8** ppSurface) {
    if (!ppSurface)
        return D3DERR_INVALIDCALL;
    *ppSurface = nullptr;
    const SFormatInfo* format = CFormatInfo::Find(Format);
    if (Width == 0 || Height == 0 || Width > m_caps.MaxTextureWidth || Height > m_caps.MaxTextureHeight)
        return D3DERR_INVALIDCALL;
    if (!format || !format->depth)
        return D3DERR_NOTAVAILABLE;
    std::lock_guard lock(m_mutex);
    *ppSurface = new CSurface8(*this, Width, Height, *format, false);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::CreateImageSurface(UINT Width, UINT Height, D3DFORMAT Format, IDirect3DSurface8** ppSurface) {
    if (!ppSurface)
        return D3DERR_INVALIDCALL;
    *ppSurface = nullptr;
    const SFormatInfo* format = CFormatInfo::Find(Format);
    if (Width == 0 || Height == 0)
        return D3DERR_INVALIDCALL;
    if (!format || format->depth)
        return D3DERR_NOTAVAILABLE;
    std::lock_guard lock(m_mutex);
    auto storage = std::make_unique<CTextureStorage>(*this, false, Width, Height, 1, 0, *format, D3DPOOL_SYSTEMMEM);
    *ppSurface = new CSurface8(*this, std::move(storage), D3DPOOL_SYSTEMMEM);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::CopyRects(IDirect3DSurface8* pSourceSurface, const RECT* pSourceRectsArray, UINT cRects,
                                    IDirect3DSurface8* pDestinationSurface, const POINT* pDestPointsArray) {
    std::lock_guard lock(m_mutex);
    auto* source = static_cast<CSurface8*>(pSourceSurface);
    auto* destination = static_cast<CSurface8*>(pDestinationSurface);
    if (!source || !destination || source == destination || source->Format() != destination->Format())
        return D3DERR_INVALIDCALL;
    const SFormatInfo* format = CFormatInfo::Find(source->Format());
    if (!format || format->bytesPerPixel == 0)
        return D3DERR_INVALIDCALL;
    const RECT whole{0, 0, static_cast<LONG>(source->Width()), static_cast<LONG>(source->Height())};
    const UINT count = pSourceRectsArray ? cRects : 1;
    D3DLOCKED_RECT from{}, to{};
    if (FAILED(source->LockRect(&from, nullptr, D3DLOCK_READONLY)))
        return D3DERR_INVALIDCALL;
    if (FAILED(destination->LockRect(&to, nullptr, 0))) {
        source->UnlockRect();
        return D3DERR_INVALIDCALL;
    }
    HRESULT result = D3D_OK;
    for (UINT i = 0; i < count; ++i) {
        const RECT r = pSourceRectsArray ? pSourceRectsArray[i] : whole;
        const POINT at = pDestPointsArray ? pDestPointsArray[i] : POINT{r.left, r.top};
        const LONG width = r.right - r.left, height = r.bottom - r.top;
        if (r.left < 0 || r.top < 0 || width <= 0 || height <= 0 || r.right > whole.right || r.bottom > whole.bottom ||
            at.x < 0 || at.y < 0 || at.x + width > static_cast<LONG>(destination->Width()) ||
            at.y + height > static_cast<LONG>(destination->Height())) {
            result = D3DERR_INVALIDCALL;
            continue;
        }
        for (LONG row = 0; row < height; ++row) {
            const BYTE* src = static_cast<const BYTE*>(from.pBits) + static_cast<size_t>(r.top + row) * from.Pitch +
                              static_cast<size_t>(r.left) * format->bytesPerPixel;
            BYTE* dst = static_cast<BYTE*>(to.pBits) + static_cast<size_t>(at.y + row) * to.Pitch +
                        static_cast<size_t>(at.x) * format->bytesPerPixel;
            std::memcpy(dst, src, static_cast<size_t>(width) * format->bytesPerPixel);
        }
    }
    destination->UnlockRect();
    source->UnlockRect();
    return result;
}

// --- render targets and scenes ---------------------------------------------------------------------

HRESULT CDirect3DDevice8::SetRenderTarget(IDirect3DSurface8* pRenderTarget, IDirect3DSurface8* pNewZStencil) {
    std::lock_guard lock(m_mutex);
    auto* target = pRenderTarget ? static_cast<CSurface8*>(pRenderTarget) : m_renderTarget;
    auto* depth = static_cast<CSurface8*>(pNewZStencil);
    if (!target->IsRenderTarget())
        return D3DERR_INVALIDCALL;
    if (depth && (depth->Kind() != CSurface8::EKind::DepthStencil || depth->Width() < target->Width() ||
                  depth->Height() < target->Height()))
        return D3DERR_INVALIDCALL;
    Assign(m_renderTarget, target);
    Assign(m_depthStencil, depth);
    m_state.viewport = FullViewport(*target);
    MarkDirty(d3d8dirty::kTarget | d3d8dirty::kViewport | d3d8dirty::kFrame | d3d8dirty::kRaster |
              d3d8dirty::kMaterial);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetRenderTarget(IDirect3DSurface8** ppRenderTarget) {
    std::lock_guard lock(m_mutex);
    if (!ppRenderTarget)
        return D3DERR_INVALIDCALL;
    m_renderTarget->AddRef();
    *ppRenderTarget = m_renderTarget;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetDepthStencilSurface(IDirect3DSurface8** ppZStencilSurface) {
    std::lock_guard lock(m_mutex);
    if (!ppZStencilSurface)
        return D3DERR_INVALIDCALL;
    *ppZStencilSurface = m_depthStencil;
    if (!m_depthStencil)
        return D3DERR_NOTFOUND;
    m_depthStencil->AddRef();
    return D3D_OK;
}

HRESULT CDirect3DDevice8::BeginScene() {
    std::lock_guard lock(m_mutex);
    if (m_inScene)
        return D3DERR_INVALIDCALL;
    m_inScene = true;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::EndScene() {
    std::lock_guard lock(m_mutex);
    if (!m_inScene)
        return D3DERR_INVALIDCALL;
    m_inScene = false;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                                DWORD Stencil) {
    std::lock_guard lock(m_mutex);
    if (NeedsGLThread())
        return D3DERR_INVALIDCALL;
    if ((Flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !m_depthStencil)
        return D3DERR_INVALIDCALL;
    if (Count > 0 && !pRects)
        return D3DERR_INVALIDCALL;
    m_renderer->Clear(Count, pRects, Flags, Color, Z, Stencil);
    return D3D_OK;
}

// --- states ---------------------------------------------------------------------------------

HRESULT CDirect3DDevice8::SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) {
    std::lock_guard lock(m_mutex);
    D3DMATRIX* slot = m_state.Transform(State);
    if (!pMatrix || !slot)
        return D3DERR_INVALIDCALL;
    if (m_recording) {
        m_recording->RecordTransform(State, *pMatrix);
        return D3D_OK;
    }
    *slot = *pMatrix;
    const DWORD t = State;
    if (t >= D3DTS_TEXTURE0 && t <= D3DTS_TEXTURE7)
        MarkDirty(d3d8dirty::kTextureMatrices);
    else if (t == D3DTS_VIEW)
        MarkDirty(d3d8dirty::kTransforms | d3d8dirty::kLights);
    else
        MarkDirty(d3d8dirty::kTransforms);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) {
    std::lock_guard lock(m_mutex);
    const D3DMATRIX* slot = m_state.Transform(State);
    if (!pMatrix || !slot)
        return D3DERR_INVALIDCALL;
    *pMatrix = *slot;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::MultiplyTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) {
    std::lock_guard lock(m_mutex);
    const D3DMATRIX* slot = m_state.Transform(State);
    if (!pMatrix || !slot)
        return D3DERR_INVALIDCALL;
    const D3DMATRIX product = d3d8math::Multiply(*pMatrix, *slot);
    return SetTransform(State, &product);
}

HRESULT CDirect3DDevice8::SetViewport(const D3DVIEWPORT8* pViewport) {
    std::lock_guard lock(m_mutex);
    if (!pViewport || pViewport->Width == 0 || pViewport->Height == 0 ||
        static_cast<UINT64>(pViewport->X) + pViewport->Width > m_renderTarget->Width() ||
        static_cast<UINT64>(pViewport->Y) + pViewport->Height > m_renderTarget->Height())
        return D3DERR_INVALIDCALL;
    if (m_recording) {
        m_recording->RecordViewport(*pViewport);
        return D3D_OK;
    }
    m_state.viewport = *pViewport;
    MarkDirty(d3d8dirty::kViewport | d3d8dirty::kFrame | d3d8dirty::kMaterial);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetViewport(D3DVIEWPORT8* pViewport) {
    std::lock_guard lock(m_mutex);
    if (!pViewport)
        return D3DERR_INVALIDCALL;
    *pViewport = m_state.viewport;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::SetMaterial(const D3DMATERIAL8* pMaterial) {
    std::lock_guard lock(m_mutex);
    if (!pMaterial)
        return D3DERR_INVALIDCALL;
    if (m_recording) {
        m_recording->RecordMaterial(*pMaterial);
        return D3D_OK;
    }
    m_state.material = *pMaterial;
    MarkDirty(d3d8dirty::kMaterial);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetMaterial(D3DMATERIAL8* pMaterial) {
    std::lock_guard lock(m_mutex);
    if (!pMaterial)
        return D3DERR_INVALIDCALL;
    *pMaterial = m_state.material;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::SetLight(DWORD Index, const D3DLIGHT8* pLight) {
    std::lock_guard lock(m_mutex);
    if (!pLight || pLight->Type < D3DLIGHT_POINT || pLight->Type > D3DLIGHT_DIRECTIONAL || pLight->Range < 0.0f)
        return D3DERR_INVALIDCALL;
    if (m_recording) {
        m_recording->RecordLight(Index, *pLight);
        return D3D_OK;
    }
    SLightSlot& slot = m_state.lights[Index];
    if (slot.enabled && slot.light.Type != pLight->Type)
        MarkDirty(d3d8dirty::kProgram);
    slot.light = *pLight;
    MarkDirty(d3d8dirty::kLights);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetLight(DWORD Index, D3DLIGHT8* pLight) {
    std::lock_guard lock(m_mutex);
    auto found = m_state.lights.find(Index);
    if (!pLight || found == m_state.lights.end())
        return D3DERR_INVALIDCALL;
    *pLight = found->second.light;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::LightEnable(DWORD Index, BOOL Enable) {
    std::lock_guard lock(m_mutex);
    if (m_recording) {
        m_recording->RecordLightEnable(Index, Enable != FALSE);
        return D3D_OK;
    }
    auto found = m_state.lights.find(Index);
    if (found == m_state.lights.end()) {
        // Enabling a light never set gives Direct3D's default light: white,
        // directional, shining along +z.
        SLightSlot slot;
        slot.light.Type = D3DLIGHT_DIRECTIONAL;
        slot.light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
        slot.light.Direction = {0.0f, 0.0f, 1.0f};
        found = m_state.lights.emplace(Index, slot).first;
    }
    if (found->second.enabled == (Enable != FALSE))
        return D3D_OK;
    found->second.enabled = Enable != FALSE;
    MarkDirty(d3d8dirty::kProgram | d3d8dirty::kLights);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetLightEnable(DWORD Index, BOOL* pEnable) {
    std::lock_guard lock(m_mutex);
    auto found = m_state.lights.find(Index);
    if (!pEnable || found == m_state.lights.end())
        return D3DERR_INVALIDCALL;
    *pEnable = found->second.enabled ? TRUE : FALSE;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) {
    std::lock_guard lock(m_mutex);
    if (State >= D3D8_RENDERSTATE_COUNT)
        return D3DERR_INVALIDCALL;
    if (m_recording) {
        m_recording->RecordRenderState(State, Value);
        return D3D_OK;
    }
    if (m_state.renderStates[State] == Value)
        return D3D_OK;
    m_state.renderStates[State] = Value;
    MarkDirty(d3d8dirty::ForRenderState(State));
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) {
    std::lock_guard lock(m_mutex);
    if (!pValue || State >= D3D8_RENDERSTATE_COUNT)
        return D3DERR_INVALIDCALL;
    *pValue = m_state.renderStates[State];
    return D3D_OK;
}

HRESULT CDirect3DDevice8::BeginStateBlock() {
    std::lock_guard lock(m_mutex);
    if (m_recording)
        return D3DERR_INVALIDCALL;
    m_recording = std::make_unique<CStateBlock8>();
    return D3D_OK;
}

HRESULT CDirect3DDevice8::EndStateBlock(DWORD* pToken) {
    std::lock_guard lock(m_mutex);
    if (!pToken || !m_recording)
        return D3DERR_INVALIDCALL;
    *pToken = m_nextStateBlock++;
    m_stateBlocks[*pToken] = std::move(m_recording);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::ApplyStateBlock(DWORD Token) {
    std::lock_guard lock(m_mutex);
    auto found = m_stateBlocks.find(Token);
    if (found == m_stateBlocks.end() || m_recording)
        return D3DERR_INVALIDCALL;
    found->second->Apply(*this);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::CaptureStateBlock(DWORD Token) {
    std::lock_guard lock(m_mutex);
    auto found = m_stateBlocks.find(Token);
    if (found == m_stateBlocks.end() || m_recording)
        return D3DERR_INVALIDCALL;
    found->second->Capture(m_state);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::DeleteStateBlock(DWORD Token) {
    std::lock_guard lock(m_mutex);
    if (m_stateBlocks.erase(Token) == 0)
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::CreateStateBlock(D3DSTATEBLOCKTYPE Type, DWORD* pToken) {
    std::lock_guard lock(m_mutex);
    if (!pToken || m_recording)
        return D3DERR_INVALIDCALL;
    std::unique_ptr<CStateBlock8> block = CStateBlock8::Create(Type, m_state);
    if (!block)
        return D3DERR_INVALIDCALL;
    *pToken = m_nextStateBlock++;
    m_stateBlocks[*pToken] = std::move(block);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetTexture(DWORD Stage, IDirect3DBaseTexture8** ppTexture) {
    std::lock_guard lock(m_mutex);
    if (!ppTexture || Stage >= D3D8_MAX_TEXTURE_STAGES)
        return D3DERR_INVALIDCALL;
    *ppTexture = m_state.textures[Stage];
    if (*ppTexture)
        (*ppTexture)->AddRef();
    return D3D_OK;
}

void CDirect3DDevice8::MarkTextureChanged(DWORD, IDirect3DBaseTexture8* oldTexture, IDirect3DBaseTexture8* newTexture) {
    std::uint32_t bits = d3d8dirty::kTextures;
    if (TypeOf(oldTexture) != TypeOf(newTexture))
        bits |= d3d8dirty::kProgram;
    MarkDirty(bits);
}

HRESULT CDirect3DDevice8::SetTexture(DWORD Stage, IDirect3DBaseTexture8* pTexture) {
    std::lock_guard lock(m_mutex);
    if (Stage >= D3D8_MAX_TEXTURE_STAGES)
        return D3DERR_INVALIDCALL;
    if (m_recording) {
        m_recording->RecordTexture(Stage, pTexture);
        return D3D_OK;
    }
    IDirect3DBaseTexture8* old = m_state.textures[Stage];
    if (old == pTexture)
        return D3D_OK;
    MarkTextureChanged(Stage, old, pTexture);
    m_state.BindTexture(Stage, pTexture);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue) {
    std::lock_guard lock(m_mutex);
    if (!pValue || Stage >= D3D8_MAX_TEXTURE_STAGES || Type >= D3D8_TEXTURESTAGESTATE_COUNT)
        return D3DERR_INVALIDCALL;
    *pValue = m_state.stageStates[Stage][Type];
    return D3D_OK;
}

HRESULT CDirect3DDevice8::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) {
    std::lock_guard lock(m_mutex);
    if (Stage >= D3D8_MAX_TEXTURE_STAGES || Type >= D3D8_TEXTURESTAGESTATE_COUNT)
        return D3DERR_INVALIDCALL;
    if (m_recording) {
        m_recording->RecordStageState(Stage, Type, Value);
        return D3D_OK;
    }
    if (m_state.stageStates[Stage][Type] == Value)
        return D3D_OK;
    m_state.stageStates[Stage][Type] = Value;
    MarkDirty(d3d8dirty::ForStageState(Type));
    return D3D_OK;
}

HRESULT CDirect3DDevice8::ValidateDevice(DWORD* pNumPasses) {
    if (!pNumPasses)
        return D3DERR_INVALIDCALL;
    *pNumPasses = 1;
    return D3D_OK;
}

// --- drawing -----------------------------------------------------------------------------------

HRESULT CDirect3DDevice8::CheckDraw(D3DPRIMITIVETYPE type, UINT primitiveCount) const {
    if (type < D3DPT_POINTLIST || type > D3DPT_TRIANGLEFAN || primitiveCount == 0)
        return D3DERR_INVALIDCALL;
    if (NeedsGLThread())
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) {
    std::lock_guard lock(m_mutex);
    const HRESULT check = CheckDraw(PrimitiveType, PrimitiveCount);
    if (FAILED(check))
        return check;
    const SStreamSource& stream = m_state.streams[0];
    const UINT vertices = VertexCount(PrimitiveType, PrimitiveCount);
    if (!stream.buffer || stream.stride == 0)
        return D3DERR_INVALIDCALL;
    const UINT size = static_cast<CVertexBuffer8*>(stream.buffer)->Storage().Size();
    if ((static_cast<UINT64>(StartVertex) + vertices) * stream.stride > size)
        return D3DERR_INVALIDCALL;
    return m_renderer->Draw(PrimitiveType, StartVertex, vertices);
}

HRESULT CDirect3DDevice8::DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT MinIndex, UINT NumVertices,
                                               UINT StartIndex, UINT PrimitiveCount) {
    std::lock_guard lock(m_mutex);
    const HRESULT check = CheckDraw(PrimitiveType, PrimitiveCount);
    if (FAILED(check))
        return check;
    const SStreamSource& stream = m_state.streams[0];
    if (!m_state.indices || !stream.buffer || stream.stride == 0)
        return D3DERR_INVALIDCALL;
    // The vertices the caller says the indices use must lie inside the buffer.
    const UINT64 lastVertex = static_cast<UINT64>(m_state.baseVertexIndex) + MinIndex + NumVertices;
    if (lastVertex * stream.stride > static_cast<CVertexBuffer8*>(stream.buffer)->Storage().Size())
        return D3DERR_INVALIDCALL;
    return m_renderer->DrawIndexed(PrimitiveType, StartIndex, VertexCount(PrimitiveType, PrimitiveCount));
}

HRESULT CDirect3DDevice8::DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                          const void* pVertexStreamZeroData, UINT VertexStreamZeroStride) {
    std::lock_guard lock(m_mutex);
    const HRESULT check = CheckDraw(PrimitiveType, PrimitiveCount);
    if (FAILED(check))
        return check;
    if (!pVertexStreamZeroData || VertexStreamZeroStride == 0)
        return D3DERR_INVALIDCALL;
    const HRESULT result = m_renderer->DrawUser(PrimitiveType, VertexCount(PrimitiveType, PrimitiveCount),
                                                pVertexStreamZeroData, VertexStreamZeroStride, nullptr, 0, 0);
    // Direct3D forgets stream 0 after drawing from user memory.
    m_state.BindStream(0, nullptr, 0);
    return result;
}

HRESULT CDirect3DDevice8::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT MinVertexIndex,
                                                 UINT NumVertexIndices, UINT PrimitiveCount, const void* pIndexData,
                                                 D3DFORMAT IndexDataFormat, const void* pVertexStreamZeroData,
                                                 UINT VertexStreamZeroStride) {
    std::lock_guard lock(m_mutex);
    const HRESULT check = CheckDraw(PrimitiveType, PrimitiveCount);
    if (FAILED(check))
        return check;
    if (!pIndexData || !pVertexStreamZeroData || VertexStreamZeroStride == 0 ||
        (IndexDataFormat != D3DFMT_INDEX16 && IndexDataFormat != D3DFMT_INDEX32))
        return D3DERR_INVALIDCALL;
    const UINT indexSize = IndexDataFormat == D3DFMT_INDEX32 ? 4 : 2;
    const HRESULT result =
        m_renderer->DrawUser(PrimitiveType, MinVertexIndex + NumVertexIndices, pVertexStreamZeroData,
                             VertexStreamZeroStride, pIndexData, VertexCount(PrimitiveType, PrimitiveCount), indexSize);
    // Direct3D forgets stream 0 and the indices after drawing from user memory.
    m_state.BindStream(0, nullptr, 0);
    m_state.BindIndices(nullptr, 0);
    return result;
}

// --- shaders ----------------------------------------------------------------------------------

namespace {

// Longest token stream read from a function or declaration pointer: the API
// gives no length, the end token ends it; far more than a 1.1 shader needs.
constexpr std::size_t kMaxShaderTokens = 1u << 16;

// Whether registers first .. first + count - 1 exist (count 0 is a no-op).
bool ConstantRangeFits(DWORD first, DWORD count, DWORD registers) {
    return first <= registers && count <= registers - first;
}

}  // namespace

HRESULT CDirect3DDevice8::CreateVertexShader(const DWORD* pDeclaration, const DWORD* pFunction, DWORD* pHandle,
                                             DWORD Usage) {
    std::lock_guard lock(m_mutex);
    if (!pHandle)
        return D3DERR_INVALIDCALL;
    *pHandle = 0;
    // A declaration without a function (fixed-function processing of
    // declared data) is not offered: flexible vertex formats do that.
    if (!pDeclaration || !pFunction || (Usage & ~D3DUSAGE_SOFTWAREPROCESSING) != 0)
        return D3DERR_INVALIDCALL;
    auto shader = std::make_shared<SVertexShaderObject>();
    std::string reason;
    if (FAILED(shader->declaration.Parse(pDeclaration, kMaxShaderTokens, &reason)) ||
        FAILED(CShaderDecoder::Decode(pFunction, kMaxShaderTokens, EShaderKind::Vertex, shader->program, &reason))) {
        std::fprintf(stderr, "d3d8: vertex shader refused: %s\n", reason.c_str());
        return D3DERR_INVALIDCALL;
    }
    if ((shader->declaration.StreamMask() & ~1u) != 0) {
        std::fprintf(stderr, "d3d8: vertex shader refused: only stream 0 is supported\n");
        return D3DERR_INVALIDCALL;
    }
    *pHandle = m_shaders.AddVertexShader(std::move(shader));
    return *pHandle ? D3D_OK : D3DERR_OUTOFVIDEOMEMORY;
}

HRESULT CDirect3DDevice8::SetVertexShader(DWORD Handle) {
    std::lock_guard lock(m_mutex);
    const std::shared_ptr<const SVertexShaderObject> shader =
        D3D8IsShaderHandle(Handle) ? m_shaders.VertexShader(Handle) : nullptr;
    if (D3D8IsShaderHandle(Handle) && !shader)
        return D3DERR_INVALIDCALL;
    if (m_recording) {
        m_recording->RecordVertexShader(Handle);
        return D3D_OK;
    }
    if (shader)
        LoadDeclaredConstants(shader->declaration);
    if (m_state.vertexShader == Handle)
        return D3D_OK;
    m_state.vertexShader = Handle;
    MarkDirty(d3d8dirty::kProgram | d3d8dirty::kVertexInput);
    return D3D_OK;
}

// Constants in a declaration are loaded each time its shader is set.
void CDirect3DDevice8::LoadDeclaredConstants(const CVertexDeclaration& declaration) {
    for (const SVertexConstantLoad& load : declaration.ConstantLoads()) {
        for (std::size_t i = 0; i < load.values.size(); ++i)
            std::memcpy(m_state.vertexShaderConstants[load.address + i], load.values[i].data(), sizeof(float[4]));
        MarkDirty(d3d8dirty::kVertexShaderConstants);
    }
}

HRESULT CDirect3DDevice8::GetVertexShader(DWORD* pHandle) {
    std::lock_guard lock(m_mutex);
    if (!pHandle)
        return D3DERR_INVALIDCALL;
    *pHandle = m_state.vertexShader;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::DeleteVertexShader(DWORD Handle) {
    std::lock_guard lock(m_mutex);
    if (!D3D8IsShaderHandle(Handle) || !m_shaders.RemoveVertexShader(Handle))
        return D3DERR_INVALIDCALL;
    ForgetShaderPrograms(CGLRenderer8::EObject::VertexShader, Handle);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::SetVertexShaderConstant(DWORD Register, const void* pConstantData, DWORD ConstantCount) {
    std::lock_guard lock(m_mutex);
    if (!pConstantData || !ConstantRangeFits(Register, ConstantCount, D3D8_VS_CONSTANT_REGISTERS))
        return D3DERR_INVALIDCALL;
    if (m_recording) {
        m_recording->RecordVertexShaderConstants(Register, pConstantData, ConstantCount);
        return D3D_OK;
    }
    std::memcpy(m_state.vertexShaderConstants[Register], pConstantData, ConstantCount * sizeof(float[4]));
    MarkDirty(d3d8dirty::kVertexShaderConstants);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetVertexShaderConstant(DWORD Register, void* pConstantData, DWORD ConstantCount) {
    std::lock_guard lock(m_mutex);
    if (!pConstantData || !ConstantRangeFits(Register, ConstantCount, D3D8_VS_CONSTANT_REGISTERS))
        return D3DERR_INVALIDCALL;
    std::memcpy(pConstantData, m_state.vertexShaderConstants[Register], ConstantCount * sizeof(float[4]));
    return D3D_OK;
}

HRESULT CDirect3DDevice8::CreatePixelShader(const DWORD* pFunction, DWORD* pHandle) {
    std::lock_guard lock(m_mutex);
    if (!pHandle)
        return D3DERR_INVALIDCALL;
    *pHandle = 0;
    if (!pFunction)
        return D3DERR_INVALIDCALL;
    auto shader = std::make_shared<SPixelShaderObject>();
    std::string reason;
    if (FAILED(CShaderDecoder::Decode(pFunction, kMaxShaderTokens, EShaderKind::Pixel, shader->program, &reason))) {
        std::fprintf(stderr, "d3d8: pixel shader refused: %s\n", reason.c_str());
        return D3DERR_INVALIDCALL;
    }
    *pHandle = m_shaders.AddPixelShader(std::move(shader));
    return *pHandle ? D3D_OK : D3DERR_OUTOFVIDEOMEMORY;
}

HRESULT CDirect3DDevice8::SetPixelShader(DWORD Handle) {
    std::lock_guard lock(m_mutex);
    if (Handle != 0 && !m_shaders.PixelShader(Handle))
        return D3DERR_INVALIDCALL;
    if (m_recording) {
        m_recording->RecordPixelShader(Handle);
        return D3D_OK;
    }
    if (m_state.pixelShader == Handle)
        return D3D_OK;
    m_state.pixelShader = Handle;
    MarkDirty(d3d8dirty::kProgram);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetPixelShader(DWORD* pHandle) {
    std::lock_guard lock(m_mutex);
    if (!pHandle)
        return D3DERR_INVALIDCALL;
    *pHandle = m_state.pixelShader;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::DeletePixelShader(DWORD Handle) {
    std::lock_guard lock(m_mutex);
    if (Handle == 0 || !m_shaders.RemovePixelShader(Handle))
        return D3DERR_INVALIDCALL;
    ForgetShaderPrograms(CGLRenderer8::EObject::PixelShader, Handle);
    return D3D_OK;
}

// The programs linked for a deleted shader go on the GL thread.
void CDirect3DDevice8::ForgetShaderPrograms(CGLRenderer8::EObject kind, DWORD handle) {
    if (!m_renderer)
        return;
    if (OnGLThread())
        m_renderer->DeleteNow(kind, handle);
    else
        m_renderer->QueueDeletion(kind, handle);
}

HRESULT CDirect3DDevice8::SetPixelShaderConstant(DWORD Register, const void* pConstantData, DWORD ConstantCount) {
    std::lock_guard lock(m_mutex);
    if (!pConstantData || !ConstantRangeFits(Register, ConstantCount, D3D8_PS_CONSTANT_REGISTERS))
        return D3DERR_INVALIDCALL;
    if (m_recording) {
        m_recording->RecordPixelShaderConstants(Register, pConstantData, ConstantCount);
        return D3D_OK;
    }
    std::memcpy(m_state.pixelShaderConstants[Register], pConstantData, ConstantCount * sizeof(float[4]));
    MarkDirty(d3d8dirty::kPixelShaderConstants);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetPixelShaderConstant(DWORD Register, void* pConstantData, DWORD ConstantCount) {
    std::lock_guard lock(m_mutex);
    if (!pConstantData || !ConstantRangeFits(Register, ConstantCount, D3D8_PS_CONSTANT_REGISTERS))
        return D3DERR_INVALIDCALL;
    std::memcpy(pConstantData, m_state.pixelShaderConstants[Register], ConstantCount * sizeof(float[4]));
    return D3D_OK;
}

// --- streams --------------------------------------------------------------------------------------

HRESULT CDirect3DDevice8::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8* pStreamData, UINT Stride) {
    std::lock_guard lock(m_mutex);
    if (StreamNumber >= kStreamCount)
        return D3DERR_INVALIDCALL;
    if (m_recording) {
        m_recording->RecordStream(StreamNumber, pStreamData, Stride);
        return D3D_OK;
    }
    const SStreamSource& current = m_state.streams[StreamNumber];
    if (current.buffer == pStreamData && current.stride == Stride)
        return D3D_OK;
    m_state.BindStream(StreamNumber, pStreamData, Stride);
    if (StreamNumber == 0)
        MarkDirty(d3d8dirty::kVertexInput);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8** ppStreamData, UINT* pStride) {
    std::lock_guard lock(m_mutex);
    if (StreamNumber >= kStreamCount || !ppStreamData || !pStride)
        return D3DERR_INVALIDCALL;
    *ppStreamData = m_state.streams[StreamNumber].buffer;
    if (*ppStreamData)
        (*ppStreamData)->AddRef();
    *pStride = m_state.streams[StreamNumber].stride;
    return D3D_OK;
}

HRESULT CDirect3DDevice8::SetIndices(IDirect3DIndexBuffer8* pIndexData, UINT BaseVertexIndex) {
    std::lock_guard lock(m_mutex);
    if (m_recording) {
        m_recording->RecordIndices(pIndexData, BaseVertexIndex);
        return D3D_OK;
    }
    if (m_state.indices == pIndexData && m_state.baseVertexIndex == BaseVertexIndex)
        return D3D_OK;
    m_state.BindIndices(pIndexData, BaseVertexIndex);
    MarkDirty(d3d8dirty::kIndices);
    return D3D_OK;
}

HRESULT CDirect3DDevice8::GetIndices(IDirect3DIndexBuffer8** ppIndexData, UINT* pBaseVertexIndex) {
    std::lock_guard lock(m_mutex);
    if (!ppIndexData || !pBaseVertexIndex)
        return D3DERR_INVALIDCALL;
    *ppIndexData = m_state.indices;
    if (*ppIndexData)
        (*ppIndexData)->AddRef();
    *pBaseVertexIndex = m_state.baseVertexIndex;
    return D3D_OK;
}
