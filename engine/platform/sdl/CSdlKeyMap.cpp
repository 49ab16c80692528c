#include "platform/sdl/CSdlKeyMap.h"

#include <array>

#include "platform/sdl/VirtualKeyCodes.h"
#include "platform/window/DIKeyCodes.h"

namespace {

using Key = CSdlKeyMap::Key;
using Table = std::array<Key, SDL_NUM_SCANCODES>;

constexpr Table BuildTable() {
    Table t{};
    auto set = [&t](SDL_Scancode sc, int dik, WPARAM vk) { t[sc] = Key{dik, vk}; };

    constexpr int letterDik[26] = {DIK_A, DIK_B, DIK_C, DIK_D, DIK_E, DIK_F, DIK_G, DIK_H, DIK_I,
                                   DIK_J, DIK_K, DIK_L, DIK_M, DIK_N, DIK_O, DIK_P, DIK_Q, DIK_R,
                                   DIK_S, DIK_T, DIK_U, DIK_V, DIK_W, DIK_X, DIK_Y, DIK_Z};
    for (int i = 0; i < 26; ++i)
        set(static_cast<SDL_Scancode>(SDL_SCANCODE_A + i), letterDik[i], static_cast<WPARAM>('A' + i));

    // SDL orders the digit row 1..9, 0, exactly like the DIK codes.
    for (int i = 0; i < 10; ++i)
        set(static_cast<SDL_Scancode>(SDL_SCANCODE_1 + i), DIK_1 + i, static_cast<WPARAM>(i == 9 ? '0' : '1' + i));

    // F1..F10 are consecutive in both; F11 and F12 are not.
    for (int i = 0; i < 10; ++i)
        set(static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + i), DIK_F1 + i, VK_F1 + static_cast<WPARAM>(i));
    set(SDL_SCANCODE_F11, DIK_F11, VK_F11);
    set(SDL_SCANCODE_F12, DIK_F12, VK_F12);
    set(SDL_SCANCODE_F13, DIK_F13, VK_F1 + 12);
    set(SDL_SCANCODE_F14, DIK_F14, VK_F1 + 13);
    set(SDL_SCANCODE_F15, DIK_F15, VK_F1 + 14);

    set(SDL_SCANCODE_ESCAPE, DIK_ESCAPE, VK_ESCAPE);
    set(SDL_SCANCODE_RETURN, DIK_RETURN, VK_RETURN);
    set(SDL_SCANCODE_BACKSPACE, DIK_BACK, VK_BACK);
    set(SDL_SCANCODE_TAB, DIK_TAB, VK_TAB);
    set(SDL_SCANCODE_SPACE, DIK_SPACE, VK_SPACE);
    set(SDL_SCANCODE_MINUS, DIK_MINUS, VK_OEM_MINUS);
    set(SDL_SCANCODE_EQUALS, DIK_EQUALS, VK_OEM_PLUS);
    set(SDL_SCANCODE_LEFTBRACKET, DIK_LBRACKET, VK_OEM_4);
    set(SDL_SCANCODE_RIGHTBRACKET, DIK_RBRACKET, VK_OEM_6);
    set(SDL_SCANCODE_BACKSLASH, DIK_BACKSLASH, VK_OEM_5);
    set(SDL_SCANCODE_NONUSHASH, DIK_BACKSLASH, VK_OEM_5);
    set(SDL_SCANCODE_SEMICOLON, DIK_SEMICOLON, VK_OEM_1);
    set(SDL_SCANCODE_APOSTROPHE, DIK_APOSTROPHE, VK_OEM_7);
    set(SDL_SCANCODE_GRAVE, DIK_GRAVE, VK_OEM_3);
    set(SDL_SCANCODE_COMMA, DIK_COMMA, VK_OEM_COMMA);
    set(SDL_SCANCODE_PERIOD, DIK_PERIOD, VK_OEM_PERIOD);
    set(SDL_SCANCODE_SLASH, DIK_SLASH, VK_OEM_2);
    set(SDL_SCANCODE_NONUSBACKSLASH, DIK_OEM_102, VK_OEM_102);
    set(SDL_SCANCODE_CAPSLOCK, DIK_CAPITAL, VK_CAPITAL);
    set(SDL_SCANCODE_PRINTSCREEN, DIK_SYSRQ, VK_SNAPSHOT);
    set(SDL_SCANCODE_SCROLLLOCK, DIK_SCROLL, VK_SCROLL);
    set(SDL_SCANCODE_PAUSE, DIK_PAUSE, VK_PAUSE);
    set(SDL_SCANCODE_INSERT, DIK_INSERT, VK_INSERT);
    set(SDL_SCANCODE_HOME, DIK_HOME, VK_HOME);
    set(SDL_SCANCODE_PAGEUP, DIK_PRIOR, VK_PRIOR);
    set(SDL_SCANCODE_DELETE, DIK_DELETE, VK_DELETE);
    set(SDL_SCANCODE_END, DIK_END, VK_END);
    set(SDL_SCANCODE_PAGEDOWN, DIK_NEXT, VK_NEXT);
    set(SDL_SCANCODE_RIGHT, DIK_RIGHT, VK_RIGHT);
    set(SDL_SCANCODE_LEFT, DIK_LEFT, VK_LEFT);
    set(SDL_SCANCODE_DOWN, DIK_DOWN, VK_DOWN);
    set(SDL_SCANCODE_UP, DIK_UP, VK_UP);

