#include "core/CScreen.h"

#include <algorithm>
#include <bit>
#include <cstdarg>
#include <system_error>

#include "core/CD3DFont.h"
#include "core/CScreenListener.h"
#include "core/CTools.h"
#include "objects/CPlaneObject.h"
#include "platform/base/Timing.h"
#include "platform/d3dxtex/d3dx8tex.h"
#include "platform/window/COutputWindow.h"
#include "platform/window/CPlatformRegistry.h"
#include "scene/CObjects.h"

namespace {

constexpr float kNearPlane = 0.1f;
constexpr float kFarPlane = 500.0f;
constexpr D3DCOLOR kOverlayColor = 0xC8FFFFFF;  // white, alpha 200
constexpr float kOverlayX = 2.0f;

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

}  // namespace

// The screen's render-target quad. The texture window must follow the blur
// factors at once, not only at the plane's next rebuild.
class CScreenTexturePlane : public CPlaneObject {
public:
    void ApplyTextureWindow() { RefreshTextureCoordinates(); }
};

CScreen* CScreen::m_pInstance = nullptr;

CScreen& CScreen::Instance() {
    // A function-local static is created once even when several threads ask
    // at the same time; the object itself is never destroyed.
    static CScreen* const created = (m_pInstance = new CScreen());
    return *created;
}

CScreen::CScreen() {
    OpenLog();
    m_Version = GetVersion();
    QueryPerformanceFrequency(&m_llPerformanceFrequency);
    if (m_llPerformanceFrequency <= 0) {
        m_llPerformanceFrequency = 1;
    }
    // Times are measured from here: seconds since the machine started do
    // not fit a float with millisecond resolution after a few hours.
    QueryPerformanceCounter(&m_llPerformanceOrigin);
    D3DXMatrixIdentity(&m_matWorld);
    D3DXMatrixPerspectiveFovLH(&m_matProj, m_fFieldOfView, 640.0f / 480.0f, kNearPlane, kFarPlane);
}

CScreen::~CScreen() {
    if (m_pLogFile != nullptr) {
        std::fclose(m_pLogFile);
    }
    std::lock_guard<std::mutex> guard(m_errorsMutex);
    m_Errors.clear();
}

void CScreen::OpenLog() {
    m_pLogFile = std::fopen("log.txt", "w");
    if (m_pLogFile == nullptr) {
        // Running from a folder we may not write to (an installed screensaver)
        // is normal: the engine then runs without its log.
        std::fprintf(stderr, "Lumivexis: cannot write log.txt in the current directory\n");
    }
}

