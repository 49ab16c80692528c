// The SDL output window on a real (virtual) X display: creation, GL on a
// second thread, events pushed into SDL's queue, messages across threads.
#include <gtest/gtest.h>

#include <SDL.h>
#include <epoxy/gl.h>

#include <chrono>
#include <functional>
#include <future>
#include <thread>
#include <vector>

#include "platform/sdl/CSdlWindow.h"
#include "platform/sdl/VirtualKeyCodes.h"
#include "platform/window/DIKeyCodes.h"

namespace {

using namespace std::chrono_literals;

std::unique_ptr<CSdlWindow> MakeWindow(int width = 320, int height = 240) {
    SSdlWindowSettings settings;
    settings.width = width;
    settings.height = height;
    std::string error;
    auto window = CSdlWindow::Create("Lumivexis Output window", settings, &error);
    EXPECT_TRUE(window) << error;
    return window;
}

// Takes every message that arrives within the time given.
std::vector<MSG> Drain(CSdlWindow& window, std::chrono::milliseconds within = 100ms) {
    std::vector<MSG> messages;
    const auto deadline = std::chrono::steady_clock::now() + within;
    MSG msg;
    while (std::chrono::steady_clock::now() < deadline) {
        while (window.PeekMessage(msg))
            messages.push_back(msg);
        std::this_thread::sleep_for(2ms);
    }
    return messages;
}

const MSG* Find(const std::vector<MSG>& messages, UINT message) {
    for (const MSG& m : messages)
        if (m.message == message)
            return &m;
    return nullptr;
}

void PushKey(const CSdlWindow& window, Uint32 type, SDL_Scancode scancode, SDL_Keycode sym) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = window.WindowId();
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = sym;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void PushWindowEvent(const CSdlWindow& window, SDL_WindowEventID id) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = window.WindowId();
    event.window.event = static_cast<Uint8>(id);
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void PushMotion(const CSdlWindow& window, int x, int y, int dx, int dy) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = window.WindowId();
    event.motion.x = x;
    event.motion.y = y;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

TEST(SdlWindowTest, WindowedWindowHasTheRequestedClientSize) {
    auto window = MakeWindow(400, 300);
    ASSERT_TRUE(window);
    window->Show();
    Drain(*window);
    const SIZE size = window->GetClientSize();
    EXPECT_EQ(size.cx, 400);
    EXPECT_EQ(size.cy, 300);
    EXPECT_TRUE(window->IsOpen());
    EXPECT_STREQ(SDL_GetWindowTitle(SDL_GetWindowFromID(window->WindowId())), "Lumivexis Output window");
}

TEST(SdlWindowTest, ContextOnRenderThreadClearsToTheRequestedColour) {
    auto window = MakeWindow(64, 48);
    ASSERT_TRUE(window);
    window->Show();
    Drain(*window);

    struct Result {
        bool created = false;
        GLint major = 0, minor = 0, profile = 0, depthBits = 0;
        GLubyte pixel[4] = {0, 0, 0, 0};
    };
    std::promise<Result> promise;
    std::thread render([&] {
        Result result;
        result.created = window->CreateContext();
        if (result.created) {
            glGetIntegerv(GL_MAJOR_VERSION, &result.major);
            glGetIntegerv(GL_MINOR_VERSION, &result.minor);
            glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &result.profile);
            glBindFramebuffer(GL_FRAMEBUFFER, window->BackBufferFramebuffer());
            glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE,
                                                  &result.depthBits);
            glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glReadBuffer(GL_BACK);
            glReadPixels(32, 24, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, result.pixel);
            window->SetSwapInterval(0);
            window->Present();
            window->DestroyContext();
        }
        promise.set_value(result);
    });
    const Result result = promise.get_future().get();
    render.join();

    ASSERT_TRUE(result.created) << SDL_GetError();
    EXPECT_GE(result.major * 10 + result.minor, 33);
    EXPECT_TRUE(result.profile & GL_CONTEXT_CORE_PROFILE_BIT);
    EXPECT_GE(result.depthBits, 24);
    EXPECT_NEAR(result.pixel[0], 64, 1);
    EXPECT_NEAR(result.pixel[1], 128, 1);
    EXPECT_NEAR(result.pixel[2], 191, 1);
}

