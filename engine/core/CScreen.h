#pragma once
// The engine's one global runtime object: output window, Direct3D device,
// render thread and main loop, frame set-up, cameras, fog, the playback clock
// with its music, input, the overlay text, the engine log and the objects
// that must be rebuilt after a device loss.
//
// A host configures the singleton, hands over a listener and calls Display:
//
//   CScreen& screen = CScreen::Instance();
//   screen.SetWindow(&hostWindow);      // or none: the engine opens its own window
//   screen.SetListener(frameLoop);      // CScreenListener::Run is the frame loop
//   screen.Display(false);              // starts the render thread
//   ... host thread: handle 1025 (DisplayErrors), 5024/5025 (GetSound().Play/Stop)
//   ... and WM_CLOSE (the run is over: WaitForRenderThread) from the window
//
// Threads: setters and Display run on the host thread; Run, the frame
// operations, the clock step and all drawing on the render thread. Scene
// settings (colours, fog, camera) may be set from the host thread while the
// render thread draws; they are read under a lock once per frame.
//
// Inside, the playback clock (CPlaybackClock), the render-to-texture pass
// (CRenderTexturePass) and the own window's message loop (COwnWindowLoop)
// are helpers of the screen's own; its methods for them delegate.

#include <atomic>
#include <cstdio>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/CCameraRemote.h"
#include "core/CCameraUser.h"
#include "core/CKeyboard.h"
#include "core/CMouse.h"
#include "core/COwnWindowLoop.h"
#include "core/CPlaybackClock.h"
#include "core/CRenderTexturePass.h"
#include "core/ScreenMessages.h"
#include "platform/base/CEvent.h"
#include "platform/base/CMutex.h"
#include "platform/base/CString.h"
#include "platform/base/D3DTypes.h"
#include "platform/base/WinTypes.h"
#include "platform/d3d8/CDeviceHandle.h"
#include "platform/d3d8/d3d8.h"
#include "platform/d3dx/d3dx8math.h"

class CD3DFont;
class CMP3Player;
class CMove;
class CObjects;
class CPlaneObject;
class CScreenListener;

// Requested full-screen mode (and the projection's aspect while no device
// exists; a device's projection takes its back buffer's aspect).
enum TResolutionEnum : int {
    RES_640_480 = 0,
    RES_800_600 = 1,
    RES_1024_768 = 2,
    RES_1280_1024 = 3,
    RES_1600_1200 = 4,
};

class CScreen {
public:
    // Seconds of a monotonic clock; tests replace it to step time exactly.
    using ClockSource = CPlaybackClock::ClockSource;

    static CScreen& Instance();

    virtual ~CScreen();
    CScreen(const CScreen&) = delete;
    CScreen& operator=(const CScreen&) = delete;

    // Engine log "log.txt": one printf-style line per call. Any thread may log.
    void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // ------------------------------------------------------ configuration
    // The host's output window. Must precede Display; null: Display opens
    // the engine's own window.
    void SetWindow(HWND window);
    // The output window of the current run (the host's or the own one).
    HWND GetWindow() const;
    void SetFullscreen(bool fullscreen);
    bool GetFullscreen() const;
    // Full screen at the desktop's current size (no mode search).
    void SetUseDesktopScreen(bool use = true);
    // The screensaver exit rules and a topmost own window.
    void SetScreenSaverMode(bool screenSaver = true);
    bool GetScreenSaverMode() const;
    void SetResolution(TResolutionEnum resolution);
    TResolutionEnum GetResolution() const;
    // 640 .. 1600 for resolutions 0 .. 4, -1 for any other value.
    int GetXResolution() const;
    int GetYResolution() const;
    // 0: 16-bit, 1: 32-bit back buffer in full screen.
    void SetColorDepth(int depth);
    int GetColorDepth() const;
    void SetListener(CScreenListener& listener);
    // The version banner and camera line (on by default).
    void ViewInfo(bool view);
    bool GetViewInfo() const;
    void SetShowFPS(bool show);
    bool GetShowFPS() const;
    void SetTitle(const CString& title);
    CString GetVersion() const;

