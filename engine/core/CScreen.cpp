#include "core/CScreen.h"

#include <algorithm>
#include <bit>
#include <cstdarg>
#include <string>
#include <system_error>

#include "animation/CMove.h"
#include "core/CAdapterModeSearch.h"
#include "core/CD3DFont.h"
#include "core/CEngineLog.h"
#include "core/CScreenListener.h"
#include "core/CTools.h"
#include "platform/base/SceneTime.h"
#include "platform/base/Timing.h"
#include "platform/window/COutputWindow.h"
#include "platform/window/CPlatformRegistry.h"
#include "scene/CMP3Player.h"
#include "scene/CObjects.h"

namespace {

constexpr float kNearPlane = 0.1f;
constexpr float kFarPlane = 500.0f;
constexpr D3DCOLOR kOverlayColor = 0xC8FFFFFF;  // white, alpha 200
constexpr float kOverlayX = 2.0f;
constexpr const char* kLinuxDriverHint =
    "On Linux the engine draws with OpenGL 3.3 or later: install Mesa's OpenGL drivers "
    "(Debian and Ubuntu: libgl1-mesa-dri and libegl-mesa0).";

// A colour component from 0..1 as a byte: times 255, truncated. Values
// outside 0..1 are clamped rather than wrapped into another colour.
DWORD ComponentByte(float component) {
    const float scaled = component * 255.0f;
    if (!(scaled > 0.0f)) {
        return 0;
    }
    return scaled >= 255.0f ? 255u : static_cast<DWORD>(scaled);
}

D3DCOLOR ToARGB(const D3DCOLORVALUE& c) {
    return D3DCOLOR_ARGB(ComponentByte(c.a), ComponentByte(c.r), ComponentByte(c.g), ComponentByte(c.b));
}

D3DCOLORVALUE FromARGB(D3DCOLOR color) {
    const auto component = [color](int shift) { return static_cast<float>((color >> shift) & 0xFF) / 255.0f; };
    return D3DCOLORVALUE{component(16), component(8), component(0), component(24)};
}

DWORD FloatBits(float value) {
    return std::bit_cast<DWORD>(value);
}

int WindowNumber(HWND window) {
    return window != nullptr ? window->WindowNumber() : 0;
}

float BackBufferAspect(const D3DPRESENT_PARAMETERS& parameters) {
    if (parameters.BackBufferWidth == 0 || parameters.BackBufferHeight == 0) {
        return 0.0f;
    }
    return static_cast<float>(parameters.BackBufferWidth) / static_cast<float>(parameters.BackBufferHeight);
}

}  // namespace

CScreen* CScreen::m_pInstance = nullptr;

CScreen& CScreen::Instance() {
    // A function-local static is created once even when several threads ask
    // at the same time; the object itself is never destroyed.
    static CScreen* const created = (m_pInstance = new CScreen());
    return *created;
}

CScreen::CScreen()
    : m_OwnWindowLoop([this](HWND window, UINT message, WPARAM wParam,
                             LPARAM lParam) { return WndMsgProc(window, message, wParam, lParam); },
                      [this] { SetStopFlag(); }),
      m_pSound(std::make_unique<CMP3Player>()),
      m_Clock(*m_pSound, [this](bool play) { PostToWindow(play ? WM_LUMIVEXIS_PLAY_MUSIC : WM_LUMIVEXIS_STOP_MUSIC); }),
      m_RenderTexturePass(m_pd3dDevice, m_hwnd) {
    CEngineLog::Instance();  // the log starts with the screen
    m_Version = GetVersion();
    D3DXMatrixIdentity(&m_matWorld);
    D3DXMatrixPerspectiveFovLH(&m_matProj, m_fFieldOfView, 640.0f / 480.0f, kNearPlane, kFarPlane);
    // The curves' GetValue() animates at the playback clock's time.
    SetSceneTimeSource([] { return CScreen::Instance().GetTickCount(); });
}

CScreen::~CScreen() {
    std::lock_guard<std::mutex> guard(m_errorsMutex);
    m_Errors.clear();
}

void CScreen::Log(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    CEngineLog::Instance().WriteV(format, arguments);
    va_end(arguments);
}

CString CScreen::GetVersion() const {
    return "2.0.6";
}

// ================================================================ configuration

void CScreen::SetWindow(HWND window) {
    m_hwnd = window;
}

HWND CScreen::GetWindow() const {
    return m_hwnd;
}

void CScreen::SetFullscreen(bool fullscreen) {
    m_bFullscreen = fullscreen;
}

bool CScreen::GetFullscreen() const {
    return m_bFullscreen;
}

void CScreen::SetUseDesktopScreen(bool use) {
    m_bUseDesktopScreen = use;
}

void CScreen::SetScreenSaverMode(bool screenSaver) {
    m_bScreenSaverMode = screenSaver;
}

bool CScreen::GetScreenSaverMode() const {
    return m_bScreenSaverMode;
}

void CScreen::SetResolution(TResolutionEnum resolution) {
    m_Resolution = resolution;
}

TResolutionEnum CScreen::GetResolution() const {
    return m_Resolution;
}

int CScreen::GetXResolution() const {
    switch (m_Resolution) {
    case RES_640_480:
        return 640;
    case RES_800_600:
        return 800;
    case RES_1024_768:
        return 1024;
    case RES_1280_1024:
        return 1280;
    case RES_1600_1200:
        return 1600;
    }
    return -1;
}

int CScreen::GetYResolution() const {
    switch (m_Resolution) {
    case RES_640_480:
        return 480;
    case RES_800_600:
        return 600;
    case RES_1024_768:
        return 768;
    case RES_1280_1024:
        return 1024;
    case RES_1600_1200:
        return 1200;
    }
    return -1;
}

void CScreen::SetColorDepth(int depth) {
    m_iColorDepth = depth;
}

int CScreen::GetColorDepth() const {
    return m_iColorDepth;
}

void CScreen::SetListener(CScreenListener& listener) {
    m_pListener = &listener;
}

void CScreen::ViewInfo(bool view) {
    m_bViewInfo = view;
}

bool CScreen::GetViewInfo() const {
    return m_bViewInfo;
}

void CScreen::SetShowFPS(bool show) {
    m_bShowFPS = show;
}

bool CScreen::GetShowFPS() const {
    return m_bShowFPS;
}

