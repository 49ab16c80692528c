#pragma once
// The player's frame loop (CScreenListener::Run, on the render thread): loads
// the scene once the device exists, so that the textures of a package are
// created straight from the data inside it, then plays it through its own
// cameras until the run ends.
//
// Two ways to play:
// - in real time: the clock runs at speed 1 with the scene's total time, loop
//   and music; the run ends when the engine stops it (Escape, the window
//   closed, the screensaver rules, a signal) or after a frame limit;
// - at given scene times (the command-line renderer): the clock stands, one
//   frame is drawn at each time and handed to a frame sink.
//
// The last frame (or every frame, with a sink) is read back before it is
// presented: after a swap a window's back buffer is undefined.
//
// Scenes store no lights: like the editor's 3D view, the player lights every
// scene with one white directional light shining straight down, so that a
// scene looks in the saver as it did in the editor.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/CScreenListener.h"
#include "objects/CLight.h"

class CScene;

struct SFrame {
    int index = 0;
    float time = 0.0f;  // scene seconds
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, top row first
};

struct SPlaybackSettings {
    std::string scenePath;
    bool packed = false;
    // Real-time play: frames to draw before the run ends; 0 = no limit.
    int frameLimit = 0;
    bool captureLastFrame = false;
    // When not empty: one frame at each of these scene times instead of
    // real-time play, each handed to frameSink (which returns false to stop).
    std::vector<float> times;
    // Fills times once the scene is loaded (when they depend on its total
    // time); called on the render thread.
    std::function<std::vector<float>()> timesAfterLoad;
    std::function<bool(const SFrame& frame)> frameSink;
    // Called on the render thread after each presented frame.
    std::function<void(int frame)> afterPresent;
};

class CScenePlayer : public CScreenListener {
public:
    CScenePlayer(CScene& scene, SPlaybackSettings settings);

    void Run() override;
    // Ends the loop at the next frame (any thread); also works before the
    // run has started.
    void RequestStop() { m_stopRequested = true; }

    bool SceneLoaded() const { return m_loaded.load(); }
    bool LoadFailed() const { return m_loadFailed.load(); }
    int FramesRun() const { return m_framesRun.load(); }
    // The frame captured last (valid after the run).
    const SFrame& LastFrame() const { return m_lastFrame; }
    // When the first frame was presented, once it was.
    std::optional<std::chrono::steady_clock::time_point> FirstPresentTime() const { return m_firstPresent; }

private:
    bool KeepRunning() const;
    void PlayInRealTime();
    void PlayAtTimes();
    // One frame: clock step, scene, overlay and present; with capture the
    // back buffer is read before it is presented.
    void DrawFrame(bool capture, SFrame& frame);
    // Counts the presented frame and tells the observer.
    void FramePresented(int frame);

    CScene& m_Scene;
    SPlaybackSettings m_Settings;
    CLight m_ViewerLight;
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_loaded{false};
    std::atomic<bool> m_loadFailed{false};
    std::atomic<int> m_framesRun{0};
    SFrame m_lastFrame;
    std::optional<std::chrono::steady_clock::time_point> m_firstPresent;
};
