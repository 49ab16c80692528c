#include "core/CRenderTexturePass.h"

#include "objects/CPlaneObject.h"
#include "platform/d3dxtex/d3dx8tex.h"
#include "platform/window/COutputWindow.h"

// The screen's render-target quad. The texture window must follow the blur
// factors at once, not only at the plane's next rebuild.
class CScreenTexturePlane : public CPlaneObject {
public:
    void ApplyTextureWindow() { RefreshTextureCoordinates(); }
};

CRenderTexturePass::CRenderTexturePass(const CDeviceHandle<IDirect3DDevice8>& device, const HWND& window)
    : m_Device(device), m_hwnd(window) {}

CRenderTexturePass::~CRenderTexturePass() = default;

// ================================================================== settings

void CRenderTexturePass::RenderOnTexture(bool on, int screenWidth) {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    m_bRenderOnTexture = on;
    ReleaseRenderTargets();
    // Powers of two that hold the whole back buffer; other widths keep the
    // size they had.
    switch (screenWidth) {
    case 640:
        m_uRenderTextureWidth = 1024;
        m_uRenderTextureHeight = 512;
        break;
    case 800:
    case 1024:
        m_uRenderTextureWidth = 1024;
        m_uRenderTextureHeight = 1024;
        break;
    case 1280:
        m_uRenderTextureWidth = 2048;
        m_uRenderTextureHeight = 1024;
        break;
    case 1600:
        m_uRenderTextureWidth = 2048;
        m_uRenderTextureHeight = 2048;
        break;
    default:
        break;
    }
    if (on) {
        ReloadRenderOnTexture();
    }
}

bool CRenderTexturePass::IsRenderOnTexture() const {
    return m_bRenderOnTexture;
}

void CRenderTexturePass::Feedback(bool on) {
    m_bFeedback = on;
    m_bFirstFeedbackFrame = true;
}

void CRenderTexturePass::SetBlurMode(bool blur) {
    m_bBlurMode = blur;
}

void CRenderTexturePass::SetBlurFactor(float a, float b) {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    m_fBlurFactorX = 1.0f - a;
    m_fBlurFactorY = 1.0f - b;
    if (m_bRenderOnTexture) {
        ReloadRenderPosition();
    }
}

void CRenderTexturePass::SetRenderPosition(float x0, float y0, float x1, float y1) {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    m_fRenderX0 = x0;
    m_fRenderY0 = y0;
    m_fRenderX1 = x1;
    m_fRenderY1 = y1;
    if (m_bRenderOnTexture) {
        ReloadRenderPosition();
    }
}

void CRenderTexturePass::SetAlphaTexture(float alpha) {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    TexturePlane().SetAlpha(alpha);
    m_fTextureAlpha = alpha;
}

void CRenderTexturePass::SetFadeTexture(float fade) {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    TexturePlane().SetColor(D3DCOLORVALUE{fade, fade, fade, m_fTextureAlpha}, 0);
}

UINT CRenderTexturePass::GetRenderTextureWidth() const {
    return m_uRenderTextureWidth;
}

UINT CRenderTexturePass::GetRenderTextureHeight() const {
    return m_uRenderTextureHeight;
}

IDirect3DTexture8* CRenderTexturePass::GetRenderTexture() const {
    return m_pRenderTexture.Get();
}

CPlaneObject& CRenderTexturePass::GetTexturePlane() {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    return TexturePlane();
}

CScreenTexturePlane& CRenderTexturePass::TexturePlane() {
    if (m_pTexturePlane == nullptr) {
        m_pTexturePlane = std::make_unique<CScreenTexturePlane>();
    }
    return *m_pTexturePlane;
}

// ========================================================= the device's life

void CRenderTexturePass::OnDeviceCreated() {
    if (m_bRenderOnTexture) {
        // Switched on for an earlier device: the targets belong to this one.
        std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
        ReloadRenderOnTexture();
    }
}

void CRenderTexturePass::OnDeviceLost() {
    ReleaseRenderTargets();
}

void CRenderTexturePass::OnDeviceReset() {
    if (m_bRenderOnTexture) {
        ReloadRenderOnTexture();
    }
}

void CRenderTexturePass::OnDeviceDestroyed() {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    ReleaseRenderTargets();
    if (m_pTexturePlane != nullptr) {
        m_pTexturePlane->CleanUp();
    }
}

void CRenderTexturePass::ReleaseRenderTargets() {
    if (m_pTexturePlane != nullptr) {
        IDirect3DTexture8* none = nullptr;
        m_pTexturePlane->SetTexture(none, 0);
    }
    m_pRenderSurface.Reset();
    m_pRenderDepthSurface.Reset();
    m_pRenderTexture.Reset();
}