void CScreen::Log(const char* format, ...) {
    std::lock_guard<std::mutex> guard(m_logMutex);
    if (m_pLogFile == nullptr) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(m_pLogFile, format, arguments);
    va_end(arguments);
    // Flushed line by line so that the log survives a crash, which is when it
    // is read most.
    std::fflush(m_pLogFile);
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
    if (m_pOwnWindow != nullptr) {
        m_pOwnWindow->SetTitle(title);
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

    const float now = myGetTickCount();
    m_fStartTime = now;
    m_fRealStartTime = now;
    m_fLastTick = now;
    m_fCurrentTime = 0.0f;
    m_fRealCurrentTime = 0.0f;
    m_RunEvent.SetEvent();
    m_bPausedByDeactivation = false;
    m_bFirstActivationPending = true;
    m_iMouseMoveCount = 0;
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

    if (m_pOwnWindow != nullptr) {
        Log("Enter the message loop...\n");
        RunMessageLoop();
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
    // The mode search should see the display's real modes (where the host
    // registered a source for them; otherwise the layer keeps its list).
    std::string error;
    CPlatformRegistry::RefreshDisplayModes(error);

    SOwnWindowRequest request;
    request.title = m_Title;
    request.width = GetXResolution();
    request.height = GetYResolution();
    request.topmost = m_bScreenSaverMode;
    if (m_bUseDesktopScreen) {
        request.mode = TOwnWindowMode::FullscreenDesktop;
    } else if (m_bFullscreen) {
        request.mode = TOwnWindowMode::Fullscreen;
    } else {
        request.mode = TOwnWindowMode::Windowed;
    }
    error.clear();
    std::unique_ptr<COutputWindow> window = CPlatformRegistry::CreateOwnWindow(request, error);
    if (window == nullptr) {
        Log("Create Window: %s\n", error.c_str());
        return false;
    }
    m_pOwnWindow = std::move(window);
    m_hwnd = m_pOwnWindow.get();
    return true;
}

void CScreen::CloseOwnWindow() {
    if (m_pOwnWindow == nullptr) {
        return;
    }
    // The render thread has destroyed its GL context; now the window can go.
    m_pOwnWindow->Close();
    MSG msg;
    while (m_pOwnWindow->PeekMessage(msg, true)) {
        if (msg.message == WM_DESTROY) {
            WndMsgProc(m_hwnd, msg.message, msg.wParam, msg.lParam);
        }
    }
    m_pOwnWindow.reset();
    m_hwnd = nullptr;
}

void CScreen::RunMessageLoop() {
    MSG msg;
    if (m_hwnd->PeekMessage(msg, false) && msg.message == WM_QUIT) {
        return;
    }
    bool quit = false;
    while (!quit) {
        // Waiting briefly for the next message instead of spinning: the
        // render thread does the drawing, this thread only reacts.
        if (!m_hwnd->WaitMessage(msg, 10)) {
            continue;
        }
        if (msg.message == WM_QUIT) {
            break;
        }
        quit = ProcessLoopMessage(msg);
    }
}

bool CScreen::ProcessLoopMessage(const MSG& msg) {
    HWND target = msg.hwnd != nullptr ? msg.hwnd : m_hwnd;
    if (!m_bScreenSaverMode) {
        if (!TranslateAccelerator(msg)) {
            WndMsgProc(target, msg.message, msg.wParam, msg.lParam);
        }
    } else if (msg.message == WM_LUMIVEXIS_PLAY_MUSIC || msg.message == WM_LUMIVEXIS_STOP_MUSIC) {
        // The clock's music requests are no user input: they are handled in
        // screensaver mode too, or the music would not restart on a loop.
        WndMsgProc(target, msg.message, msg.wParam, msg.lParam);
    }

    bool quit = false;
    if (msg.message == WM_CLOSE) {
        SetStopFlag();
        Log("Receiving a WM_CLOSE message\n");
        quit = true;
    }
    if (m_bScreenSaverMode) {
        ApplyScreenSaverRule(msg);
    }
    return quit;
}

bool CScreen::TranslateAccelerator(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE) {
        return false;
    }
    WndMsgProc(msg.hwnd != nullptr ? msg.hwnd : m_hwnd, WM_COMMAND, IDM_EXIT, 0);
    return true;
}

bool CScreen::ApplyScreenSaverRule(const MSG& msg) {
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        Log("Leaving screen saver .. receiving a key or a mouse button message\n");
        SetStopFlag();
        return true;
    case WM_MOUSEMOVE: {
        // Windows sends a few mouse moves when a window appears; only real
        // motion after the first ten ends the screensaver.
        const POINT cursor = m_hwnd != nullptr ? m_hwnd->GetCursorPos() : POINT{};
        ++m_iMouseMoveCount;
        const bool moved = cursor.x != m_LastCursor.x || cursor.y != m_LastCursor.y;
        m_LastCursor = cursor;
        if (m_iMouseMoveCount >= 11 && moved) {
            Log("Received a mouse move message. LEAVING!\n");
            SetStopFlag();
            return true;
        }
        return false;
    }
    case WM_ACTIVATEAPP:
        if (msg.wParam == 0) {
            SetStopFlag();
            return true;
        }
        return false;
    case WM_POWERBROADCAST:
        if (msg.wParam == PBT_APMSUSPEND) {
            SetStopFlag();
            return true;
        }
        return false;
    default:
        return false;
    }
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
        if (m_pD3D != nullptr) {
            m_pD3D->Release();
            m_pD3D = nullptr;
        }
    } else {
        m_pFont = new CD3DFont("Arial", 12, D3DFONT_BOLD);
        m_pFont->Init();
        m_Keyboard.Init();
        m_Mouse.Init();
        if (m_bRenderOnTexture) {
            // Switched on for an earlier device: the targets belong to this one.
            std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
            ReloadRenderOnTexture();
        }
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
        delete m_pFont;
        m_pFont = nullptr;
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
    for (const CString& error : errors) {
        text += "\n - ";
        text += error;
    }
    CTools::Error(text);
}

