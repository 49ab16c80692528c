#pragma once
// An output window without any window system: an EGL context on Mesa's
// surfaceless platform that renders into an offscreen framebuffer (RGBA8
// colour, 24-bit depth, 8-bit stencil) of the window's size. Tests and the
// command-line renderer use it; it needs no X server or DISPLAY. Resize
// stands in for a user resizing a real window.

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/window/COutputWindow.h"

class CHeadlessWindow : public COutputWindow {
public:
    CHeadlessWindow(int width, int height);
    ~CHeadlessWindow() override;

    bool CreateContext() override;
    bool MakeCurrent() override;
    void DestroyContext() override;
    void Present() override;
    unsigned int BackBufferFramebuffer() const override;
    SIZE GetClientSize() const override;  // any thread
    // Gives the window a new client size, as a window manager would: the
    // framebuffer is made at the new size at once (GL thread, or before
    // CreateContext); its pixels are undefined until the next frame.
    void Resize(int width, int height);

    // The back buffer's pixels as 0xAARRGGBB, top row first (GL thread, after
    // CreateContext). Empty without a context.
    std::vector<std::uint32_t> ReadPixelsARGB() const;
    // How often Present was called.
    int PresentCount() const { return m_presentCount; }

private:
    struct SContext;

    bool CreateFramebuffer();
    void AllocateRenderbuffers();

    std::atomic<int> m_width;
    std::atomic<int> m_height;
    std::unique_ptr<SContext> m_context;
    int m_presentCount = 0;
};
