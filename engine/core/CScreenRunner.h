#pragma once
// Runs the engine on a given output window for a number of frames and plays
// the host's part meanwhile: the smallest complete host, for the
// command-line renderer and for tests that draw on the headless surface.
//
//   CHeadlessWindow window(64, 64);                  // platform/headless
//   CScreenRunner runner(window);
//   runner.RunFrames(3, [&](int frame) {            // render thread, between
//       box.Render();                               // BeginScene and EndScene
//   });
//   EXPECT_EQ(runner.Pixel(32, 32), 0xFFFF0000u);   // the last frame
//
// RunFrames configures CScreen (SetWindow, SetListener), calls Display, then
// handles the messages the render thread posts to the window on the calling
// thread, as a host does: 1025 shows the errors (DisplayErrors), 5024/5025
// play and stop the music, WM_CLOSE ends the run. Every frame is
// GetTickCount, BeginScene(clear), the frame function, EndScene(true); the
// last one is read back before it is presented. Other CScreen settings
// (full screen, resolution, clock source, ...) are the caller's to make
// beforehand. Start-up places the remote camera (InitD3DDevice), so a camera
// a test wants is set in the frame function (and takes effect on the device
// at the next BeginScene, or at once with SetTransform(D3DTS_VIEW,
// GetViewMatrix())). Objects created in a frame function hold device
// resources: destroy them there too, before the run ends and the device goes.

#include <cstdint>
#include <functional>
#include <vector>

#include "core/CScreenListener.h"
#include "platform/base/WinTypes.h"

class COutputWindow;

class CScreenRunner : public CScreenListener {
public:
    using FrameFunction = std::function<void(int frame)>;

    explicit CScreenRunner(COutputWindow& window);

    // Returns true when the engine started and every frame ran.
    bool RunFrames(int frames, FrameFunction frame);

    // Whether BeginScene clears target and depth (default true).
    void SetClear(bool clear) { m_bClear = clear; }
    // Seconds after which the run is asked to stop (default 120).
    void SetTimeout(int seconds) { m_iTimeoutSeconds = seconds; }
    // Called on the render thread once the frames end, all of them run or the
    // run stopped early (a closed window), while the device still exists:
    // where objects made in a frame function are destroyed.
    void SetFinishFunction(std::function<void()> finish) { m_Finish = std::move(finish); }

    // The back buffer of the last frame as 0xAARRGGBB, top row first.
    const std::vector<std::uint32_t>& Pixels() const { return m_Pixels; }
    int Width() const { return m_iWidth; }
    int Height() const { return m_iHeight; }
    // 0 outside the image.
    std::uint32_t Pixel(int x, int y) const;
    // Reads the back buffer now (from a frame function, on the render thread).
    std::vector<std::uint32_t> ReadBackBuffer(int* width = nullptr, int* height = nullptr);

    int FramesRun() const { return m_iFramesRun; }
    // Every message the run posted to the window, in order.
    const std::vector<UINT>& Messages() const { return m_Messages; }

private:
    void Run() override;

    COutputWindow& m_Window;
    FrameFunction m_Frame;
    std::function<void()> m_Finish;
    int m_iFrames = 0;
    int m_iFramesRun = 0;
    bool m_bClear = true;
    int m_iTimeoutSeconds = 120;
    std::vector<std::uint32_t> m_Pixels;
    int m_iWidth = 0;
    int m_iHeight = 0;
    std::vector<UINT> m_Messages;
};
