#pragma once
// The screen's render-to-texture pass: while it is on, each frame is drawn
// into a render texture (a part of it, scaled by the blur factors) and then
// shown on the screen through a full-screen textured plane, with optional
// feedback trails (last frame's image shows through a nearly transparent
// clear).
//
// Settings come from the host thread while the render thread draws; the pass
// state they touch is guarded by m_renderTextureMutex. The device and the
// output window are the screen's, read through references because both change
// from run to run.
//
//   frame (render thread):  ProcessFeedbackBegin   scene into the texture
//                           [MiddleScene]          back to the screen, plane drawn
//                           ProcessFeedbackEnd     (the plane, unless MiddleScene did)

#include <atomic>
#include <memory>
#include <mutex>

#include "platform/base/WinTypes.h"
#include "platform/d3d8/CDeviceHandle.h"
#include "platform/d3d8/d3d8.h"

class CPlaneObject;
class CScreenTexturePlane;

class CRenderTexturePass {
public:
    CRenderTexturePass(const CDeviceHandle<IDirect3DDevice8>& device, const HWND& window);
    ~CRenderTexturePass();
    CRenderTexturePass(const CRenderTexturePass&) = delete;
    CRenderTexturePass& operator=(const CRenderTexturePass&) = delete;

    // ------------------------------------------------ settings (any thread)
    // Switches the pass; the texture's size follows the screen's width
    // (640 .. 1600), and is made at once when a device exists.
    void RenderOnTexture(bool on, int screenWidth);
    bool IsRenderOnTexture() const;
    void Feedback(bool on);
    void SetBlurMode(bool blur);
    // Stores 1 - a and 1 - b: the fraction of the texture that is used.
    void SetBlurFactor(float a, float b);
    void SetRenderPosition(float x0, float y0, float x1, float y1);
    void SetAlphaTexture(float alpha);
    void SetFadeTexture(float fade);
    UINT GetRenderTextureWidth() const;
    UINT GetRenderTextureHeight() const;
    IDirect3DTexture8* GetRenderTexture() const;
    // The full-screen quad that shows the render texture.
    CPlaneObject& GetTexturePlane();

    // ------------------------------------- the device's life (render thread)
    // A new device: a pass switched on for an earlier one makes its targets.
    void OnDeviceCreated();
    // The device is lost: its default-pool targets would block the reset.
    // The caller holds the registered objects' lock, which the texture plane
    // takes under m_renderTextureMutex when it registers: this and
    // OnDeviceReset therefore do not take m_renderTextureMutex.
    void OnDeviceLost();
    // The lost device was reset: the targets are made again.
    void OnDeviceReset();
    // The device goes: the targets and the plane's resources go first.
    void OnDeviceDestroyed();

    // ------------------------------------------------ frame (render thread)
    // Redirects drawing into the texture; with clear set, clears it with the
    // background colour (its RGB), nearly transparently for feedback trails.
    void ProcessFeedbackBegin(bool clear, D3DCOLOR background);
    // Back to the screen and the plane drawn, for drawing over it.
    void MiddleScene();
    void ProcessFeedbackEnd();

private:
    void ReleaseRenderTargets();
    void ReloadRenderOnTexture();
    void ReloadRenderPosition();
    // Back to the screen's target after the texture pass; false when the
    // pass was not active (already ended by MiddleScene, or no texture).
    bool RestoreScreenTarget();
    void DrawTexturePlane();
    CScreenTexturePlane& TexturePlane();

    const CDeviceHandle<IDirect3DDevice8>& m_Device;
    const HWND& m_hwnd;

    std::atomic<bool> m_bRenderOnTexture{false};
    std::atomic<bool> m_bFeedback{false};
    std::atomic<bool> m_bFirstFeedbackFrame{true};
    std::atomic<bool> m_bBlurMode{false};

    // Guards what follows: the host thread's setters change the targets,
    // the plane and its placement while the render thread draws through them.
    // Recursive: a setter reloads the position under it.
    std::recursive_mutex m_renderTextureMutex;
    float m_fBlurFactorX = 1.0f;
    float m_fBlurFactorY = 1.0f;
    float m_fRenderX0 = -0.5f;
    float m_fRenderX1 = 0.501f;
    float m_fRenderY0 = -0.5f;
    float m_fRenderY1 = 0.501f;
    UINT m_uRenderTextureWidth = 512;
    UINT m_uRenderTextureHeight = 256;
    float m_fTextureAlpha = 1.0f;
    CDeviceHandle<IDirect3DTexture8> m_pRenderTexture;
    CDeviceHandle<IDirect3DSurface8> m_pRenderSurface;
    CDeviceHandle<IDirect3DSurface8> m_pRenderDepthSurface;
    // The screen's targets while the frame draws into the texture.
    CDeviceHandle<IDirect3DSurface8> m_pSavedRenderTarget;
    CDeviceHandle<IDirect3DSurface8> m_pSavedDepthSurface;
    D3DVIEWPORT8 m_SavedViewport{};
    D3DVIEWPORT8 m_ScaledViewport{};
    // Made at first use: a plane is a scene object that itself asks for the
    // screen, which must exist by then.
    std::unique_ptr<CScreenTexturePlane> m_pTexturePlane;
};