void CScreen::SetTitle(const CString& title) {
    m_Title = title;
    if (HWND ownWindow = m_OwnWindowLoop.GetOwnWindow()) {
        ownWindow->SetTitle(title);
    }
}

// ==================================================================== the run

void CScreen::Display(bool softwareVertexProcessing) {
    // The thread of a previous run has posted its WM_CLOSE and is ending.
    WaitForRenderThread();

    m_bSoftwareVertexProcessing = softwareVertexProcessing;
    Log("Register Window Class\n");
    // The size of the window-class record the original platform registers.
    Log("Register Window Value: %d\n", 48);

    if (m_hwnd == nullptr) {
        Log("m_hwnd==NULL :: own window\n");
        Log("Create Window\n");
        if (!CreateOwnWindow()) {
            Log("Unable to create window\n");
            CTools::Error("Unable to initialize the 3D Window. Leaving.");
            return;
        }
        Log("Create Window::Success\n");
        if (m_bScreenSaverMode) {
            m_hwnd->SetTopmost(true);
        }
    }

    m_Clock.Start();
    m_RunEvent.SetEvent();
    m_bPausedByDeactivation = false;
    m_bFirstActivationPending = true;
    m_OwnWindowLoop.BeginRun();
    m_dwInfoLastTime = m_dwFpsLastTime = timeGetTime();
    m_iInfoFrames = m_iFpsFrames = 0;

    if (m_bFullscreen) {
        m_hwnd->ShowCursor(false);
    }
    Log("Show the window\n");
    m_hwnd->Show();

    Log("Start the gfx thread\n");
    {
        std::lock_guard<CMutex> guard(m_StopMutex);
        m_bStop = false;
    }
    m_bInitialized = false;
    m_bThreadFinished = false;
    {
        // Errors of a previous run must not be shown again by the
        // DisplayErrors below, which may run before the new thread starts.
        std::lock_guard<std::mutex> guard(m_errorsMutex);
        m_Errors.clear();
    }
    try {
        m_RenderThread = std::thread(&CScreen::RenderThreadProc, this);
    } catch (const std::system_error& error) {
        Log("Start the gfx thread: Unable to create the THREAD!\n");
        Log("Start the gfx thread: Error: %s\n", error.what());
        CTools::Error(CString("Unable to create the 3D Thread. Leaving. (Error: \"") + error.what() + "\"");
        CloseOwnWindow();
        return;
    }

    if (m_OwnWindowLoop.GetOwnWindow() != nullptr) {
        Log("Enter the message loop...\n");
        m_OwnWindowLoop.RunMessageLoop(m_bScreenSaverMode);
        SetStopFlag();
        while (!m_bThreadFinished) {
            Sleep(100);
        }
        if (m_bFullscreen) {
            m_hwnd->ShowCursor(true);
        }
        WaitForRenderThread();
        CloseOwnWindow();
        DisplayErrors();
    }
    // With a host window the errors of this run are not known yet: the render
    // thread collects them and posts 1025, and the host shows them then.
    // Showing the list here as well would race with the thread and could
    // show the same errors twice.
}

bool CScreen::CreateOwnWindow() {
    SOwnWindowRequest request;
    request.title = m_Title;
    request.width = GetXResolution();
    request.height = GetYResolution();
    request.topmost = m_bScreenSaverMode;
    if (m_bUseDesktopScreen) {
        request.mode = TOwnWindowMode::FullscreenDesktop;
    } else if (m_bFullscreen) {
        // The device start finds no such mode either and runs at the
        // desktop's mode (InitD3D): the window covers the desktop to match.
        request.mode = DisplayOffersResolution() ? TOwnWindowMode::Fullscreen : TOwnWindowMode::FullscreenDesktop;
    } else {
        request.mode = TOwnWindowMode::Windowed;
    }
    if (!m_OwnWindowLoop.CreateOwnWindow(request)) {
        return false;
    }
    m_hwnd = m_OwnWindowLoop.GetOwnWindow();
    return true;
}

bool CScreen::DisplayOffersResolution() {
    std::string error;
    CPlatformRegistry::RefreshDisplayModes(error);
    CDeviceHandle<IDirect3D8> d3d(Direct3DCreate8(D3D_SDK_VERSION));
    // Without Direct3D the device start reports the failure.
    if (!d3d || CAdapterModeSearch(*d3d.Get(), false).FindFullscreenMode(GetXResolution(), GetYResolution())) {
        return true;
    }
    Log("Create Window: the display offers no %d x %d mode: full screen at the desktop's mode\n", GetXResolution(),
        GetYResolution());
    return false;
}

void CScreen::CloseOwnWindow() {
    // A host's window stays the output window.
    if (m_OwnWindowLoop.CloseOwnWindow()) {
        m_hwnd = nullptr;
    }
}

bool CScreen::ProcessLoopMessage(const MSG& msg) {
    return m_OwnWindowLoop.ProcessLoopMessage(msg, m_hwnd, m_bScreenSaverMode);
}

LRESULT CScreen::WndMsgProc(HWND window, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
    case WM_DESTROY:
        Log("Receiving a WM_DESTROY message\n");
        SetStopFlag();
        if (window != nullptr) {
            window->PostMessage(WM_QUIT);  // PostQuitMessage(0)
        }
        return 0;
    case WM_PAINT:
        return 0;
    case WM_CLOSE:
        // The window itself is closed by Display once the render thread,
        // which still draws into it, has ended.
        Log("Receiving a WM_CLOSE message\n");
        SetStopFlag();
        return 0;
    case WM_ACTIVATEAPP:
        if (m_bFullscreen) {
            OnActivateApp(wParam);
        }
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_EXIT) {
            Log("Receiving a IDM_EXIT message\n");
            WndMsgProc(window, WM_CLOSE, 0, 0);
            return 0;
        }
        return 0;
    case WM_LUMIVEXIS_PLAY_MUSIC:
        GetSound().Play();
        return 0;
    case WM_LUMIVEXIS_STOP_MUSIC:
        GetSound().Stop();
        return 0;
    default:
        return 0;
    }
}

