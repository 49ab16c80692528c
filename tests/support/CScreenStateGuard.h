#pragma once
// Records the settings of the screen (CScreen::Instance()) that a test may
// change and puts back the ones that differ when it goes, so that a test
// leaves the screen as it found it: window, full-screen and mode settings,
// overlay switches, colours, fog and ambient light, the remote camera and
// the field of view, the clock and its music, render to texture. The
// settings the screen cannot report go back to the values a fresh screen
// starts with: the clock source, the music's command sender, the overlay's
// message lines, the desktop-screen switch and the render-to-texture blur,
// position and feedback.
//
//   class MyTest : public testing::Test {
//       coretest::CTestWindow m_window{8, 8};
//       CScreenStateGuard m_screenState;  // last member: restores before the others go
//   };
//
// The screen opens its log in the current directory when it is first used,
// which is often when the guard is made: the guard enters the process's
// private working folder first.
//
// Header only, like every helper over the engine's modules: a test links
// the modules it exercises, and the support library stays below them.

#include "core/CCameraRemote.h"
#include "core/CScreen.h"
#include "scene/CMP3Player.h"
#include "support/CTempFolder.h"

class CScreenStateGuard {
public:
    CScreenStateGuard() : m_screen(Screen()) {
        RecordOutput();
        RecordScene();
        RecordCamera();
        RecordClock();
        m_renderOnTexture = m_screen.IsRenderOnTexture();
    }
    ~CScreenStateGuard() {
        // The clock first: stopping it still sends the music's commands to
        // the test's sender, and asks the test's clock source for the time.
        RestoreClock();
        RestoreOutput();
        RestoreScene();
        RestoreCamera();
        if (m_screen.IsRenderOnTexture() != m_renderOnTexture) {
            m_screen.RenderOnTexture(m_renderOnTexture);
        }
        ResetUnreadable();
    }
    CScreenStateGuard(const CScreenStateGuard&) = delete;
    CScreenStateGuard& operator=(const CScreenStateGuard&) = delete;

private:
    static constexpr int kMessageLines = 8;

    static CScreen& Screen() {
        CTempFolder::EnterPrivateWorkingFolder();
        return CScreen::Instance();
    }

    void RecordOutput() {
        m_window = m_screen.GetWindow();
        m_fullscreen = m_screen.GetFullscreen();
        m_screenSaver = m_screen.GetScreenSaverMode();
        m_resolution = m_screen.GetResolution();
        m_colorDepth = m_screen.GetColorDepth();
        m_viewInfo = m_screen.GetViewInfo();
        m_showFps = m_screen.GetShowFPS();
    }
    void RestoreOutput() {
        Restore(m_screen.GetWindow(), m_window, [this](HWND window) { m_screen.SetWindow(window); });
        Restore(m_screen.GetFullscreen(), m_fullscreen, [this](bool on) { m_screen.SetFullscreen(on); });
        Restore(m_screen.GetScreenSaverMode(), m_screenSaver, [this](bool on) { m_screen.SetScreenSaverMode(on); });
        Restore(m_screen.GetResolution(), m_resolution, [this](TResolutionEnum r) { m_screen.SetResolution(r); });
        Restore(m_screen.GetColorDepth(), m_colorDepth, [this](int depth) { m_screen.SetColorDepth(depth); });
        Restore(m_screen.GetViewInfo(), m_viewInfo, [this](bool on) { m_screen.ViewInfo(on); });
        Restore(m_screen.GetShowFPS(), m_showFps, [this](bool on) { m_screen.SetShowFPS(on); });
    }

    void RecordScene() {
        m_background = m_screen.GetBackgroundColorARGB();
        m_backgroundValue = m_screen.GetBackgroundColor();
        m_fog = m_screen.IsFogEnabled();
        m_fogColor = m_screen.GetFogColor();
        m_fogStart = m_screen.GetFogStart();
        m_fogEnd = m_screen.GetFogEnd();
        m_fogDensity = m_screen.GetFogDensity();
        m_ambientLight = m_screen.GetAmbientLight();
        m_ambientColor = m_screen.GetAmbientColor();
        m_lightVector = m_screen.GetLightVectorForEffect();
    }
    void RestoreScene() {
        if (m_screen.GetBackgroundColorARGB() != m_background) {
            // Read back as byte / 255, which the screen truncates to the same byte.
            m_screen.SetBackgroundColor(m_backgroundValue);
        }
        Restore(m_screen.IsFogEnabled(), m_fog, [this](bool on) { m_screen.EnableFog(on); });
        if (!SameColor(m_screen.GetFogColor(), m_fogColor)) {
            m_screen.SetFogColor(m_fogColor);
        }
        Restore(m_screen.GetFogStart(), m_fogStart, [this](float start) { m_screen.SetFogStart(start); });
        Restore(m_screen.GetFogEnd(), m_fogEnd, [this](float end) { m_screen.SetFogEnd(end); });
        Restore(m_screen.GetFogDensity(), m_fogDensity, [this](float density) { m_screen.SetFogDensity(density); });
        Restore(m_screen.GetAmbientLight(), m_ambientLight, [this](bool on) { m_screen.SetAmbientLight(on ? 1 : 0); });
        if (!SameColor(m_screen.GetAmbientColor(), m_ambientColor)) {
            m_screen.SetAmbientColor(m_ambientColor);
        }
        if (m_screen.GetLightVectorForEffect() != m_lightVector) {
            m_screen.SetLightVectorForEffect(m_lightVector);
        }
    }

