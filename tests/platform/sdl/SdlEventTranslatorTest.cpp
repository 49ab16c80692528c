// Translation of SDL events into Windows messages and DirectInput state,
// fed with hand-made events (no window involved).
#include <gtest/gtest.h>

#include <vector>

#include "platform/sdl/CSdlEventTranslator.h"
#include "platform/sdl/CSdlKeyMap.h"
#include "platform/sdl/VirtualKeyCodes.h"
#include "platform/window/DIKeyCodes.h"

namespace {

class SdlEventTranslatorTest : public testing::Test {
protected:
    SdlEventTranslatorTest()
        : translator(
              input,
              [this](UINT m, WPARAM w, LPARAM l) {
                  posted.push_back(MSG{nullptr, m, w, l});
              },
              [] {
                  return POINT{100, 50};
              }) {}

    void Key(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym, bool repeat = false) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.scancode = scancode;
        event.key.keysym.sym = sym;
        event.key.repeat = repeat ? 1 : 0;
        translator.Translate(event);
    }
    void Window(SDL_WindowEventID id) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = static_cast<Uint8>(id);
        translator.Translate(event);
    }
    void Motion(int x, int y, int dx, int dy) {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.x = x;
        event.motion.y = y;
        event.motion.xrel = dx;
        event.motion.yrel = dy;
        translator.Translate(event);
    }
    void Button(Uint32 type, Uint8 button, int x, int y) {
        SDL_Event event{};
        event.type = type;
        event.button.button = button;
        event.button.x = x;
        event.button.y = y;
        translator.Translate(event);
    }
    void Wheel(int notches, bool flipped = false) {
        SDL_Event event{};
        event.type = SDL_MOUSEWHEEL;
        event.wheel.y = notches;
        event.wheel.preciseY = static_cast<float>(notches);
        event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
        event.wheel.mouseX = 3;
        event.wheel.mouseY = 4;
        translator.Translate(event);
    }
    bool KeyDown(int dik) const { return (input.ReadKeyboard()[static_cast<size_t>(dik)] & 0x80) != 0; }

    CInputState input;
    std::vector<MSG> posted;
    CSdlEventTranslator translator;
};