void CScreen::OnActivateApp(WPARAM wParam) {
    const bool active = wParam != 0 && m_hwnd != nullptr && m_hwnd->IsForeground();
    if ((active && m_bPausedByDeactivation) || m_bFirstActivationPending) {
        m_RunEvent.SetEvent();
        if (m_hwnd != nullptr) {
            m_hwnd->SetTitle(m_Title);
        }
        m_bPausedByDeactivation = false;
        m_bFirstActivationPending = false;
    }
    // A run that is ending is not paused: BeginScene must let it finish.
    if (!active && !m_bPausedByDeactivation && !m_bStop) {
        m_RunEvent.ResetEvent();
        if (m_hwnd != nullptr) {
            m_hwnd->SetTitle(m_Title + " [paused]");
        }
        m_bPausedByDeactivation = true;
    }
}

void CScreen::SetStopFlag() {
    {
        std::lock_guard<CMutex> guard(m_StopMutex);
        m_bStop = true;
    }
    // A paused full-screen run would otherwise never reach IsRunning again.
    m_RunEvent.SetEvent();
}

void CScreen::StopRun() {
    SetStopFlag();
}

bool CScreen::IsRunning() const {
    return !m_bStop;
}

bool CScreen::IsInitialized() const {
    return m_bInitialized;
}

void CScreen::WaitForRenderThread() {
    if (m_RenderThread.joinable() && m_RenderThread.get_id() != std::this_thread::get_id()) {
        m_RenderThread.join();
    }
}

void CScreen::RenderThreadProc() {
    RunLumivexis();
    PostToWindow(WM_CLOSE);
}

void CScreen::PostToWindow(UINT message) {
    if (m_hwnd != nullptr) {
        m_hwnd->PostMessage(message);
    }
}

void CScreen::RunLumivexis() {
    m_bThreadFinished = false;
    {
        std::lock_guard<std::mutex> guard(m_errorsMutex);
        m_Errors.clear();
    }

    if (FAILED(InitD3D(m_hwnd))) {
        AddError("Error: Unable to init Direct3D. Please install DirectX 8.1 or better.");
        // Direct3D may exist without a device; it is not kept for the
        // next run.
        m_pD3D.Reset();
    } else {
        m_pFont = std::make_unique<CD3DFont>("Arial", 12, D3DFONT_BOLD);
        m_pFont->Init();
        m_Keyboard.Init(m_hwnd);
        m_Mouse.Init(m_hwnd);
        m_RenderTexturePass.OnDeviceCreated();
        m_bInitialized = true;

        if (m_pListener != nullptr) {
            try {
                m_pListener->Run();
            } catch (...) {
                // The run ends either way; cleaning up matters more.
            }
        }
        m_Keyboard.CleanUp();
        m_Mouse.CleanUp();
        m_pFont.reset();
        Cleanup();
        Log("CLEAN UP FULL DONE!");
    }

    m_bInitialized = true;
    bool hasErrors = false;
    {
        std::lock_guard<std::mutex> guard(m_errorsMutex);
        hasErrors = !m_Errors.empty();
    }
    if (hasErrors) {
        PostToWindow(WM_LUMIVEXIS_ERRORS);
    }
    m_bThreadFinished = true;
}

void CScreen::AddError(const CString& error) {
    std::lock_guard<std::mutex> guard(m_errorsMutex);
    m_Errors.push_back(error);
}

std::vector<CString> CScreen::GetErrors() const {
    std::lock_guard<std::mutex> guard(m_errorsMutex);
    return m_Errors;
}

void CScreen::DisplayErrors() {
    const std::vector<CString> errors = GetErrors();
    if (errors.empty()) {
        return;
    }
    CString text = "Errors occured during the DirectX Initialization:";
    bool namesDirectX = false;
    for (const CString& error : errors) {
        text += "\n - ";
        text += error;
        namesDirectX = namesDirectX || error.find("DirectX 8.1") != std::string::npos;
    }
    // "DirectX 8.1" means nothing on Linux: say what to install here.
    if (namesDirectX) {
        text += "\n";
        text += kLinuxDriverHint;
    }
    CTools::Error(text);
}

CMP3Player& CScreen::GetSound() {
    return *m_pSound;
}

IDirect3DDevice8* CScreen::GetD3DDevice() const {
    return m_pd3dDevice.Get();
}

int CScreen::GetScreenModeNumber() const {
    return m_pD3D ? static_cast<int>(m_pD3D->GetAdapterModeCount(D3DADAPTER_DEFAULT)) : 0;
}

D3DDISPLAYMODE CScreen::GetScreenMode(int index) const {
    D3DDISPLAYMODE mode{};
    if (m_pD3D && index >= 0) {
        m_pD3D->EnumAdapterModes(D3DADAPTER_DEFAULT, static_cast<UINT>(index), &mode);
    }
    return mode;
}

void CScreen::DisplayResolutionDlg() {
    SDisplaySettings settings;
    settings.resolution = m_Resolution;
    settings.colorDepth = m_iColorDepth;
    settings.fullscreen = m_bFullscreen;
    settings.viewInfo = m_bViewInfo;
    std::string error;
    if (!CPlatformRegistry::RunSettingsDialog(settings, error)) {
        if (!error.empty()) {
            Log("CScreen::DisplayResolutionDlg => %s\n", error.c_str());
        }
        return;
    }
    m_Resolution = static_cast<TResolutionEnum>(settings.resolution);
    m_iColorDepth = settings.colorDepth;
    m_bFullscreen = settings.fullscreen;
    m_bViewInfo = settings.viewInfo;
}

// ================================================================== Direct3D

HRESULT CScreen::InitD3D(HWND window) {
    Log("CScreen::InitD3D => Start\n");
    m_bDesktopModeFallback = false;
    m_pD3D.Reset(Direct3DCreate8(D3D_SDK_VERSION));
    if (!m_pD3D) {
        Log("CScreen::InitD3D => Unable to create m_pD3D\n");
        return E_FAIL;
    }
    if (m_bUseDesktopScreen || !m_bFullscreen) {
        return InitD3DDevice(window);
    }

    Log("CScreen::InitD3D => Test Screen Modes [m_bUseDesktopScreen=%d] [m_bFullscreen=%d]\n",
        m_bUseDesktopScreen ? 1 : 0, m_bFullscreen ? 1 : 0);
    Log("CScreen::InitD3D => Mode Count Number=%d\n", GetScreenModeNumber());
    if (CAdapterModeSearch(*m_pD3D.Get(), true).FindFullscreenMode(GetXResolution(), GetYResolution())) {
        return InitD3DDevice(window);
    }
    // A saver made for another monitor still plays: at the desktop's mode,
    // the picture scaled to it.
    Log("CScreen::InitD3D => No Valid Mode Found! Using the desktop's mode instead\n");
    m_bDesktopModeFallback = true;
    return InitD3DDevice(window);
}