TEST(SdlWindowTest, PushedEventsBecomeMessagesAndInputState) {
    auto window = MakeWindow();
    ASSERT_TRUE(window);
    window->Show();
    Drain(*window);  // whatever the X server says about the new window

    PushKey(*window, SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    std::vector<MSG> messages = Drain(*window);
    const MSG* keyDown = Find(messages, WM_KEYDOWN);
    ASSERT_NE(keyDown, nullptr);
    EXPECT_EQ(keyDown->wParam, VK_ESCAPE);
    EXPECT_EQ(keyDown->hwnd, window.get());
    EXPECT_EQ(window->Input().ReadKeyboard()[DIK_ESCAPE], 0x80);

    PushKey(*window, SDL_KEYUP, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    PushMotion(*window, 10, 20, 3, 4);
    PushMotion(*window, 12, 22, 2, -1);
    messages = Drain(*window);
    ASSERT_NE(Find(messages, WM_KEYUP), nullptr);
    const MSG* move = Find(messages, WM_MOUSEMOVE);
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(move->lParam, LPARAM{(20 << 16) | 10});
    EXPECT_EQ(window->Input().ReadKeyboard()[DIK_ESCAPE], 0);
    CInputState::MouseState mouse = window->Input().ReadMouse();
    EXPECT_EQ(mouse.dx, 5);
    EXPECT_EQ(mouse.dy, 3);
    mouse = window->Input().ReadMouse();
    EXPECT_EQ(mouse.dx, 0);

    // Losing the focus releases held keys and tells the message loop.
    PushKey(*window, SDL_KEYDOWN, SDL_SCANCODE_LEFT, SDLK_LEFT);
    PushWindowEvent(*window, SDL_WINDOWEVENT_FOCUS_LOST);
    messages = Drain(*window);
    const MSG* activate = Find(messages, WM_ACTIVATEAPP);
    ASSERT_NE(activate, nullptr);
    EXPECT_EQ(activate->wParam, 0u);
    EXPECT_FALSE(window->IsForeground());
    EXPECT_EQ(window->Input().ReadKeyboard()[DIK_LEFT], 0);

    PushWindowEvent(*window, SDL_WINDOWEVENT_FOCUS_GAINED);
    PushWindowEvent(*window, SDL_WINDOWEVENT_CLOSE);
    messages = Drain(*window);
    activate = Find(messages, WM_ACTIVATEAPP);
    ASSERT_NE(activate, nullptr);
    EXPECT_EQ(activate->wParam, 1u);
    EXPECT_TRUE(window->IsForeground());
    EXPECT_NE(Find(messages, WM_CLOSE), nullptr);
}

TEST(SdlWindowTest, EventsReachOnlyTheirOwnWindow) {
    auto first = MakeWindow();
    auto second = MakeWindow();
    ASSERT_TRUE(first && second);
    Drain(*first);
    Drain(*second);
    PushKey(*second, SDL_KEYDOWN, SDL_SCANCODE_SPACE, SDLK_SPACE);
    // Either window's pump dispatches SDL's queue to the right one.
    Drain(*first);
    EXPECT_EQ(first->Input().ReadKeyboard()[DIK_SPACE], 0);
    EXPECT_EQ(second->Input().ReadKeyboard()[DIK_SPACE], 0x80);
    const std::vector<MSG> messages = Drain(*second);
    const MSG* keyDown = Find(messages, WM_KEYDOWN);
    ASSERT_NE(keyDown, nullptr);
    EXPECT_EQ(keyDown->wParam, VK_SPACE);
}

TEST(SdlWindowTest, MessagesAndTitlesFromOtherThreadsReachTheOwner) {
    auto window = MakeWindow();
    ASSERT_TRUE(window);
    SDL_Window* sdlWindow = SDL_GetWindowFromID(window->WindowId());
    std::thread other([&] {
        window->PostMessage(WM_USER + 1, 7, 9);
        window->SetTitle("Lumivexis Output window [paused]");
    });
    other.join();
    // The title waits for the owner thread's next pump.
    EXPECT_STREQ(SDL_GetWindowTitle(sdlWindow), "Lumivexis Output window");

    MSG msg;
    bool found = false;
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (!found && std::chrono::steady_clock::now() < deadline) {
        if (window->WaitMessage(msg, 50))
            found = msg.message == WM_USER + 1;
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(msg.hwnd, window.get());
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(msg.lParam, 9);
    EXPECT_STREQ(SDL_GetWindowTitle(sdlWindow), "Lumivexis Output window [paused]");

    window->SetTitle("Lumivexis Output window");  // the owner applies at once
    EXPECT_STREQ(SDL_GetWindowTitle(sdlWindow), "Lumivexis Output window");
}

TEST(SdlWindowTest, ClosingTheWindowPostsWmDestroyOnce) {
    auto window = MakeWindow();
    ASSERT_TRUE(window);
    const Uint32 id = window->WindowId();
    Drain(*window);
    window->Close();
    window->Close();
    EXPECT_FALSE(window->IsOpen());
    EXPECT_EQ(SDL_GetWindowFromID(id), nullptr);
    const std::vector<MSG> messages = Drain(*window);
    int destroys = 0;
    for (const MSG& m : messages)
        destroys += m.message == WM_DESTROY ? 1 : 0;
    EXPECT_EQ(destroys, 1);
    // A closed window has nothing to draw into.
    EXPECT_FALSE(window->CreateContext());
    window->Present();
}

TEST(SdlWindowTest, FullScreenAtTheDesktopSizeCoversTheDisplay) {
    SSdlWindowSettings settings;
    settings.mode = TSdlWindowMode::FullscreenDesktop;
    settings.topmost = true;
    std::string error;
    auto window = CSdlWindow::Create("Lumivexis Output window", settings, &error);
    ASSERT_TRUE(window) << error;
    window->Show();
    Drain(*window, 300ms);
    const SIZE size = window->GetClientSize();
    EXPECT_EQ(size.cx, 1280);
    EXPECT_EQ(size.cy, 1024);
}

}  // namespace