TEST(SdlKeyMapTest, MapsKeysToDirectInputAndVirtualKeyCodes) {
    struct Case {
        SDL_Scancode scancode;
        SDL_Keycode sym;
        int dik;
        WPARAM vk;
    };
    const Case cases[] = {
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, DIK_ESCAPE, VK_ESCAPE},
        {SDL_SCANCODE_A, SDLK_a, DIK_A, 'A'},
        {SDL_SCANCODE_R, SDLK_r, DIK_R, 'R'},
        {SDL_SCANCODE_T, SDLK_t, DIK_T, 'T'},
        {SDL_SCANCODE_Z, SDLK_z, DIK_Z, 'Z'},
        {SDL_SCANCODE_X, SDLK_x, DIK_X, 'X'},
        {SDL_SCANCODE_1, SDLK_1, DIK_1, '1'},
        {SDL_SCANCODE_0, SDLK_0, DIK_0, '0'},
        {SDL_SCANCODE_RETURN, SDLK_RETURN, DIK_RETURN, VK_RETURN},
        {SDL_SCANCODE_SPACE, SDLK_SPACE, DIK_SPACE, VK_SPACE},
        {SDL_SCANCODE_TAB, SDLK_TAB, DIK_TAB, VK_TAB},
        {SDL_SCANCODE_F1, SDLK_F1, DIK_F1, VK_F1},
        {SDL_SCANCODE_F10, SDLK_F10, DIK_F10, VK_F10},
        {SDL_SCANCODE_F11, SDLK_F11, DIK_F11, VK_F11},
        {SDL_SCANCODE_F12, SDLK_F12, DIK_F12, VK_F12},
        {SDL_SCANCODE_LEFT, SDLK_LEFT, DIK_LEFT, VK_LEFT},
        {SDL_SCANCODE_RIGHT, SDLK_RIGHT, DIK_RIGHT, VK_RIGHT},
        {SDL_SCANCODE_UP, SDLK_UP, DIK_UP, VK_UP},
        {SDL_SCANCODE_DOWN, SDLK_DOWN, DIK_DOWN, VK_DOWN},
        {SDL_SCANCODE_LCTRL, SDLK_LCTRL, DIK_LCONTROL, VK_CONTROL},
        {SDL_SCANCODE_RCTRL, SDLK_RCTRL, DIK_RCONTROL, VK_CONTROL},
        {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, DIK_LSHIFT, VK_SHIFT},
        {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, DIK_RSHIFT, VK_SHIFT},
        {SDL_SCANCODE_KP_0, SDLK_KP_0, DIK_NUMPAD0, VK_NUMPAD0},
        {SDL_SCANCODE_KP_7, SDLK_KP_7, DIK_NUMPAD7, VK_NUMPAD0 + 7},
    };
    for (const Case& c : cases) {
        const CSdlKeyMap::Key key = CSdlKeyMap::Translate(c.scancode, c.sym);
        EXPECT_EQ(key.dik, c.dik) << SDL_GetScancodeName(c.scancode);
        EXPECT_EQ(key.vk, c.vk) << SDL_GetScancodeName(c.scancode);
    }
    // On a French layout the key in Q's place types 'a': the virtual key
    // follows the layout, the scan code the position.
    const CSdlKeyMap::Key azertyA = CSdlKeyMap::Translate(SDL_SCANCODE_Q, SDLK_a);
    EXPECT_EQ(azertyA.dik, DIK_Q);
    EXPECT_EQ(azertyA.vk, WPARAM('A'));
    // ... and the digit row types symbols but still reports the digits.
    EXPECT_EQ(CSdlKeyMap::Translate(SDL_SCANCODE_1, SDLK_AMPERSAND).vk, WPARAM('1'));
    EXPECT_EQ(CSdlKeyMap::Translate(SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN).dik, 0);
}

TEST(SdlKeyMapTest, KeyMessageLParamCarriesScanCodeAndTransitionBits) {
    EXPECT_EQ(CSdlKeyMap::KeyMessageLParam(DIK_ESCAPE, true, false), LPARAM{0x00010001});
    EXPECT_EQ(CSdlKeyMap::KeyMessageLParam(DIK_ESCAPE, true, true), LPARAM{0x40010001});
    EXPECT_EQ(CSdlKeyMap::KeyMessageLParam(DIK_ESCAPE, false, false), LPARAM{0xC0010001});
    // Arrow keys come with the E0 prefix: the extended-key bit.
    EXPECT_EQ(CSdlKeyMap::KeyMessageLParam(DIK_LEFT, true, false), LPARAM{0x014B0001});
}

TEST_F(SdlEventTranslatorTest, KeysPostMessagesAndSetDirectInputState) {
    Key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, WM_KEYDOWN);
    EXPECT_EQ(posted[0].wParam, VK_ESCAPE);
    EXPECT_TRUE(KeyDown(DIK_ESCAPE));

    Key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, true);  // auto-repeat
    Key(SDL_KEYUP, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    ASSERT_EQ(posted.size(), 3u);
    EXPECT_EQ(posted[1].message, WM_KEYDOWN);
    EXPECT_EQ(posted[1].lParam & (LPARAM{1} << 30), LPARAM{1} << 30);
    EXPECT_EQ(posted[2].message, WM_KEYUP);
    EXPECT_EQ(posted[2].wParam, VK_ESCAPE);
    EXPECT_FALSE(KeyDown(DIK_ESCAPE));

    // Several keys at once, as KeyCamera reads them.
    Key(SDL_KEYDOWN, SDL_SCANCODE_LEFT, SDLK_LEFT);
    Key(SDL_KEYDOWN, SDL_SCANCODE_RSHIFT, SDLK_RSHIFT);
    EXPECT_TRUE(KeyDown(DIK_LEFT));
    EXPECT_TRUE(KeyDown(DIK_RSHIFT));
    EXPECT_FALSE(KeyDown(DIK_LSHIFT));
}