HRESULT CScreen::InitD3DDevice(HWND window) {
    Log("CScreen::InitD3DDevice => start...\n");
    D3DDISPLAYMODE desktop{};
    if (FAILED(m_pD3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop))) {
        Log("CScreen::InitD3DDevice => unable to retrieve the current adapter mode... LEAVING\n");
        AddError("Error: Unable to retrieve the current adapter display mode.");
        return E_FAIL;
    }

    m_d3dpp = D3DPRESENT_PARAMETERS{};
    const D3DFORMAT fullScreenFormat = m_iColorDepth == 1 ? D3DFMT_A8R8G8B8 : D3DFMT_R5G6B5;
    const bool desktopSize = m_bUseDesktopScreen || m_bDesktopModeFallback;
    if (m_bUseDesktopScreen || m_bFullscreen) {
        m_d3dpp.BackBufferWidth = desktopSize ? desktop.Width : static_cast<UINT>(GetXResolution());
        m_d3dpp.BackBufferHeight = desktopSize ? desktop.Height : static_cast<UINT>(GetYResolution());
        m_d3dpp.BackBufferFormat = fullScreenFormat;
        m_d3dpp.SwapEffect = D3DSWAPEFFECT_FLIP;
        m_d3dpp.Windowed = FALSE;
        m_d3dpp.FullScreen_RefreshRateInHz = 0;
        m_d3dpp.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    } else {
        // 0 x 0: the window's client area.
        m_d3dpp.BackBufferFormat = desktop.Format;
        m_d3dpp.SwapEffect = D3DSWAPEFFECT_COPY_VSYNC;
        m_d3dpp.Windowed = TRUE;
    }
    m_d3dpp.EnableAutoDepthStencil = TRUE;
    m_d3dpp.AutoDepthStencilFormat = D3DFMT_D16;

    Log("CScreen::InitD3DDevice => Reset3DDevice\n");
    if (ResetD3DDevice()) {
        Log("CScreen::InitD3DDevice => Reset3DDevice:: SUCCESS\n");
    } else {
        Log("CScreen::InitD3DDevice => Reset3DDevice:: FAILED\n");
    }

    DWORD behavior = 0;
    if (m_bSoftwareVertexProcessing) {
        Log("CScreen::InitD3DDevice => Create Software Vertex Processing \n");
        behavior = D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED;
    } else {
        Log("CScreen::InitD3DDevice => Create Mixed Vertex Processing \n");
        behavior = D3DCREATE_MIXED_VERTEXPROCESSING | D3DCREATE_MULTITHREADED;
    }
    Log("CScreen::InitD3DDevice => Try to create the device...\n");
    LogPresentParameters(behavior);

    HRESULT result = m_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, behavior, &m_d3dpp,
                                          m_pd3dDevice.ReleaseAndGetAddressOf());
    if (FAILED(result)) {
        Log("CScreen::InitD3DDevice => Try to create the device: FAILED, then try to create a software vertex "
            "processing device...\n");
        ReportDeviceFailure(result, false);
        result = m_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                      D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED, &m_d3dpp,
                                      m_pd3dDevice.ReleaseAndGetAddressOf());
        if (FAILED(result)) {
            m_pd3dDevice.Reset();
            Log("CScreen::InitD3DDevice => then try to create a software vertex processing device: FAILED TOO! "
                "LEAVING!!\n");
            ReportDeviceFailure(result, true);
            return E_FAIL;
        }
    }

    Log("CScreen::InitD3DDevice => 3d device creation OK\n");
    Log("CScreen::InitD3DDevice => Free mem:%d\n", static_cast<int>(m_pd3dDevice->GetAvailableTextureMem()));
    m_pd3dDevice->SetRenderState(D3DRS_ZENABLE, TRUE);
    // Direct3D wrote the back buffer's size into the parameters.
    m_fBackBufferAspect = BackBufferAspect(m_d3dpp);
    {
        std::lock_guard<std::mutex> guard(m_cameraMutex);
        m_matProj = MakeProjection(m_fFieldOfView, ProjectionAspect(), kNearPlane, kFarPlane);
        m_pd3dDevice->SetTransform(D3DTS_PROJECTION, &m_matProj);
        const D3DXVECTOR3 eye(0.0f, 3.0f, 5.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
        D3DXMATRIX view;
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        m_pd3dDevice->SetTransform(D3DTS_VIEW, &view);
        m_RemoteCamera.m_vPosition = D3DXVECTOR3(0.0f, 8.0f, 0.0f);
        m_RemoteCamera.m_vDirection = D3DXVECTOR3(0.0f, 8.0f, 0.0f);
        m_RemoteCamera.m_vUp = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
        m_RemoteCamera.Update();
    }
    Log("CScreen::InitD3DDevice => returns OK\n");
    return S_OK;
}

void CScreen::LogPresentParameters(DWORD behavior) {
    Log("Settings:\n");
    Log("hWnd:%d\n", WindowNumber(m_hwnd));
    Log("behavior:%d\n", static_cast<int>(behavior));
    Log("m_d3dpp.BackBufferWidth:%d\n", static_cast<int>(m_d3dpp.BackBufferWidth));
    Log("m_d3dpp.BackBufferHeight:%d\n", static_cast<int>(m_d3dpp.BackBufferHeight));
    Log("m_d3dpp.BackBufferFormat:%d\n", static_cast<int>(m_d3dpp.BackBufferFormat));
    Log("m_d3dpp.BackBufferCount:%d\n", static_cast<int>(m_d3dpp.BackBufferCount));
    Log("m_d3dpp.MultiSampleType:%d\n", static_cast<int>(m_d3dpp.MultiSampleType));
    Log("m_d3dpp.SwapEffect:%d\n", static_cast<int>(m_d3dpp.SwapEffect));
    Log("m_d3dpp.hDeviceWindow:%d\n", WindowNumber(m_d3dpp.hDeviceWindow));
    Log("m_d3dpp.Windowed:%d\n", static_cast<int>(m_d3dpp.Windowed));
    Log("m_d3dpp.EnableAutoDepthStencil:%d\n", static_cast<int>(m_d3dpp.EnableAutoDepthStencil));
    Log("m_d3dpp.AutoDepthStencilFormat:%d\n", static_cast<int>(m_d3dpp.AutoDepthStencilFormat));
    Log("m_d3dpp.Flags:%d\n", static_cast<int>(m_d3dpp.Flags));
    Log("m_d3dpp.FullScreen_RefreshRateInHz:%d\n", static_cast<int>(m_d3dpp.FullScreen_RefreshRateInHz));
    Log("m_d3dpp.FullScreen_PresentationInterval:%d\n", static_cast<int>(m_d3dpp.FullScreen_PresentationInterval));
}