    // The user camera is driven by input and has no setter of its own: only
    // the remote camera is put back.
    void RecordCamera() {
        m_userCamera = m_screen.IsUserCameraMode();
        if (!m_userCamera) {
            const auto& remote = static_cast<const CCameraRemote&>(m_screen.GetCamera());
            m_eye = remote.m_vPosition;
            m_direction = remote.m_vDirection;
            m_up = remote.m_vUp;
        }
        m_fieldOfView = m_screen.GetFieldOfView();
        m_projection = m_screen.GetProjMatrix();
    }
    void RestoreCamera() {
        if (!m_userCamera && (m_screen.IsUserCameraMode() || !RemoteCameraUnmoved())) {
            m_screen.SetCamera(m_eye, m_direction, m_up);
        }
        // After the resolution: the projection's aspect follows it.
        if (m_screen.GetFieldOfView() != m_fieldOfView || m_screen.GetProjMatrix() != m_projection) {
            m_screen.SetFieldOfView(m_fieldOfView);
        }
    }

    void RecordClock() {
        m_stopped = m_screen.IsStopped();
        m_playSpeed = m_screen.GetPlaySpeed();
        m_time = m_screen.GetTickCount();
        m_totalTime = m_screen.GetTotalTime();
        m_loop = m_screen.IsLoop();
        m_musicEnabled = m_screen.GetSound().GetEnable();
        m_musicLoop = m_screen.GetSound().GetLoop();
    }
    void RestoreClock() {
        if (m_stopped && !m_screen.IsStopped()) {
            m_screen.Stop();
        } else if (!m_stopped && (m_screen.IsStopped() || m_screen.GetPlaySpeed() != m_playSpeed)) {
            m_screen.Play(m_playSpeed);
        }
        Restore(m_screen.GetTickCount(), m_time, [this](float seconds) { m_screen.SetTime(seconds); });
        Restore(m_screen.GetTotalTime(), m_totalTime, [this](float seconds) { m_screen.SetTotalTime(seconds); });
        Restore(m_screen.IsLoop(), m_loop, [this](bool loop) { m_screen.SetLoop(loop); });
        CMP3Player& music = m_screen.GetSound();
        Restore(music.GetEnable(), m_musicEnabled, [&music](bool on) { music.SetEnable(on); });
        Restore(music.GetLoop(), m_musicLoop, [&music](bool loop) { music.SetLoop(loop); });
    }

    // What a fresh screen starts with, for the settings it cannot report.
    void ResetUnreadable() {
        m_screen.SetClockSource(nullptr);
        m_screen.GetSound().SetCommandSender(nullptr);
        m_screen.SetUseDesktopScreen(false);
        for (int line = 0; line < kMessageLines; ++line) {
            m_screen.DisplayMessage("", line);
        }
        m_screen.Feedback(false);
        m_screen.SetBlurMode(false);
        m_screen.SetBlurFactor(0.0f, 0.0f);
        m_screen.SetRenderPosition(-0.5f, -0.5f, 0.501f, 0.501f);
    }

    template <class TValue, class TSetter>
    static void Restore(const TValue& now, const TValue& recorded, TSetter set) {
        if (now != recorded) {
            set(recorded);
        }
    }
    static bool SameColor(const D3DCOLORVALUE& a, const D3DCOLORVALUE& b) {
        return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
    }
    bool RemoteCameraUnmoved() {
        const auto& remote = static_cast<const CCameraRemote&>(m_screen.GetCamera());
        return remote.m_vPosition == m_eye && remote.m_vDirection == m_direction && remote.m_vUp == m_up;
    }

    CScreen& m_screen;
    HWND m_window = nullptr;
    bool m_fullscreen = false;
    bool m_screenSaver = false;
    TResolutionEnum m_resolution = RES_640_480;
    int m_colorDepth = 0;
    bool m_viewInfo = false;
    bool m_showFps = false;

    D3DCOLOR m_background = 0;
    D3DCOLORVALUE m_backgroundValue{};
    bool m_fog = false;
    D3DCOLORVALUE m_fogColor{};
    float m_fogStart = 0.0f;
    float m_fogEnd = 0.0f;
    float m_fogDensity = 0.0f;
    bool m_ambientLight = false;
    D3DCOLORVALUE m_ambientColor{};
    D3DXVECTOR3 m_lightVector;

    bool m_userCamera = false;
    D3DXVECTOR3 m_eye;
    D3DXVECTOR3 m_direction;
    D3DXVECTOR3 m_up;
    float m_fieldOfView = 0.0f;
    D3DXMATRIX m_projection;

    bool m_stopped = true;
    float m_playSpeed = 0.0f;
    float m_time = 0.0f;
    float m_totalTime = 0.0f;
    bool m_loop = false;
    bool m_musicEnabled = false;
    bool m_musicLoop = false;
    bool m_renderOnTexture = false;
};
