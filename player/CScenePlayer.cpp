#include "CScenePlayer.h"

#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "platform/d3d8/d3d8.h"
#include "scene/CScene.h"

CScenePlayer::CScenePlayer(CScene& scene, SPlaybackSettings settings)
    : m_Scene(scene), m_Settings(std::move(settings)) {}

void CScenePlayer::Run() {
    CScreen& screen = CScreen::Instance();
    // The reader reports what is wrong with the file through the error hook.
    if (!m_Scene.Load(m_Settings.scenePath, m_Settings.packed)) {
        m_loadFailed = true;
        return;
    }
    m_loaded = true;
    m_ViewerLight.Init();
    // The scene's own camera trajectories drive the view.
    m_Scene.SetFreeCamera(false);
    if (m_Settings.timesAfterLoad)
        m_Settings.times = m_Settings.timesAfterLoad();
    if (m_Settings.times.empty() && !m_Settings.timesAfterLoad) {
        PlayInRealTime();
    } else {
        PlayAtTimes();
    }
    screen.Stop();
    // The objects hold device resources, which must go on this thread and
    // before the device does.
    m_Scene.CleanUp();
    m_ViewerLight.CleanUp();
}

bool CScenePlayer::KeepRunning() const {
    return !m_stopRequested && CScreen::Instance().IsRunning();
}

void CScenePlayer::PlayInRealTime() {
    CScreen& screen = CScreen::Instance();
    // The clock starts now, not when the run began: loading took a while.
    screen.ResetTime();
    screen.Play(1.0f);
    const int limit = m_Settings.frameLimit;
    for (int frame = 0; KeepRunning() && (limit == 0 || frame < limit); ++frame) {
        const bool last = limit != 0 && frame + 1 == limit;
        DrawFrame(last && m_Settings.captureLastFrame, m_lastFrame);
        m_lastFrame.index = frame;
        FramePresented(frame);
    }
}

void CScenePlayer::PlayAtTimes() {
    CScreen& screen = CScreen::Instance();
    // A standing clock: each frame shows exactly the time it was asked for.
    screen.Pause();
    for (size_t i = 0; i < m_Settings.times.size() && KeepRunning(); ++i) {
        screen.SetTime(m_Settings.times[i]);
        DrawFrame(true, m_lastFrame);
        m_lastFrame.index = static_cast<int>(i);
        m_lastFrame.time = m_Settings.times[i];
        FramePresented(static_cast<int>(i));
        if (m_Settings.frameSink && !m_Settings.frameSink(m_lastFrame))
            break;
    }
}

void CScenePlayer::DrawFrame(bool capture, SFrame& frame) {
    CScreen& screen = CScreen::Instance();
    screen.GetTickCount();
    screen.BeginScene(true);
    m_Scene.Render();
    frame.time = screen.GetTickCount();
    if (!capture) {
        screen.EndScene(true);
        return;
    }
    screen.EndScene(false);
    // CScreenRunner's read-back serves any output window.
    CScreenRunner reader(*screen.GetWindow());
    frame.pixels = reader.ReadBackBuffer(&frame.width, &frame.height);
    if (IDirect3DDevice8* device = screen.GetD3DDevice()) {
        device->Present(nullptr, nullptr, nullptr, nullptr);
    }
}

void CScenePlayer::FramePresented(int frame) {
    ++m_framesRun;
    if (!m_firstPresent)
        m_firstPresent = std::chrono::steady_clock::now();
    if (m_Settings.afterPresent)
        m_Settings.afterPresent(frame);
}