    // Keypad: the digits report VK_NUMPADn as with Num Lock on.
    set(SDL_SCANCODE_NUMLOCKCLEAR, DIK_NUMLOCK, VK_NUMLOCK);
    set(SDL_SCANCODE_KP_DIVIDE, DIK_DIVIDE, VK_DIVIDE);
    set(SDL_SCANCODE_KP_MULTIPLY, DIK_MULTIPLY, VK_MULTIPLY);
    set(SDL_SCANCODE_KP_MINUS, DIK_SUBTRACT, VK_SUBTRACT);
    set(SDL_SCANCODE_KP_PLUS, DIK_ADD, VK_ADD);
    set(SDL_SCANCODE_KP_ENTER, DIK_NUMPADENTER, VK_RETURN);
    set(SDL_SCANCODE_KP_PERIOD, DIK_DECIMAL, VK_DECIMAL);
    set(SDL_SCANCODE_KP_EQUALS, DIK_NUMPADEQUALS, 0);
    set(SDL_SCANCODE_KP_COMMA, DIK_NUMPADCOMMA, 0);
    constexpr int keypadDik[10] = {DIK_NUMPAD1, DIK_NUMPAD2, DIK_NUMPAD3, DIK_NUMPAD4, DIK_NUMPAD5,
                                   DIK_NUMPAD6, DIK_NUMPAD7, DIK_NUMPAD8, DIK_NUMPAD9, DIK_NUMPAD0};
    for (int i = 0; i < 10; ++i)  // SDL orders the keypad digits 1..9, 0
        set(static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + i), keypadDik[i],
            VK_NUMPAD0 + static_cast<WPARAM>(i == 9 ? 0 : i + 1));

    // Modifiers: the message names the generic key, the state the side.
    set(SDL_SCANCODE_LCTRL, DIK_LCONTROL, VK_CONTROL);
    set(SDL_SCANCODE_RCTRL, DIK_RCONTROL, VK_CONTROL);
    set(SDL_SCANCODE_LSHIFT, DIK_LSHIFT, VK_SHIFT);
    set(SDL_SCANCODE_RSHIFT, DIK_RSHIFT, VK_SHIFT);
    set(SDL_SCANCODE_LALT, DIK_LMENU, VK_MENU);
    set(SDL_SCANCODE_RALT, DIK_RMENU, VK_MENU);
    set(SDL_SCANCODE_LGUI, DIK_LWIN, VK_LWIN);
    set(SDL_SCANCODE_RGUI, DIK_RWIN, VK_RWIN);
    set(SDL_SCANCODE_APPLICATION, DIK_APPS, VK_APPS);

    set(SDL_SCANCODE_MUTE, DIK_MUTE, VK_VOLUME_MUTE);
    set(SDL_SCANCODE_VOLUMEDOWN, DIK_VOLUMEDOWN, VK_VOLUME_DOWN);
    set(SDL_SCANCODE_VOLUMEUP, DIK_VOLUMEUP, VK_VOLUME_UP);
    set(SDL_SCANCODE_AUDIONEXT, DIK_NEXTTRACK, VK_MEDIA_NEXT_TRACK);
    set(SDL_SCANCODE_AUDIOPREV, DIK_PREVTRACK, VK_MEDIA_PREV_TRACK);
    set(SDL_SCANCODE_AUDIOSTOP, DIK_MEDIASTOP, VK_MEDIA_STOP);
    set(SDL_SCANCODE_AUDIOPLAY, DIK_PLAYPAUSE, VK_MEDIA_PLAY_PAUSE);
    set(SDL_SCANCODE_SLEEP, DIK_SLEEP, VK_SLEEP);
    set(SDL_SCANCODE_POWER, DIK_POWER, 0);
    return t;
}

constexpr Table kTable = BuildTable();

bool IsLetterOrDigit(SDL_Keycode key) {
    return (key >= SDLK_a && key <= SDLK_z) || (key >= SDLK_0 && key <= SDLK_9);
}

}  // namespace

CSdlKeyMap::Key CSdlKeyMap::Translate(SDL_Scancode scancode, SDL_Keycode keycode) {
    Key key;
    if (scancode > SDL_SCANCODE_UNKNOWN && scancode < SDL_NUM_SCANCODES)
        key = kTable[scancode];
    if (IsLetterOrDigit(keycode)) {
        // On a French keyboard the key at Q's place types A and reports 'A'.
        key.vk = static_cast<WPARAM>(keycode >= SDLK_a ? keycode - SDLK_a + 'A' : keycode);
    }
    return key;
}

LPARAM CSdlKeyMap::KeyMessageLParam(int dik, bool down, bool repeat) {
    const auto scan = static_cast<std::uint32_t>(dik & 0x7F);
    const bool extended = (dik & 0x80) != 0;
    std::uint32_t value = 1u | (scan << 16);
    if (extended)
        value |= 1u << 24;
    if (!down || repeat)
        value |= 1u << 30;
    if (!down)
        value |= 1u << 31;
    // Windows keeps the bits in a 32-bit value; on 64 bits it is zero-extended.
    return static_cast<LPARAM>(value);
}
