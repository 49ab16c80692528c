#include "core/CScreenRunner.h"

#include <chrono>

#include "core/CScreen.h"
#include "platform/d3d8/CDeviceHandle.h"
#include "platform/d3d8/d3d8.h"
#include "platform/window/COutputWindow.h"
#include "scene/CMP3Player.h"

namespace {

// One back-buffer texel as 0xAARRGGBB; formats without alpha read opaque.
std::uint32_t ReadTexel(const BYTE* texel, D3DFORMAT format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
        return static_cast<std::uint32_t>(texel[0]) | static_cast<std::uint32_t>(texel[1]) << 8 |
               static_cast<std::uint32_t>(texel[2]) << 16 | static_cast<std::uint32_t>(texel[3]) << 24;
    case D3DFMT_X8R8G8B8:
        return static_cast<std::uint32_t>(texel[0]) | static_cast<std::uint32_t>(texel[1]) << 8 |
               static_cast<std::uint32_t>(texel[2]) << 16 | 0xFF000000u;
    case D3DFMT_R5G6B5: {
        const unsigned value = static_cast<unsigned>(texel[0]) | static_cast<unsigned>(texel[1]) << 8;
        const unsigned r = (value >> 11) & 0x1F, g = (value >> 5) & 0x3F, b = value & 0x1F;
        return 0xFF000000u | ((r * 255 / 31) << 16) | ((g * 255 / 63) << 8) | (b * 255 / 31);
    }
    default:
        return 0;
    }
}

size_t TexelBytes(D3DFORMAT format) {
    return format == D3DFMT_R5G6B5 ? 2 : 4;
}

}  // namespace

CScreenRunner::CScreenRunner(COutputWindow& window) : m_Window(window) {}

bool CScreenRunner::RunFrames(int frames, FrameFunction frame) {
    m_iFrames = frames;
    m_Frame = std::move(frame);
    m_iFramesRun = 0;
    m_Pixels.clear();
    m_iWidth = m_iHeight = 0;
    m_Messages.clear();

    CScreen& screen = CScreen::Instance();
    screen.SetWindow(&m_Window);
    screen.SetListener(*this);
    screen.Display(false);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(m_iTimeoutSeconds);
    bool stopRequested = false;
    MSG msg;
    for (;;) {
        if (!stopRequested && std::chrono::steady_clock::now() > deadline) {
            screen.StopRun();
            stopRequested = true;
        }
        if (!m_Window.WaitMessage(msg, 20)) {
            continue;
        }
        m_Messages.push_back(msg.message);
        if (msg.message == WM_LUMIVEXIS_ERRORS) {
            screen.DisplayErrors();
        } else if (msg.message == WM_LUMIVEXIS_PLAY_MUSIC) {
            screen.GetSound().Play();
        } else if (msg.message == WM_LUMIVEXIS_STOP_MUSIC) {
            screen.GetSound().Stop();
        } else if (msg.message == WM_CLOSE) {
            break;
        }
    }
    screen.WaitForRenderThread();
    // The window belongs to the caller and may die after the run: the screen
    // must not keep pointing at it.
    screen.SetWindow(nullptr);
    return screen.GetErrors().empty() && m_iFramesRun == frames;
}

void CScreenRunner::Run() {
    CScreen& screen = CScreen::Instance();
    for (int frame = 0; frame < m_iFrames && screen.IsRunning(); ++frame) {
        screen.GetTickCount();
        screen.BeginScene(m_bClear);
        if (m_Frame) {
            m_Frame(frame);
        }
        ++m_iFramesRun;
        if (frame + 1 < m_iFrames) {
            screen.EndScene(true);
            continue;
        }
        // The last frame is read back before it is presented: after a swap
        // a window's back buffer is undefined.
        screen.EndScene(false);
        m_Pixels = ReadBackBuffer(&m_iWidth, &m_iHeight);
        if (IDirect3DDevice8* device = screen.GetD3DDevice()) {
            device->Present(nullptr, nullptr, nullptr, nullptr);
        }
    }
    if (m_Finish) {
        m_Finish();
    }
}

std::vector<std::uint32_t> CScreenRunner::ReadBackBuffer(int* width, int* height) {
    std::vector<std::uint32_t> pixels;
    IDirect3DDevice8* device = CScreen::Instance().GetD3DDevice();
    CDeviceHandle<IDirect3DSurface8> backBuffer;
    if (device == nullptr ||
        FAILED(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, backBuffer.ReleaseAndGetAddressOf()))) {
        return pixels;
    }
    D3DSURFACE_DESC desc{};
    backBuffer->GetDesc(&desc);
    D3DLOCKED_RECT locked{};
    if (SUCCEEDED(backBuffer->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        pixels.resize(static_cast<size_t>(desc.Width) * desc.Height);
        const auto* rows = static_cast<const BYTE*>(locked.pBits);
        const size_t texelBytes = TexelBytes(desc.Format);
        for (UINT y = 0; y < desc.Height; ++y) {
            const BYTE* row = rows + static_cast<ptrdiff_t>(y) * locked.Pitch;
            for (UINT x = 0; x < desc.Width; ++x) {
                pixels[static_cast<size_t>(y) * desc.Width + x] = ReadTexel(row + x * texelBytes, desc.Format);
            }
        }
        backBuffer->UnlockRect();
        if (width != nullptr)
            *width = static_cast<int>(desc.Width);
        if (height != nullptr)
            *height = static_cast<int>(desc.Height);
    }
    return pixels;
}

std::uint32_t CScreenRunner::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_iWidth || y >= m_iHeight) {
        return 0;
    }
    return m_Pixels[static_cast<size_t>(y) * static_cast<size_t>(m_iWidth) + static_cast<size_t>(x)];
}
