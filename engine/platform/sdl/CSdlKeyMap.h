#pragma once
// Maps SDL's keys to the two codes the engine's Windows-shaped input uses:
// the DirectInput scan code (DIK_*, the physical key, for the keyboard state)
// and the virtual-key code (VK_*, for WM_KEYDOWN / WM_KEYUP).

#include <SDL.h>

#include "platform/base/WinTypes.h"

class CSdlKeyMap {
public:
    struct Key {
        int dik = 0;    // 0: no DirectInput key
        WPARAM vk = 0;  // 0: no virtual key
    };

    // The physical key decides the scan code; the layout decides letters and
    // digits of the virtual key (as on Windows), the key's position the rest.
    static Key Translate(SDL_Scancode scancode, SDL_Keycode keycode);

    // The lParam of WM_KEYDOWN / WM_KEYUP: repeat count 1, scan code in bits
    // 16-23, extended-key flag in bit 24, previous state in bit 30 and the
    // transition state in bit 31.
    static LPARAM KeyMessageLParam(int dik, bool down, bool repeat);
};