void CScreen::ReportDeviceFailure(HRESULT result, bool asError) {
    if (result == D3DERR_INVALIDCALL) {
        if (asError) {
            AddError("Unable to init Direct3D device: Invalid call.");
        } else {
            Log("CScreen::InitD3DDevice => D3DERR_INVALIDCALL\n");
        }
    } else if (result == D3DERR_NOTAVAILABLE) {
        if (asError) {
            AddError(
                "Unable to init Direct3D device: The requested screen mode is not available on your graphic "
                "card.");
        } else {
            Log("CScreen::InitD3DDevice => D3DERR_NOTAVAILABLE \n");
        }
    } else if (result == D3DERR_OUTOFVIDEOMEMORY) {
        if (asError) {
            AddError("Unable to init Direct3D device: Out of memory.");
        } else {
            Log("CScreen::InitD3DDevice => D3DERR_OUTOFVIDEOMEMORY \n");
        }
    }
}

bool CScreen::ResetD3DDevice() {
    if (!m_pd3dDevice || m_pd3dDevice->TestCooperativeLevel() != D3DERR_DEVICENOTRESET) {
        return false;
    }
    return SUCCEEDED(m_pd3dDevice->Reset(&m_d3dpp));
}

void CScreen::CheckAndRestoreSurfaces() {
    // Full screen only (the presentation is not windowed, which includes the
    // desktop-sized full screen).
    if (m_d3dpp.Windowed) {
        return;
    }
    std::lock_guard<CMutex> guard(m_registeredMutex);
    // CleanUp unregisters an object, so the list is taken over first. The
    // objects wait, cleaned up, until a reset succeeds (possibly several
    // frames later) and are initialised again in their order.
    std::list<CObjects*> lost;
    lost.swap(m_RegisteredObjects);
    for (CObjects* object : lost) {
        object->CleanUp();
    }
    m_ObjectsAwaitingReset.splice(m_ObjectsAwaitingReset.end(), lost);
    // Default-pool resources block a reset: the render targets always go.
    m_RenderTexturePass.OnDeviceLost();
    if (!ResetD3DDevice()) {
        return;
    }
    m_RenderTexturePass.OnDeviceReset();
    RestoreObjectsAfterReset();
}

void CScreen::FollowWindowSize() {
    IDirect3DDevice8* device = m_pd3dDevice.Get();
    if (device == nullptr || !m_d3dpp.Windowed || m_hwnd == nullptr) {
        return;
    }
    const SIZE client = m_hwnd->GetClientSize();
    // A minimised window has no size to follow.
    const bool drawable = client.cx > 0 && client.cy > 0;
    const bool matches = client.cx == static_cast<LONG>(m_d3dpp.BackBufferWidth) &&
                         client.cy == static_cast<LONG>(m_d3dpp.BackBufferHeight);
    if (!drawable || matches) {
        return;
    }
    Log("CScreen::FollowWindowSize => the window is now %d x %d, the back buffer %d x %d\n",
        static_cast<int>(client.cx), static_cast<int>(client.cy), static_cast<int>(m_d3dpp.BackBufferWidth),
        static_cast<int>(m_d3dpp.BackBufferHeight));
    // Not a Reset: that would clean up and initialise again every object,
    // which cannot always load its textures again (those a scene file
    // carries), only for a window's new size.
    if (FAILED(D3D8FollowWindowSize(device, &m_d3dpp))) {
        return;
    }
    m_fBackBufferAspect = BackBufferAspect(m_d3dpp);
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    m_matProj = MakeProjection(m_fFieldOfView, ProjectionAspect(), kNearPlane, kFarPlane);
}

void CScreen::RestoreObjectsAfterReset() {
    std::lock_guard<CMutex> guard(m_registeredMutex);
    std::list<CObjects*> waiting;
    waiting.swap(m_ObjectsAwaitingReset);
    for (CObjects* object : waiting) {
        // The render-target quad is initialised again with the render
        // texture; it must not be initialised twice.
        if (std::find(m_RegisteredObjects.begin(), m_RegisteredObjects.end(), object) == m_RegisteredObjects.end()) {
            object->Init();
        }
    }
}

void CScreen::Cleanup() {
    Log("CScreen::CleanUp...\n");
    m_RenderTexturePass.OnDeviceDestroyed();
    ResetD3DDevice();
    m_pd3dDevice.Reset();
    m_pD3D.Reset();
    // Projections made without a device take the resolution's aspect again.
    m_fBackBufferAspect = 0.0f;
}

// ======================================================== registered objects

void CScreen::RegisterObject(CObjects& object) {
    std::lock_guard<CMutex> guard(m_registeredMutex);
    m_RegisteredObjects.push_back(&object);
}

void CScreen::UnregisterObject(CObjects& object) {
    std::lock_guard<CMutex> guard(m_registeredMutex);
    auto found = std::find(m_RegisteredObjects.begin(), m_RegisteredObjects.end(), &object);
    if (found != m_RegisteredObjects.end()) {
        m_RegisteredObjects.erase(found);
        return;
    }
    // An object destroyed while the device is lost must not be initialised
    // after the reset.
    found = std::find(m_ObjectsAwaitingReset.begin(), m_ObjectsAwaitingReset.end(), &object);
    if (found != m_ObjectsAwaitingReset.end()) {
        m_ObjectsAwaitingReset.erase(found);
    }
}

bool CScreen::IsObjectRegistered(const CObjects& object) const {
    std::lock_guard<CMutex> guard(m_registeredMutex);
    return std::find(m_RegisteredObjects.begin(), m_RegisteredObjects.end(), &object) != m_RegisteredObjects.end() ||
           std::find(m_ObjectsAwaitingReset.begin(), m_ObjectsAwaitingReset.end(), &object) !=
               m_ObjectsAwaitingReset.end();
}

