#pragma once
// The engine running as the editor runs it, without any window system: a
// render thread drawing a scene every frame into a headless surface, while
// the test's thread edits that scene as the user-interface thread does. The
// screen has a device meanwhile, so "Main Camera" and device-bound objects
// can be made.
//
//   CHeadlessEngine engine(document.Scene());
//   ASSERT_TRUE(engine.Start());
//   document.NewScene();                   // the main camera needs a device
//
// Header only.

#include <atomic>
#include <chrono>
#include <thread>

#include "core/CScreen.h"
#include "core/CScreenListener.h"
#include "platform/headless/CHeadlessWindow.h"
#include "scene/CScene.h"

class CHeadlessEngine : public CScreenListener {
public:
    explicit CHeadlessEngine(CScene* scene = nullptr, int width = 64, int height = 48)
        : m_Window(width, height), m_Scene(scene) {}
    explicit CHeadlessEngine(CScene& scene) : CHeadlessEngine(&scene) {}
    ~CHeadlessEngine() override { Stop(); }
    CHeadlessEngine(const CHeadlessEngine&) = delete;
    CHeadlessEngine& operator=(const CHeadlessEngine&) = delete;

    // Starts the run and waits until the engine has tried to make its
    // device; true when it has one.
    bool Start() {
        CScreen& screen = CScreen::Instance();
        m_Running = true;
        screen.SetListener(*this);
        screen.SetFullscreen(false);
        screen.ViewInfo(false);
        screen.SetWindow(&m_Window);
        screen.Display(false);
        m_Started = true;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!screen.IsInitialized() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return screen.GetD3DDevice() != nullptr;
    }

    // Ends the run; the render thread has finished when it returns.
    void Stop() {
        if (!m_Started) {
            return;
        }
        m_Running = false;
        CScreen& screen = CScreen::Instance();
        screen.StopRun();
        screen.WaitForRenderThread();
        MSG msg;
        while (m_Window.PeekMessage(msg, true)) {
        }
        screen.SetWindow(nullptr);
        m_Started = false;
    }

    long Frames() const { return m_Frames; }
    // Waits until `count` more frames have been drawn.
    void WaitFrames(long count) {
        const long target = m_Frames + count;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (m_Frames < target && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    void Run() override {
        CScreen& screen = CScreen::Instance();
        while (m_Running && screen.IsRunning()) {
            screen.GetTickCount();
            screen.BeginScene(true);
            if (m_Scene != nullptr) {
                m_Scene->Render();
            }
            screen.EndScene(true);
            ++m_Frames;
        }
    }

private:
    CHeadlessWindow m_Window;
    CScene* m_Scene;
    std::atomic<bool> m_Running{false};
    std::atomic<long> m_Frames{0};
    bool m_Started = false;
};