void CRenderTexturePass::ReloadRenderOnTexture() {
    IDirect3DDevice8* device = m_Device.Get();
    const bool created =
        device != nullptr &&
        SUCCEEDED(D3DXCreateTexture(device, m_uRenderTextureWidth, m_uRenderTextureHeight, 1, D3DUSAGE_RENDERTARGET,
                                    D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, m_pRenderTexture.ReleaseAndGetAddressOf())) &&
        SUCCEEDED(device->CreateDepthStencilSurface(m_uRenderTextureWidth, m_uRenderTextureHeight, D3DFMT_D24S8,
                                                    D3DMULTISAMPLE_NONE,
                                                    m_pRenderDepthSurface.ReleaseAndGetAddressOf())) &&
        SUCCEEDED(m_pRenderTexture->GetSurfaceLevel(0, m_pRenderSurface.ReleaseAndGetAddressOf()));
    if (!created) {
        ReleaseRenderTargets();
        m_bRenderOnTexture = false;
        return;
    }
    CScreenTexturePlane& plane = TexturePlane();
    plane.SetProjectionMode(PM_SCREEN_OVERLAY);
    plane.Init();
    plane.SetColor(D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f}, 0);
    plane.SetLighting(false);
    IDirect3DTexture8* texture = m_pRenderTexture.Get();
    plane.SetTexture(texture, 0);
    plane.DrawTexture(true);
    ReloadRenderPosition();
}

void CRenderTexturePass::ReloadRenderPosition() {
    if (m_hwnd == nullptr || m_pTexturePlane == nullptr) {
        return;
    }
    // Only the part of the texture the (scaled) viewport rendered is shown,
    // kept a hair inside it so that filtering never picks up the border.
    const SIZE client = m_hwnd->GetClientSize();
    const float right =
        static_cast<float>(client.cx) / static_cast<float>(m_uRenderTextureWidth) * m_fBlurFactorX - 0.001f;
    const float bottom =
        static_cast<float>(client.cy) / static_cast<float>(m_uRenderTextureHeight) * m_fBlurFactorY - 0.001f;
    CScreenTexturePlane& plane = *m_pTexturePlane;
    plane.SetTextureOffset(0.001f, 0.001f, right, bottom);
    plane.ApplyTextureWindow();
    plane.SetPosition((m_fRenderX0 + m_fRenderX1) / 2.0f, (m_fRenderY0 + m_fRenderY1) / 2.0f, 0.0f);
    plane.SetSize(m_fRenderX1 - m_fRenderX0, m_fRenderY1 - m_fRenderY0);
}

// ===================================================================== frame

void CRenderTexturePass::ProcessFeedbackBegin(bool clear, D3DCOLOR background) {
    if (!m_bRenderOnTexture) {
        return;
    }
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    IDirect3DDevice8* device = m_Device.Get();
    if (device == nullptr || !m_pRenderSurface) {
        return;
    }
    device->GetDepthStencilSurface(m_pSavedDepthSurface.ReleaseAndGetAddressOf());
    device->GetViewport(&m_SavedViewport);
    device->GetRenderTarget(m_pSavedRenderTarget.ReleaseAndGetAddressOf());
    m_ScaledViewport = m_SavedViewport;
    m_ScaledViewport.Width = static_cast<DWORD>(static_cast<float>(m_SavedViewport.Width) * m_fBlurFactorX);
    m_ScaledViewport.Height = static_cast<DWORD>(static_cast<float>(m_SavedViewport.Height) * m_fBlurFactorY);
    device->SetRenderTarget(m_pRenderSurface.Get(), m_pRenderDepthSurface.Get());
    device->SetViewport(&m_ScaledViewport);
    if (clear) {
        const D3DCOLOR rgb = background & 0x00FFFFFFu;
        if (m_bFirstFeedbackFrame || !m_bFeedback) {
            device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, rgb | 0xFF000000u, 1.0f, 0);
            m_bFirstFeedbackFrame = false;
        } else {
            // A nearly transparent clear over last frame's image: trails.
            device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, rgb | 0x0A000000u, 1.0f, 0);
        }
    }
}

void CRenderTexturePass::MiddleScene() {
    if (!m_bRenderOnTexture) {
        return;
    }
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    if (RestoreScreenTarget()) {
        DrawTexturePlane();
    }
}

void CRenderTexturePass::ProcessFeedbackEnd() {
    if (!m_bRenderOnTexture) {
        return;
    }
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    // After MiddleScene the quad is already drawn, under what the host drew
    // since; drawing it again would cover that.
    if (RestoreScreenTarget()) {
        DrawTexturePlane();
    }
}

bool CRenderTexturePass::RestoreScreenTarget() {
    IDirect3DDevice8* device = m_Device.Get();
    if (device == nullptr || !m_pSavedRenderTarget) {
        return false;
    }
    device->SetRenderTarget(m_pSavedRenderTarget.Get(), m_pSavedDepthSurface.Get());
    device->SetViewport(&m_SavedViewport);
    m_pSavedRenderTarget.Reset();
    m_pSavedDepthSurface.Reset();
    return true;
}

void CRenderTexturePass::DrawTexturePlane() {
    IDirect3DDevice8* device = m_Device.Get();
    if (device == nullptr || m_pTexturePlane == nullptr) {
        return;
    }
    // The screen is not cleared in this mode (that is what leaves trails);
    // its depth buffer is, so that the quad is never hidden by old depths.
    device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    const D3DTEXTUREFILTERTYPE filter = m_bBlurMode ? D3DTEXF_POINT : D3DTEXF_LINEAR;
    device->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    m_pTexturePlane->SetTextureFilter(filter);
    m_pTexturePlane->Render();
}