int CScreen::GetRegisteredObjectNumber() const {
    std::lock_guard<CMutex> guard(m_registeredMutex);
    return static_cast<int>(m_RegisteredObjects.size());
}

// ==================================================================== frames

void CScreen::BeginScene(bool clear) {
    m_RunEvent.Wait(INFINITE);
    BeginSceneSync(clear);
}

void CScreen::BeginSceneSync(bool clear) {
    // Between frames: a window that changed its size gets a back buffer of
    // the new size before anything is drawn.
    FollowWindowSize();
    IDirect3DDevice8* device = m_pd3dDevice.Get();
    if (device != nullptr) {
        const D3DCOLOR background = m_BackgroundColor;
        if (!m_RenderTexturePass.IsRenderOnTexture() && clear) {
            device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1.0f, 0);
        }
        device->SetRenderState(D3DRS_ZENABLE, TRUE);
        device->SetRenderState(D3DRS_DITHERENABLE, FALSE);
        device->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
        device->SetRenderState(D3DRS_LIGHTING, TRUE);
        device->SetRenderState(D3DRS_AMBIENT, m_bAmbientLight ? ToARGB(GetAmbientColor()) : 0);

        device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
        device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);

        device->SetRenderState(D3DRS_FOGENABLE, m_bFogEnabled ? TRUE : FALSE);
        device->SetRenderState(D3DRS_FOGCOLOR, ToARGB(GetFogColor()));
        device->SetRenderState(D3DRS_FOGSTART, FloatBits(m_fFogStart));
        device->SetRenderState(D3DRS_FOGEND, FloatBits(m_fFogEnd));
        device->SetRenderState(D3DRS_FOGDENSITY, FloatBits(m_fFogDensity));
        device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_NONE);
        device->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);

        m_RenderTexturePass.ProcessFeedbackBegin(clear, m_BackgroundColor);
        device->BeginScene();
    }
    SetupMatrices();
    m_Clock.StepClock();
}

void CScreen::SetupMatrices() {
    IDirect3DDevice8* device = m_pd3dDevice.Get();
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    D3DXMatrixIdentity(&m_matWorld);
    if (device != nullptr) {
        device->SetTransform(D3DTS_WORLD, &m_matWorld);
    }

    CString line;
    if (m_bUserCamera) {
        m_UserCamera.Update();
        if (device != nullptr) {
            device->SetTransform(D3DTS_VIEW, &m_UserCamera.m_matView);
        }
        const D3DXVECTOR3& p = m_UserCamera.m_vPosition;
        const D3DXVECTOR3 forward = m_UserCamera.GetForward();
        line.Format("User Camera position X:%.02f Y:%.02f Z:%.02f x:%.02f y:%.02f z:%.02f", p.x, p.y, p.z, forward.x,
                    forward.y, forward.z);
    } else {
        m_RemoteCamera.Update();
        if (device != nullptr) {
            device->SetTransform(D3DTS_VIEW, &m_RemoteCamera.m_matView);
        }
        const D3DXVECTOR3& p = m_RemoteCamera.m_vPosition;
        const D3DXVECTOR3& d = m_RemoteCamera.m_vDirection;
        line.Format("Remote Camera position X:%.02f Y:%.02f Z:%.02f x:%.02f y:%.02f z:%.02f", p.x, p.y, p.z, d.x, d.y,
                    d.z);
    }
    {
        std::lock_guard<std::mutex> textGuard(m_textMutex);
        m_InfoLine2 = line;
    }

    // The device's projection is a fixed square one; objects load their own
    // from GetProjMatrix when they draw.
    if (device != nullptr) {
        const D3DXMATRIX projection = MakeProjection(m_fFieldOfView, 1.0f, 0.0f, 100.0f);
        device->SetTransform(D3DTS_PROJECTION, &projection);
    }
}

void CScreen::EndScene(bool present) {
    IDirect3DDevice8* device = m_pd3dDevice.Get();
    if (device == nullptr) {
        return;
    }
    DrawOverlay();
    m_RenderTexturePass.ProcessFeedbackEnd();
    device->EndScene();
    if (present && device->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST) {
        CheckAndRestoreSurfaces();
    }
}

void CScreen::MeasureFrameRate(int& frames, DWORD& lastTime, float& fps) {
    ++frames;
    const DWORD now = timeGetTime();
    const float elapsed = static_cast<float>(now - lastTime) * 0.001f;
    if (elapsed > 1.0f) {
        fps = static_cast<float>(frames) / elapsed;
        frames = 0;
        lastTime = now;
    }
}

void CScreen::DrawOverlay() {
    CString info;
    CString info2;
    CString messages[8];
    if (m_bViewInfo) {
        MeasureFrameRate(m_iInfoFrames, m_dwInfoLastTime, m_fFPS);
        info.Format("Lumivexis Engine V%s (Time: %.01f[s], FPS: %.02f)", m_Version.c_str(),
                    static_cast<double>(GetTickCount()), static_cast<double>(m_fFPS));
    } else if (m_bShowFPS) {
        MeasureFrameRate(m_iFpsFrames, m_dwFpsLastTime, m_fFPS);
        info.Format("Refresh: %.00f [FPS]", static_cast<double>(m_fFPS));
    }
    {
        std::lock_guard<std::mutex> guard(m_textMutex);
        info2 = m_InfoLine2;
        std::copy(std::begin(m_Messages), std::end(m_Messages), std::begin(messages));
    }
    if (m_pFont == nullptr) {
        return;
    }
    if (m_bViewInfo) {
        m_pFont->DrawTextA(kOverlayX, 0.0f, kOverlayColor, info.c_str(), 0);
        m_pFont->DrawTextA(kOverlayX, 20.0f, kOverlayColor, info2.c_str(), 0);
    } else if (m_bShowFPS) {
        m_pFont->DrawTextA(kOverlayX, 0.0f, kOverlayColor, info.c_str(), 0);
    }
    for (int line = 0; line < 8; ++line) {
        m_pFont->DrawTextA(kOverlayX, 40.0f + 20.0f * static_cast<float>(line), kOverlayColor, messages[line].c_str(),
                           0);
    }
}

void CScreen::Clear() {
    if (m_pd3dDevice) {
        m_pd3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, m_BackgroundColor | 0xFF000000u, 1.0f, 0);
    }
}

void CScreen::ClearZ() {
    if (m_pd3dDevice) {
        m_pd3dDevice->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    }
}