    // ------------------------------------------------------------ the run
    // Starts a run; see the class comment. With the own window it also runs
    // the message loop and returns when the run is over.
    void Display(bool softwareVertexProcessing);
    // The render thread's body (called by the thread procedure only).
    void RunLumivexis();
    bool IsRunning() const;
    // True once the render thread has made its start-up attempt.
    bool IsInitialized() const;
    // Asks the run to end (sets the stop flag), as closing the window does.
    void StopRun();
    // Waits until the render thread of the last run has ended. Hosts call it
    // after the run's WM_CLOSE arrived and before they destroy their window.
    void WaitForRenderThread();

    IDirect3DDevice8* GetD3DDevice() const;
    // Adapter modes of the default adapter (while Direct3D exists).
    int GetScreenModeNumber() const;
    D3DDISPLAYMODE GetScreenMode(int index) const;
    // The "Lumivexis settings" dialog: resolution, colours, full screen, logo.
    void DisplayResolutionDlg();
    // Shows the start-up errors joined in one message, if there are any.
    void DisplayErrors();
    // A copy of the start-up errors of the last run.
    std::vector<CString> GetErrors() const;
    CMP3Player& GetSound();

    // One message of the own window's message loop: accelerator, dispatch
    // and the screensaver exit rules. Returns true when the loop ends.
    // Public so that the rules can be fed synthetic messages.
    bool ProcessLoopMessage(const MSG& msg);
    // The own window's window procedure.
    LRESULT WndMsgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // ----------------------------------------------- registered objects
    // Objects that hold device resources register here so that they can be
    // cleaned up and initialised again around a device reset.
    void RegisterObject(CObjects& object);    // appends, duplicates allowed
    void UnregisterObject(CObjects& object);  // removes the first entry, if any
    // Also true while the object waits, cleaned up, for a lost device.
    bool IsObjectRegistered(const CObjects& object) const;
    int GetRegisteredObjectNumber() const;

    // ------------------------------------------------------------ frames
    // Waits while a full-screen window is inactive, then BeginSceneSync.
    void BeginScene(bool clear);
    void BeginSceneSync(bool clear);
    // With render-on-texture: back to the screen, draw the textured plane.
    void MiddleScene();
    void EndScene(bool present);
    void Clear();
    void ClearZ();
    // Message line 0 .. 7, drawn at y = 40 + 20 * line.
    void DisplayMessage(const CString& text, int line);

    // ------------------------------------------------------------ camera
    void SetCamera(const D3DXVECTOR3& eye, const D3DXVECTOR3& direction, const D3DXVECTOR3& up);
    void SetCamera(const D3DXVECTOR3& eye, const D3DXVECTOR3& direction);
    void SetCamera(float eyeX, float eyeY, float eyeZ, float dirX, float dirY, float dirZ);
    void SetCamera(float eyeX, float eyeY, float eyeZ, float dirX, float dirY, float dirZ, float upX, float upY,
                   float upZ);
    // The movement controller's current position, direction and up vector
    // (which advances it to the current scene time).
    void SetCamera(CMove& move);
    void SetCameraRotation(float x, float y, float z, float yaw, float pitch, float roll);
    // Enters user-camera mode and adds to the user camera's pending moves.
    void SetMouseCamera(float mx, float my, float mz, float yaw, float pitch, float wheel);
    bool IsUserCameraMode() const;
    CCamera& GetCamera();
    void GetCameraPosition(D3DXVECTOR3& position, D3DXVECTOR3& direction) const;
    void GetCameraPosition(float& x, float& y, float& z, float& dirX, float& dirY, float& dirZ) const;
    D3DXMATRIX GetViewMatrix() const;
    D3DXMATRIX GetWorldMatrix() const;
    D3DXMATRIX GetProjMatrix() const;
    void SetFieldOfView(float fovY);
    void ResetFieldOfView();
    float GetFieldOfView() const;

    // ---------------------------------------------------- scene settings
    void SetBackgroundColor(D3DCOLORVALUE color);
    D3DCOLORVALUE GetBackgroundColor() const;
    D3DCOLOR GetBackgroundColorARGB() const;
    void EnableFog(bool enable);
    bool IsFogEnabled() const;
    void SetFogColor(D3DCOLORVALUE color);
    D3DCOLORVALUE GetFogColor() const;
    void SetFogStart(float start);
    float GetFogStart() const;
    void SetFogEnd(float end);
    float GetFogEnd() const;
    void SetFogDensity(float density);
    float GetFogDensity() const;
    void SetAmbientLight(int on);
    bool GetAmbientLight() const;
    void SetAmbientColor(D3DCOLORVALUE color);
    D3DCOLORVALUE GetAmbientColor() const;
    void SetLightVectorForEffect(const D3DXVECTOR3& light);
    D3DXVECTOR3 GetLightVectorForEffect() const;

