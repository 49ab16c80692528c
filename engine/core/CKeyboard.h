#pragma once
// The system keyboard as the render thread polls it: the state of the screen's
// output window (CInputState, fed by the window's events) read like a
// DirectInput keyboard with foreground cooperation, and folded into the bit
// masks hosts test.

#include "platform/base/WinTypes.h"
#include "platform/window/CInputState.h"

class CKeyboard {
public:
    // KeyboardReadData bits.
    static constexpr DWORD kLeft = 0x00000001, kRight = 0x00000002, kUp = 0x00000004, kDown = 0x00000008;
    static constexpr DWORD kSpace = 0x00000010, kEscape = 0x00000020;
    static constexpr DWORD kF1 = 0x00000040;  // F1 .. F10 follow in order up to 0x00008000
    static constexpr DWORD kReturn = 0x00010000;
    static constexpr DWORD kDigit1 = 0x00020000;  // 1 .. 9 follow in order, then 0 at 0x04000000
    static constexpr DWORD kDigit0 = 0x04000000;
    static constexpr DWORD kRightControl = 0x08000000, kLeftControl = 0x10000000;
    static constexpr DWORD kRightShift = 0x20000000, kLeftShift = 0x40000000, kTab = 0x80000000;
    // KeyboardReadData2 bits.
    static constexpr DWORD kF11 = 0x01, kF12 = 0x02, kR = 0x04, kT = 0x08, kZ = 0x10, kX = 0x20;

    CKeyboard() = default;
    virtual ~CKeyboard() = default;
    CKeyboard(const CKeyboard&) = delete;
    CKeyboard& operator=(const CKeyboard&) = delete;

    // Attaches to the output window (the screen's) and acquires it; without
    // a window the keyboard stays absent and every read returns 0.
    void Init(HWND window);
    void CleanUp();
    bool IsPresent() const { return m_pDevice != nullptr; }

    DWORD ReadData();
    DWORD ReadData2();

private:
    // False (nothing pressed) without a device or while the window does not
    // have the focus; the device is then acquired again for the next read.
    bool ReadState(CInputState::KeyboardState& state);

    CInputState* m_pDevice = nullptr;
    bool m_bAcquired = false;
};