void CScreen::DisplayMessage(const CString& text, int line) {
    if (line < 0 || line >= 8) {
        return;
    }
    std::lock_guard<std::mutex> guard(m_textMutex);
    m_Messages[line] = text;
}

// ==================================================================== camera

float CScreen::ProjectionAspect() const {
    const float backBuffer = m_fBackBufferAspect;
    if (backBuffer > 0.0f) {
        return backBuffer;
    }
    return static_cast<float>(GetXResolution()) / static_cast<float>(GetYResolution());
}

D3DXMATRIX CScreen::MakeProjection(float fovY, float aspect, float zNear, float zFar) const {
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, fovY, aspect, zNear, zFar);
    return projection;
}

void CScreen::SetCamera(const D3DXVECTOR3& eye, const D3DXVECTOR3& direction, const D3DXVECTOR3& up) {
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    m_bUserCamera = false;
    m_RemoteCamera.m_vPosition = eye;
    m_RemoteCamera.m_vDirection = direction;
    m_RemoteCamera.m_vUp = up;
    m_RemoteCamera.Update();
}

void CScreen::SetCamera(const D3DXVECTOR3& eye, const D3DXVECTOR3& direction) {
    SetCamera(eye, direction, D3DXVECTOR3(0.0f, 1.0f, 0.0f));
}

void CScreen::SetCamera(float eyeX, float eyeY, float eyeZ, float dirX, float dirY, float dirZ) {
    SetCamera(D3DXVECTOR3(eyeX, eyeY, eyeZ), D3DXVECTOR3(dirX, dirY, dirZ));
}

void CScreen::SetCamera(float eyeX, float eyeY, float eyeZ, float dirX, float dirY, float dirZ, float upX, float upY,
                        float upZ) {
    SetCamera(D3DXVECTOR3(eyeX, eyeY, eyeZ), D3DXVECTOR3(dirX, dirY, dirZ), D3DXVECTOR3(upX, upY, upZ));
}

void CScreen::SetCamera(CMove& move) {
    D3DXVECTOR3 eye;
    D3DXVECTOR3 direction;
    D3DXVECTOR3 up;
    move.GetCurrentPosition(eye.x, eye.y, eye.z, direction.x, direction.y, direction.z, up.x, up.y, up.z);
    SetCamera(eye, direction, up);
}

void CScreen::SetCameraRotation(float x, float y, float z, float yaw, float pitch, float roll) {
    D3DXQUATERNION rotation;
    D3DXQuaternionRotationYawPitchRoll(&rotation, yaw, pitch, roll);
    D3DXMATRIX turn;
    D3DXMatrixRotationQuaternion(&turn, &rotation);
    const D3DXVECTOR3 ahead(0.0f, 0.0f, 1.0f);
    D3DXVECTOR3 direction;
    D3DXVec3TransformNormal(&direction, &ahead, &turn);

    std::lock_guard<std::mutex> guard(m_cameraMutex);
    m_RemoteCamera.m_vPosition = D3DXVECTOR3(x, y, z);
    m_RemoteCamera.m_vDirection = direction;
    m_RemoteCamera.Update();
}

void CScreen::SetMouseCamera(float mx, float my, float mz, float yaw, float pitch, float wheel) {
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    m_bUserCamera = true;
    m_UserCamera.m_vPendingMove += D3DXVECTOR3(mx, my, mz);
    m_UserCamera.m_fPendingYaw += yaw;
    m_UserCamera.m_fPendingPitch += pitch;
    m_UserCamera.m_fPendingWheel += wheel;
}

bool CScreen::IsUserCameraMode() const {
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    return m_bUserCamera;
}

CCamera& CScreen::GetCamera() {
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    if (m_bUserCamera) {
        return m_UserCamera;
    }
    return m_RemoteCamera;
}

void CScreen::GetCameraPosition(D3DXVECTOR3& position, D3DXVECTOR3& direction) const {
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    if (m_bUserCamera) {
        position = m_UserCamera.m_vPosition;
        direction = m_UserCamera.GetForward();
    } else {
        position = m_RemoteCamera.m_vPosition;
        direction = m_RemoteCamera.m_vDirection;
    }
}

void CScreen::GetCameraPosition(float& x, float& y, float& z, float& dirX, float& dirY, float& dirZ) const {
    D3DXVECTOR3 position;
    D3DXVECTOR3 direction;
    GetCameraPosition(position, direction);
    x = position.x;
    y = position.y;
    z = position.z;
    dirX = direction.x;
    dirY = direction.y;
    dirZ = direction.z;
}

D3DXMATRIX CScreen::GetViewMatrix() const {
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    return m_bUserCamera ? m_UserCamera.m_matView : m_RemoteCamera.m_matView;
}

D3DXMATRIX CScreen::GetWorldMatrix() const {
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    return m_matWorld;
}

D3DXMATRIX CScreen::GetProjMatrix() const {
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    return m_matProj;
}

void CScreen::SetFieldOfView(float fovY) {
    m_fFieldOfView = fovY;
    const D3DXMATRIX projection = MakeProjection(fovY, ProjectionAspect(), kNearPlane, kFarPlane);
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    m_matProj = projection;
}

void CScreen::ResetFieldOfView() {
    SetFieldOfView(D3DX_PI / 4.0f);
}

float CScreen::GetFieldOfView() const {
    return m_fFieldOfView;
}

// ============================================================ scene settings

void CScreen::SetBackgroundColor(D3DCOLORVALUE color) {
    m_BackgroundColor = ToARGB(color);
}

D3DCOLORVALUE CScreen::GetBackgroundColor() const {
    return FromARGB(m_BackgroundColor);
}

D3DCOLOR CScreen::GetBackgroundColorARGB() const {
    return m_BackgroundColor;
}

void CScreen::EnableFog(bool enable) {
    m_bFogEnabled = enable;
}

bool CScreen::IsFogEnabled() const {
    return m_bFogEnabled;
}

void CScreen::SetFogColor(D3DCOLORVALUE color) {
    std::lock_guard<std::mutex> guard(m_sceneSettingsMutex);
    m_FogColor = color;
}

D3DCOLORVALUE CScreen::GetFogColor() const {
    std::lock_guard<std::mutex> guard(m_sceneSettingsMutex);
    return m_FogColor;
}

void CScreen::SetFogStart(float start) {
    m_fFogStart = start;
}