CMP3Player& CScreen::GetSound() {
    return m_Sound;
}

IDirect3DDevice8* CScreen::GetD3DDevice() {
    return m_pd3dDevice;
}

int CScreen::GetScreenModeNumber() {
    return m_pD3D != nullptr ? static_cast<int>(m_pD3D->GetAdapterModeCount(D3DADAPTER_DEFAULT)) : 0;
}

D3DDISPLAYMODE CScreen::GetScreenMode(int index) {
    D3DDISPLAYMODE mode{};
    if (m_pD3D != nullptr && index >= 0) {
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
    m_pD3D = Direct3DCreate8(D3D_SDK_VERSION);
    if (m_pD3D == nullptr) {
        Log("CScreen::InitD3D => Unable to create m_pD3D\n");
        return E_FAIL;
    }
    if (m_bUseDesktopScreen || !m_bFullscreen) {
        return InitD3DDevice(window);
    }

    Log("CScreen::InitD3D => Test Screen Modes [m_bUseDesktopScreen=%d] [m_bFullscreen=%d]\n",
        m_bUseDesktopScreen ? 1 : 0, m_bFullscreen ? 1 : 0);
    Log("CScreen::InitD3D => Mode Count Number=%d\n", GetScreenModeNumber());
    const int width = GetXResolution();
    const int height = GetYResolution();
    Log("Looking for mode: width=%d height=%d format=%d\n", width, height, static_cast<int>(D3DFMT_A8R8G8B8));
    if (ScanAdapterModes(width, height, D3DFMT_A8R8G8B8)) {
        return InitD3DDevice(window);
    }
    Log("Not found so Looking for mode: width=%d height=%d format=%d\n", width, height,
        static_cast<int>(D3DFMT_X8R8G8B8));
    if (ScanAdapterModes(width, height, D3DFMT_X8R8G8B8)) {
        return InitD3DDevice(window);
    }
    Log("CScreen::InitD3D => No Valid Mode Found! LEAVING!\n");
    AddError("The requested screen mode is not available on your graphic card.");
    return E_FAIL;
}

bool CScreen::ScanAdapterModes(int width, int height, D3DFORMAT format) {
    bool found = false;
    const int count = GetScreenModeNumber();
    for (int index = 0; index < count; ++index) {
        D3DDISPLAYMODE mode{};
        m_pD3D->EnumAdapterModes(D3DADAPTER_DEFAULT, static_cast<UINT>(index), &mode);
        Log("Mode found: width=%d height=%d format=%d\n", static_cast<int>(mode.Width), static_cast<int>(mode.Height),
            static_cast<int>(mode.Format));
        if (static_cast<int>(mode.Width) == width && static_cast<int>(mode.Height) == height && mode.Format == format) {
            Log("CScreen::InitD3D => Mode Found!\n");
            found = true;
        }
    }
    return found;
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
    if (m_bUseDesktopScreen || m_bFullscreen) {
        m_d3dpp.BackBufferWidth = m_bUseDesktopScreen ? desktop.Width : static_cast<UINT>(GetXResolution());
        m_d3dpp.BackBufferHeight = m_bUseDesktopScreen ? desktop.Height : static_cast<UINT>(GetYResolution());
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

    HRESULT result =
        m_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, behavior, &m_d3dpp, &m_pd3dDevice);
    if (FAILED(result)) {
        Log("CScreen::InitD3DDevice => Try to create the device: FAILED, then try to create a software vertex "
            "processing device...\n");
        ReportDeviceFailure(result, false);
        result = m_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                      D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED, &m_d3dpp,
                                      &m_pd3dDevice);
        if (FAILED(result)) {
            m_pd3dDevice = nullptr;
            Log("CScreen::InitD3DDevice => then try to create a software vertex processing device: FAILED TOO! "
                "LEAVING!!\n");
            ReportDeviceFailure(result, true);
            return E_FAIL;
        }
    }

    Log("CScreen::InitD3DDevice => 3d device creation OK\n");
    Log("CScreen::InitD3DDevice => Free mem:%d\n", static_cast<int>(m_pd3dDevice->GetAvailableTextureMem()));
    m_pd3dDevice->SetRenderState(D3DRS_ZENABLE, TRUE);
    {
        std::lock_guard<std::mutex> guard(m_cameraMutex);
        m_matProj =
            MakeProjection(m_fFieldOfView, static_cast<float>(GetXResolution()) / static_cast<float>(GetYResolution()),
                           kNearPlane, kFarPlane);
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
    if (m_pd3dDevice == nullptr || m_pd3dDevice->TestCooperativeLevel() != D3DERR_DEVICENOTRESET) {
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
    ReleaseRenderTargets();
    if (!ResetD3DDevice()) {
        return;
    }
    if (m_bRenderOnTexture) {
        ReloadRenderOnTexture();
    }
    RestoreObjectsAfterReset();
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
    {
        std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
        ReleaseRenderTargets();
        if (m_pTexturePlane != nullptr) {
            m_pTexturePlane->CleanUp();
        }
    }
    ResetD3DDevice();
    if (m_pd3dDevice != nullptr) {
        m_pd3dDevice->Release();
        m_pd3dDevice = nullptr;
    }
    if (m_pD3D != nullptr) {
        m_pD3D->Release();
        m_pD3D = nullptr;
    }
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
    IDirect3DDevice8* device = m_pd3dDevice;
    if (device != nullptr) {
        const D3DCOLOR background = m_BackgroundColor;
        if (!m_bRenderOnTexture && clear) {
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

        if (m_bRenderOnTexture) {
            ProcessFeedbackBegin(clear);
        }
        device->BeginScene();
    }
    SetupMatrices();
    StepClock();
}

void CScreen::SetupMatrices() {
    IDirect3DDevice8* device = m_pd3dDevice;
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

void CScreen::StepClock() {
    const float now = myGetTickCount();
    const float speed = m_fPlaySpeed;
    const float total = m_fTotalTime;
    float time = m_fCurrentTime + (now - m_fLastTick) * speed;
    m_Sound.SetPosition(static_cast<long>(time * 1000.0f));

    if (time < 0.0f) {
        if (speed >= 0.0f) {
            time = 0.0f;
        } else if (m_bLoop) {
            time = total;
        } else {
            time = 0.0f;
            m_bStopped = true;
            PostToWindow(WM_LUMIVEXIS_STOP_MUSIC);
            m_fPlaySpeed = 0.0f;
        }
    }
    if (time > total) {
        time = 0.0f;
        if (!m_bLoop) {
            PostToWindow(WM_LUMIVEXIS_STOP_MUSIC);
            m_bStopped = true;
            m_fPlaySpeed = 0.0f;
        } else if (speed == 1.0f) {
            m_Sound.SetPosition(0);
            PostToWindow(WM_LUMIVEXIS_PLAY_MUSIC);
        }
    }
    m_fCurrentTime = time;
    m_fLastTick = now;
    m_bTimeResetPending = false;
    m_fRealCurrentTime = now - m_fRealStartTime;
}

void CScreen::EndScene(bool present) {
    IDirect3DDevice8* device = m_pd3dDevice;
    if (device == nullptr) {
        return;
    }
    DrawOverlay();
    if (m_bRenderOnTexture) {
        ProcessFeedbackEnd();
    }
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
    if (m_pd3dDevice != nullptr) {
        m_pd3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, m_BackgroundColor | 0xFF000000u, 1.0f, 0);
    }
}

void CScreen::ClearZ() {
    if (m_pd3dDevice != nullptr) {
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

void CScreen::GetCameraPosition(D3DXVECTOR3& position, D3DXVECTOR3& direction) {
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    if (m_bUserCamera) {
        position = m_UserCamera.m_vPosition;
        direction = m_UserCamera.GetForward();
    } else {
        position = m_RemoteCamera.m_vPosition;
        direction = m_RemoteCamera.m_vDirection;
    }
}

void CScreen::GetCameraPosition(float& x, float& y, float& z, float& dirX, float& dirY, float& dirZ) {
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

D3DXMATRIX CScreen::GetViewMatrix() {
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    return m_bUserCamera ? m_UserCamera.m_matView : m_RemoteCamera.m_matView;
}

D3DXMATRIX CScreen::GetWorldMatrix() {
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    return m_matWorld;
}

D3DXMATRIX CScreen::GetProjMatrix() {
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    return m_matProj;
}

void CScreen::SetFieldOfView(float fovY) {
    m_fFieldOfView = fovY;
    const D3DXMATRIX projection = MakeProjection(
        fovY, static_cast<float>(GetXResolution()) / static_cast<float>(GetYResolution()), kNearPlane, kFarPlane);
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

D3DCOLORVALUE CScreen::GetBackgroundColor() {
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
    std::lock_guard<std::mutex> guard(m_textMutex);
    m_FogColor = color;
}

D3DCOLORVALUE CScreen::GetFogColor() {
    std::lock_guard<std::mutex> guard(m_textMutex);
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
    std::lock_guard<std::mutex> guard(m_textMutex);
    m_AmbientColor = color;
}

D3DCOLORVALUE CScreen::GetAmbientColor() {
    std::lock_guard<std::mutex> guard(m_textMutex);
    return m_AmbientColor;
}

void CScreen::SetLightVectorForEffect(const D3DXVECTOR3& light) {
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    m_vLightVectorForEffect = light;
}

D3DXVECTOR3 CScreen::GetLightVectorForEffect() {
    std::lock_guard<std::mutex> guard(m_cameraMutex);
    return m_vLightVectorForEffect;
}

// ===================================================================== clock

float CScreen::GetTickCount() {
    return m_bTimeResetPending ? 0.0f : m_fCurrentTime.load();
}

float CScreen::GetRealCurrentTime() {
    return m_fRealCurrentTime;
}

void CScreen::Play(float speed) {
    m_bStopped = false;
    m_fPlaySpeed = speed;
    m_Sound.SetPosition(static_cast<long>(m_fCurrentTime * 1000.0f));
    if (speed == 1.0f) {
        m_Sound.Play();
    } else {
        m_Sound.Stop();
    }
}

void CScreen::Pause() {
    m_fPlaySpeed = 0.0f;
    m_Sound.Pause();
}

void CScreen::Stop() {
    m_bStopped = true;
    Pause();
    ResetTime();
    m_Sound.Stop();
    m_Sound.SetPosition(0);
}

bool CScreen::IsStopped() {
    return m_bStopped;
}

float CScreen::GetPlaySpeed() const {
    return m_fPlaySpeed;
}

void CScreen::SetTime(float seconds) {
    m_fCurrentTime = seconds;
    m_Sound.SetPosition(static_cast<long>(seconds * 1000.0f));
    if (!m_bStopped && m_fPlaySpeed == 1.0f) {
        m_Sound.Play();
    }
}

void CScreen::ResetTime() {
    const float now = myGetTickCount();
    m_fStartTime = now;
    m_fLastTick = now;
    m_fCurrentTime = 0.0f;
    m_fLastKeyCameraTime = 0.0f;
    m_bTimeResetPending = true;
}

void CScreen::SetTotalTime(float seconds) {
    m_fTotalTime = seconds;
}

float CScreen::GetTotalTime() {
    return m_fTotalTime;
}

void CScreen::SetLoop(bool loop) {
    m_bLoop = loop;
}

bool CScreen::IsLoop() {
    return m_bLoop;
}

void CScreen::SetClockSource(ClockSource source) {
    std::lock_guard<std::mutex> guard(m_clockSourceMutex);
    m_ClockSource = std::move(source);
}

float CScreen::myGetTickCount() {
    {
        std::lock_guard<std::mutex> guard(m_clockSourceMutex);
        if (m_ClockSource) {
            return static_cast<float>(m_ClockSource());
        }
    }
    LONGLONG counter = 0;
    QueryPerformanceCounter(&counter);
    return static_cast<float>(static_cast<double>(counter - m_llPerformanceOrigin) /
                              static_cast<double>(m_llPerformanceFrequency));
}

// ========================================================= render to texture

void CScreen::RenderOnTexture(bool on) {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    m_bRenderOnTexture = on;
    ReleaseRenderTargets();
    switch (m_Resolution) {
    case RES_640_480:
        m_uRenderTextureWidth = 1024;
        m_uRenderTextureHeight = 512;
        break;
    case RES_800_600:
    case RES_1024_768:
        m_uRenderTextureWidth = 1024;
        m_uRenderTextureHeight = 1024;
        break;
    case RES_1280_1024:
        m_uRenderTextureWidth = 2048;
        m_uRenderTextureHeight = 1024;
        break;
    case RES_1600_1200:
        m_uRenderTextureWidth = 2048;
        m_uRenderTextureHeight = 2048;
        break;
    }
    if (on) {
        ReloadRenderOnTexture();
    }
}

bool CScreen::IsRenderOnTexture() const {
    return m_bRenderOnTexture;
}

UINT CScreen::GetRenderTextureWidth() const {
    return m_uRenderTextureWidth;
}

UINT CScreen::GetRenderTextureHeight() const {
    return m_uRenderTextureHeight;
}

IDirect3DTexture8* CScreen::GetRenderTexture() const {
    return m_pRenderTexture;
}

void CScreen::ReleaseRenderTargets() {
    if (m_pTexturePlane != nullptr) {
        IDirect3DTexture8* none = nullptr;
        m_pTexturePlane->SetTexture(none, 0);
    }
    for (IDirect3DSurface8** surface : {&m_pRenderSurface, &m_pRenderDepthSurface}) {
        if (*surface != nullptr) {
            (*surface)->Release();
            *surface = nullptr;
        }
    }
    if (m_pRenderTexture != nullptr) {
        m_pRenderTexture->Release();
        m_pRenderTexture = nullptr;
    }
}

void CScreen::ReloadRenderOnTexture() {
    IDirect3DDevice8* device = m_pd3dDevice;
    const bool created =
        device != nullptr &&
        SUCCEEDED(D3DXCreateTexture(device, m_uRenderTextureWidth, m_uRenderTextureHeight, 1, D3DUSAGE_RENDERTARGET,
                                    D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &m_pRenderTexture)) &&
        SUCCEEDED(device->CreateDepthStencilSurface(m_uRenderTextureWidth, m_uRenderTextureHeight, D3DFMT_D24S8,
                                                    D3DMULTISAMPLE_NONE, &m_pRenderDepthSurface)) &&
        SUCCEEDED(m_pRenderTexture->GetSurfaceLevel(0, &m_pRenderSurface));
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
    plane.SetTexture(m_pRenderTexture, 0);
    plane.DrawTexture(true);
    ReloadRenderPosition();
}

void CScreen::ReloadRenderPosition() {
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

CScreenTexturePlane& CScreen::TexturePlane() {
    if (m_pTexturePlane == nullptr) {
        m_pTexturePlane = std::make_unique<CScreenTexturePlane>();
    }
    return *m_pTexturePlane;
}

CPlaneObject& CScreen::GetTexturePlane() {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    return TexturePlane();
}

void CScreen::Feedback(bool on) {
    m_bFeedback = on;
    m_bFirstFeedbackFrame = true;
}

void CScreen::SetBlurMode(bool blur) {
    m_bBlurMode = blur;
}

void CScreen::SetBlurFactor(float a, float b) {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    m_fBlurFactorX = 1.0f - a;
    m_fBlurFactorY = 1.0f - b;
    if (m_bRenderOnTexture) {
        ReloadRenderPosition();
    }
}

void CScreen::SetRenderPosition(float x0, float y0, float x1, float y1) {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    m_fRenderX0 = x0;
    m_fRenderY0 = y0;
    m_fRenderX1 = x1;
    m_fRenderY1 = y1;
    if (m_bRenderOnTexture) {
        ReloadRenderPosition();
    }
}

void CScreen::SetAlphaTexture(float alpha) {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    TexturePlane().SetAlpha(alpha);
    m_fTextureAlpha = alpha;
}

void CScreen::SetFadeTexture(float fade) {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    TexturePlane().SetColor(D3DCOLORVALUE{fade, fade, fade, m_fTextureAlpha}, 0);
}

void CScreen::ProcessFeedbackBegin(bool clear) {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    IDirect3DDevice8* device = m_pd3dDevice;
    if (device == nullptr || m_pRenderSurface == nullptr) {
        return;
    }
    device->GetDepthStencilSurface(&m_pSavedDepthSurface);
    device->GetViewport(&m_SavedViewport);
    device->GetRenderTarget(&m_pSavedRenderTarget);
    m_ScaledViewport = m_SavedViewport;
    m_ScaledViewport.Width = static_cast<DWORD>(static_cast<float>(m_SavedViewport.Width) * m_fBlurFactorX);
    m_ScaledViewport.Height = static_cast<DWORD>(static_cast<float>(m_SavedViewport.Height) * m_fBlurFactorY);
    device->SetRenderTarget(m_pRenderSurface, m_pRenderDepthSurface);
    device->SetViewport(&m_ScaledViewport);
    if (clear) {
        const D3DCOLOR rgb = m_BackgroundColor & 0x00FFFFFFu;
        if (m_bFirstFeedbackFrame || !m_bFeedback) {
            device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, rgb | 0xFF000000u, 1.0f, 0);
            m_bFirstFeedbackFrame = false;
        } else {
            // A nearly transparent clear over last frame's image: trails.
            device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, rgb | 0x0A000000u, 1.0f, 0);
        }
    }
}

bool CScreen::RestoreScreenTarget() {
    IDirect3DDevice8* device = m_pd3dDevice;
    if (device == nullptr || m_pSavedRenderTarget == nullptr) {
        return false;
    }
    device->SetRenderTarget(m_pSavedRenderTarget, m_pSavedDepthSurface);
    device->SetViewport(&m_SavedViewport);
    m_pSavedRenderTarget->Release();
    m_pSavedRenderTarget = nullptr;
    if (m_pSavedDepthSurface != nullptr) {
        m_pSavedDepthSurface->Release();
        m_pSavedDepthSurface = nullptr;
    }
    return true;
}

void CScreen::DrawTexturePlane() {
    IDirect3DDevice8* device = m_pd3dDevice;
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

void CScreen::MiddleScene() {
    if (!m_bRenderOnTexture) {
        return;
    }
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    if (RestoreScreenTarget()) {
        DrawTexturePlane();
    }
}

void CScreen::ProcessFeedbackEnd() {
    std::lock_guard<std::recursive_mutex> guard(m_renderTextureMutex);
    // After MiddleScene the quad is already drawn, under what the host drew
    // since; drawing it again would cover that.
    if (RestoreScreenTarget()) {
        DrawTexturePlane();
    }
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
    m_fLastKeyCameraTime = now;
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