TEST_F(SdlEventTranslatorTest, MouseMotionAccumulatesUntilRead) {
    Motion(10, 20, 5, -3);
    Motion(-2, 70000, 4, 1);
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(posted[0].lParam, LPARAM{(20 << 16) | 10});
    // Coordinates are packed as two 16-bit words, left of the window negative.
    EXPECT_EQ(static_cast<std::int16_t>(LOWORD(static_cast<WPARAM>(posted[1].lParam))), -2);

    CInputState::MouseState mouse = input.ReadMouse();
    EXPECT_EQ(mouse.dx, 9);
    EXPECT_EQ(mouse.dy, -2);
    EXPECT_EQ(mouse.dz, 0);
    mouse = input.ReadMouse();
    EXPECT_EQ(mouse.dx, 0);
    EXPECT_EQ(mouse.dy, 0);
}

TEST_F(SdlEventTranslatorTest, WheelReports120PerNotch) {
    Wheel(1);
    Wheel(2);
    Wheel(1, true);  // "natural" scrolling reverses the sign
    ASSERT_EQ(posted.size(), 3u);
    EXPECT_EQ(posted[0].message, WM_MOUSEWHEEL);
    EXPECT_EQ(static_cast<std::int16_t>(HIWORD(posted[0].wParam)), 120);
    EXPECT_EQ(static_cast<std::int16_t>(HIWORD(posted[2].wParam)), -120);
    EXPECT_EQ(posted[0].lParam, CSdlEventTranslator::PackPoint(103, 54));  // screen coordinates
    EXPECT_EQ(input.ReadMouse().dz, 240);
}

TEST_F(SdlEventTranslatorTest, ButtonsPostMessagesAndButtonState) {
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 7, 8);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 7, 8);
    EXPECT_EQ(input.ReadMouse().buttons[0], 0x80);
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 7, 8);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 7, 8);
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 7, 8);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 7, 8);  // no message for side buttons

    std::vector<UINT> messages;
    for (const MSG& m : posted)
        messages.push_back(m.message);
    EXPECT_EQ(messages,
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP}));
    EXPECT_EQ(posted[1].wParam & (MK_LBUTTON | MK_RBUTTON), MK_LBUTTON | MK_RBUTTON);
    EXPECT_EQ(posted[1].lParam, CSdlEventTranslator::PackPoint(7, 8));
    const CInputState::MouseState mouse = input.ReadMouse();
    EXPECT_EQ(mouse.buttons[0], 0);
    EXPECT_EQ(mouse.buttons[1], 0x80);
    EXPECT_EQ(mouse.buttons[2], 0);
}

TEST_F(SdlEventTranslatorTest, FocusLossReleasesInputAndPostsActivateApp) {
    Key(SDL_KEYDOWN, SDL_SCANCODE_UP, SDLK_UP);
    Motion(0, 0, 10, 10);
    posted.clear();

    Window(SDL_WINDOWEVENT_FOCUS_LOST);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, WM_ACTIVATEAPP);
    EXPECT_EQ(posted[0].wParam, 0u);
    EXPECT_FALSE(input.IsFocused());
    EXPECT_FALSE(KeyDown(DIK_UP));
    Motion(0, 0, 10, 10);  // motion while away is not delivered
    Window(SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_EQ(posted.back().message, WM_ACTIVATEAPP);
    EXPECT_EQ(posted.back().wParam, 1u);
    EXPECT_TRUE(input.IsFocused());
    EXPECT_FALSE(KeyDown(DIK_UP));
    EXPECT_EQ(input.ReadMouse().dx, 0);
}

TEST_F(SdlEventTranslatorTest, CloseAndQuitPostWmClose) {
    Window(SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    translator.Translate(quit);
    Window(SDL_WINDOWEVENT_MOVED);  // nothing to tell the engine
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].message, WM_CLOSE);
    EXPECT_EQ(posted[1].message, WM_CLOSE);
}

}  // namespace