    // ------------------------------------------------------------- clock
    float GetTickCount() const;  // scene seconds; 0 while a time reset is pending
    float GetRealCurrentTime() const;
    void Play(float speed);
    void Stop();
    void Pause();
    bool IsStopped() const;
    float GetPlaySpeed() const;
    void SetTime(float seconds);
    void ResetTime();
    void SetTotalTime(float seconds);
    float GetTotalTime() const;
    void SetLoop(bool loop);
    bool IsLoop() const;
    // Replaces the performance counter (null restores it).
    void SetClockSource(ClockSource source);

    // ------------------------------------------------- render to texture
    void RenderOnTexture(bool on);
    bool IsRenderOnTexture() const;
    void Feedback(bool on);
    void SetBlurMode(bool blur);
    // Stores 1 - a and 1 - b: the fraction of the texture that is used.
    void SetBlurFactor(float a, float b);
    void SetRenderPosition(float x0, float y0, float x1, float y1);
    void SetAlphaTexture(float alpha);
    void SetFadeTexture(float fade);
    // Size of the render texture for the current resolution.
    UINT GetRenderTextureWidth() const;
    UINT GetRenderTextureHeight() const;
    IDirect3DTexture8* GetRenderTexture() const;
    // The full-screen quad that shows the render texture.
    CPlaneObject& GetTexturePlane();

    // ------------------------------------------------------------- input
    DWORD KeyboardReadData();
    DWORD KeyboardReadData2();
    BYTE MouseReadData(LONG& dx, LONG& dy, LONG& dz);
    // One step of the user camera from the arrow, shift and control keys and
    // the mouse.
    void KeyCamera();
    float GetKeyCameraSpeed() const;

protected:
    HRESULT InitD3D(HWND window);
    HRESULT InitD3DDevice(HWND window);
    bool ResetD3DDevice();
    void CheckAndRestoreSurfaces();
    void Cleanup();

private:
    CScreen();
    void SetStopFlag();
    void AddError(const CString& error);
    // The own window for the current settings; false when none opened.
    bool CreateOwnWindow();
    void CloseOwnWindow();
    void RenderThreadProc();
    void PostToWindow(UINT message);
    // Whether the display has a mode of the resolution (host thread, before
    // the own window opens).
    bool DisplayOffersResolution();
    void LogPresentParameters(DWORD behavior);
    void ReportDeviceFailure(HRESULT result, bool asError);
    void RestoreObjectsAfterReset();
    // Render thread, between frames: a windowed back buffer that no longer
    // matches the window's client size takes the new size (the device's
    // resources and the objects stay), and the projection its aspect.
    void FollowWindowSize();
    void OnActivateApp(WPARAM wParam);

    void SetupMatrices();
    void DrawOverlay();
    void MeasureFrameRate(int& frames, DWORD& lastTime, float& fps);
    D3DXMATRIX MakeProjection(float fovY, float aspect, float zNear, float zFar) const;
    // Width / height of the back buffer while a device exists, else of the
    // resolution.
    float ProjectionAspect() const;

    static CScreen* m_pInstance;

    // --- output window and run settings (host thread, before Display) ---
    // The output window of the run: the host's, or the own window's.
    HWND m_hwnd = nullptr;
    CString m_Title = "Lumivexis Output window";
    bool m_bFullscreen = false;
    bool m_bUseDesktopScreen = false;
    bool m_bScreenSaverMode = false;
    TResolutionEnum m_Resolution = RES_640_480;
    int m_iColorDepth = 1;
    bool m_bSoftwareVertexProcessing = false;
    COwnWindowLoop m_OwnWindowLoop;

