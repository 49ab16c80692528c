#pragma once
// The 3D view's frame loop, run by the engine on its render thread: the
// edited scene on a ground grid (a 100 x 100 wireframe plane of 100 x 100
// cells lying flat at the origin) under one white light, from the user
// camera at (0, 1, -10) looking along +z.
//
// The scene's objects hold device resources only while a run lasts: objects
// already in the scene when a run starts (from an earlier run, or made
// before the engine had a device) build theirs on the run's device, and all
// of them let go of theirs on the render thread before the device goes. The
// objects themselves stay with the document.
//
// The run and grid flags are written by the user-interface thread and read
// once per frame; Run returns within a frame of Stop().

#include <atomic>

#include "core/CScreenListener.h"

class CScene;

class CViewFrameLoop : public CScreenListener {
public:
    explicit CViewFrameLoop(CScene& scene);

    void Run() override;

    // Lets the next Run loop (before Display).
    void Prepare() { m_Running = true; }
    // Makes Run return after the frame it is drawing.
    void Stop() { m_Running = false; }

    void SetGridVisible(bool visible) { m_GridVisible = visible; }
    bool IsGridVisible() const { return m_GridVisible; }

    // Frames drawn by the current or last run.
    long FrameCount() const { return m_Frames; }

private:
    void InitialiseSceneObjects();
    void ReleaseSceneObjects();

    CScene& m_Scene;
    std::atomic<bool> m_Running{true};
    std::atomic<bool> m_GridVisible{true};
    std::atomic<long> m_Frames{0};
};
