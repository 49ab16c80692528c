#pragma once
// Keyboard and mouse state of one output window, written by the thread that
// owns the window (from its events) and read by the render thread, the way
// DirectInput devices read the system's devices. Everything is guarded by one
// mutex; reads take a consistent snapshot.

#include <array>
#include <mutex>

#include "platform/base/WinTypes.h"

class CInputState {
public:
    // DirectInput keyboard state: 256 bytes indexed by DIK_* scan codes,
    // bit 7 set while the key is down.
    using KeyboardState = std::array<BYTE, 256>;

    struct MouseState {
        LONG dx = 0, dy = 0, dz = 0;  // motion since the previous read
        BYTE buttons[3] = {0, 0, 0};  // bit 7 set while pressed
    };

    // Writers (the window's thread).
    void SetKey(int dikCode, bool down);
    void AddMouseMotion(LONG dx, LONG dy, LONG wheel);
    void SetMouseButton(int button, bool down);
    // Losing focus releases everything: no input reaches an unfocused window.
    void SetFocused(bool focused);

    // Readers (the render thread).
    bool IsFocused() const;
    KeyboardState ReadKeyboard() const;
    // Returns the accumulated motion and clears it.
    MouseState ReadMouse();

private:
    mutable std::mutex m_mutex;
    bool m_focused = true;
    KeyboardState m_keys{};
    MouseState m_mouse{};
};