float CScreen::GetFogStart() const {
    return m_fFogStart;
}

void CScreen::SetFogEnd(float end) {
    m_fFogEnd = end;
}

float CScreen::GetFogEnd() const {
    return m_fFogEnd;
}

void CScreen::SetFogDensity(float density) {
    m_fFogDensity = density;
}

float CScreen::GetFogDensity() const {
    return m_fFogDensity;
}

void CScreen::SetAmbientLight(int on) {
    m_bAmbientLight = on != 0;
}

bool CScreen::GetAmbientLight() const {
    return m_bAmbientLight;
}

void CScreen::SetAmbientColor(D3DCOLORVALUE color) {
    std::lock_guard<std::mutex> guard(m_sceneSettingsMutex);
    m_AmbientColor = color;
}

D3DCOLORVALUE CScreen::GetAmbientColor() const {
    std::lock_guard<std::mutex> guard(m_sceneSettingsMutex);
    return m_AmbientColor;
}

void CScreen::SetLightVectorForEffect(const D3DXVECTOR3& light) {
    std::lock_guard<std::mutex> guard(m_sceneSettingsMutex);
    m_vLightVectorForEffect = light;
}

D3DXVECTOR3 CScreen::GetLightVectorForEffect() const {
    std::lock_guard<std::mutex> guard(m_sceneSettingsMutex);
    return m_vLightVectorForEffect;
}

// ===================================================================== clock

float CScreen::GetTickCount() const {
    return m_Clock.GetTickCount();
}

float CScreen::GetRealCurrentTime() const {
    return m_Clock.GetRealCurrentTime();
}

void CScreen::Play(float speed) {
    m_Clock.Play(speed);
}

void CScreen::Pause() {
    m_Clock.Pause();
}

void CScreen::Stop() {
    m_Clock.Stop();
    m_fLastKeyCameraTime = 0.0f;  // the clock went back to 0
}

bool CScreen::IsStopped() const {
    return m_Clock.IsStopped();
}

float CScreen::GetPlaySpeed() const {
    return m_Clock.GetPlaySpeed();
}

void CScreen::SetTime(float seconds) {
    m_Clock.SetTime(seconds);
}

void CScreen::ResetTime() {
    m_Clock.ResetTime();
    m_fLastKeyCameraTime = 0.0f;
}

void CScreen::SetTotalTime(float seconds) {
    m_Clock.SetTotalTime(seconds);
}

float CScreen::GetTotalTime() const {
    return m_Clock.GetTotalTime();
}

void CScreen::SetLoop(bool loop) {
    m_Clock.SetLoop(loop);
}

bool CScreen::IsLoop() const {
    return m_Clock.IsLoop();
}

void CScreen::SetClockSource(ClockSource source) {
    m_Clock.SetClockSource(std::move(source));
}

// ========================================================= render to texture

void CScreen::RenderOnTexture(bool on) {
    m_RenderTexturePass.RenderOnTexture(on, GetXResolution());
}

bool CScreen::IsRenderOnTexture() const {
    return m_RenderTexturePass.IsRenderOnTexture();
}

UINT CScreen::GetRenderTextureWidth() const {
    return m_RenderTexturePass.GetRenderTextureWidth();
}

UINT CScreen::GetRenderTextureHeight() const {
    return m_RenderTexturePass.GetRenderTextureHeight();
}

IDirect3DTexture8* CScreen::GetRenderTexture() const {
    return m_RenderTexturePass.GetRenderTexture();
}

CPlaneObject& CScreen::GetTexturePlane() {
    return m_RenderTexturePass.GetTexturePlane();
}

void CScreen::Feedback(bool on) {
    m_RenderTexturePass.Feedback(on);
}

void CScreen::SetBlurMode(bool blur) {
    m_RenderTexturePass.SetBlurMode(blur);
}

void CScreen::SetBlurFactor(float a, float b) {
    m_RenderTexturePass.SetBlurFactor(a, b);
}

void CScreen::SetRenderPosition(float x0, float y0, float x1, float y1) {
    m_RenderTexturePass.SetRenderPosition(x0, y0, x1, y1);
}

void CScreen::SetAlphaTexture(float alpha) {
    m_RenderTexturePass.SetAlphaTexture(alpha);
}

void CScreen::SetFadeTexture(float fade) {
    m_RenderTexturePass.SetFadeTexture(fade);
}

void CScreen::MiddleScene() {
    m_RenderTexturePass.MiddleScene();
}

// ===================================================================== input

DWORD CScreen::KeyboardReadData() {
    return m_Keyboard.ReadData();
}

DWORD CScreen::KeyboardReadData2() {
    return m_Keyboard.ReadData2();
}

BYTE CScreen::MouseReadData(LONG& dx, LONG& dy, LONG& dz) {
    return m_Mouse.ReadData(dx, dy, dz);
}

float CScreen::GetKeyCameraSpeed() const {
    return m_fKeyCameraSpeed;
}

void CScreen::KeyCamera() {
    const float now = GetRealCurrentTime();
    const float elapsed = now - m_fLastKeyCameraTime;
    m_fLastKeyCameraTime.store(now);
    const float step = elapsed * m_fKeyCameraSpeed;

    const DWORD keys = KeyboardReadData();
    LONG mx = 0;
    LONG my = 0;
    LONG wheel = 0;
    MouseReadData(mx, my, wheel);

    // Where opposite keys are held together, the later test wins.
    D3DXVECTOR3 move(0.0f, 0.0f, 0.0f);
    if ((keys & CKeyboard::kLeft) != 0)
        move.x = -step;
    if ((keys & CKeyboard::kRight) != 0)
        move.x = step;
    if ((keys & CKeyboard::kUp) != 0)
        move.z = step;
    if ((keys & CKeyboard::kDown) != 0)
        move.z = -step;
    if ((keys & CKeyboard::kRightShift) != 0)
        move.y = step;
    if ((keys & CKeyboard::kRightControl) != 0)
        move.y = -step;
    if ((keys & CKeyboard::kLeftControl) != 0)
        m_fKeyCameraSpeed = 5.0f;
    if ((keys & CKeyboard::kLeftShift) != 0)
        m_fKeyCameraSpeed = 100.0f;

    SetMouseCamera(move.x, move.y, move.z, static_cast<float>(mx) * 0.05f, static_cast<float>(my) * 0.05f,
                   static_cast<float>(wheel) * 0.05f);
}