    // --- the run ---
    CScreenListener* m_pListener = nullptr;
    std::thread m_RenderThread;
    std::atomic<bool> m_bInitialized{false};
    std::atomic<bool> m_bThreadFinished{false};
    std::atomic<bool> m_bStop{false};
    // Guards the writes of m_bStop: a run's start clears it while the window
    // or the render thread may set it.
    CMutex m_StopMutex;
    // Set while the run may draw; reset while a full-screen run is paused
    // because its window lost the focus (BeginScene waits on it).
    CEvent m_RunEvent{false, true};
    bool m_bPausedByDeactivation = false;
    bool m_bFirstActivationPending = true;

    // --- start-up errors ---
    // Guards m_Errors: the render thread collects them, the host shows them.
    mutable std::mutex m_errorsMutex;
    std::vector<CString> m_Errors;

    // --- Direct3D (render thread) ---
    CDeviceHandle<IDirect3D8> m_pD3D;
    CDeviceHandle<IDirect3DDevice8> m_pd3dDevice;
    D3DPRESENT_PARAMETERS m_d3dpp{};
    // The run is full screen at the desktop's mode because the display
    // lacks the resolution's.
    bool m_bDesktopModeFallback = false;
    // Back buffer width / height while the device exists, 0 without one
    // (written by the render thread, read by SetFieldOfView on any thread).
    std::atomic<float> m_fBackBufferAspect{0.0f};

    // --- scene settings: set by the host thread, read once per frame ---
    std::atomic<D3DCOLOR> m_BackgroundColor{0xFF000000u};
    std::atomic<bool> m_bFogEnabled{false};
    std::atomic<float> m_fFogStart{10.0f};
    std::atomic<float> m_fFogEnd{20.0f};
    std::atomic<float> m_fFogDensity{0.0f};
    std::atomic<bool> m_bAmbientLight{true};
    // Guards the settings below, which are too wide for an atomic.
    mutable std::mutex m_sceneSettingsMutex;
    D3DCOLORVALUE m_FogColor{0.0f, 0.0f, 0.0f, 1.0f};
    D3DCOLORVALUE m_AmbientColor{0.5f, 0.5f, 0.5f, 1.0f};
    D3DXVECTOR3 m_vLightVectorForEffect{0.0f, -1.0f, 0.0f};

    // --- cameras and matrices ---
    std::atomic<float> m_fFieldOfView{D3DX_PI / 4.0f};
    // Guards the cameras, which of them is used and the world and projection
    // matrices: the host thread moves the camera while the render thread
    // draws with it.
    mutable std::mutex m_cameraMutex;
    D3DXMATRIX m_matWorld;
    D3DXMATRIX m_matProj;
    bool m_bUserCamera = false;
    CCameraRemote m_RemoteCamera;
    CCameraUser m_UserCamera;

    // --- overlay: version banner, camera line, frame rate, message lines ---
    std::atomic<bool> m_bViewInfo{true};
    std::atomic<bool> m_bShowFPS{false};
    CString m_Version;
    std::unique_ptr<CD3DFont> m_pFont;  // while the device exists
    // Guards the overlay's text: the message lines come from the host thread,
    // the camera line from the frame set-up; the overlay draws both.
    std::mutex m_textMutex;
    CString m_Messages[8];
    CString m_InfoLine2;
    int m_iInfoFrames = 0;
    DWORD m_dwInfoLastTime = 0;
    int m_iFpsFrames = 0;
    DWORD m_dwFpsLastTime = 0;
    float m_fFPS = 0.0f;

    // --- playback clock and its music ---
    std::unique_ptr<CMP3Player> m_pSound;
    CPlaybackClock m_Clock;  // after m_pSound, which it drives

    // --- render to texture ---
    CRenderTexturePass m_RenderTexturePass;

    // --- input ---
    CKeyboard m_Keyboard;
    CMouse m_Mouse;
    float m_fKeyCameraSpeed = 5.0f;
    std::atomic<float> m_fLastKeyCameraTime{0.0f};  // reset by the host thread, stepped by the render thread

    // --- registered objects ---
    std::list<CObjects*> m_RegisteredObjects;
    // Objects cleaned up for a lost device, initialised again after the reset.
    std::list<CObjects*> m_ObjectsAwaitingReset;
    // Guards both lists: objects register from any thread.
    mutable CMutex m_registeredMutex;
};
