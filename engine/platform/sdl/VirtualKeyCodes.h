#pragma once
// Windows virtual-key codes (the wParam of WM_KEYDOWN / WM_KEYUP) and the
// mouse-message key-state flags (the wParam of mouse messages). Letters and
// digits are their ASCII capitals ('A', '7'); VK_ESCAPE lives in WinTypes.h.

#include "platform/base/WinTypes.h"

inline constexpr WPARAM VK_BACK = 0x08;
inline constexpr WPARAM VK_TAB = 0x09;
inline constexpr WPARAM VK_CLEAR = 0x0C;
inline constexpr WPARAM VK_RETURN = 0x0D;
inline constexpr WPARAM VK_SHIFT = 0x10;
inline constexpr WPARAM VK_CONTROL = 0x11;
inline constexpr WPARAM VK_MENU = 0x12;  // Alt
inline constexpr WPARAM VK_PAUSE = 0x13;
inline constexpr WPARAM VK_CAPITAL = 0x14;
inline constexpr WPARAM VK_SPACE = 0x20;
inline constexpr WPARAM VK_PRIOR = 0x21;  // Page Up
inline constexpr WPARAM VK_NEXT = 0x22;   // Page Down
inline constexpr WPARAM VK_END = 0x23;
inline constexpr WPARAM VK_HOME = 0x24;
inline constexpr WPARAM VK_LEFT = 0x25;
inline constexpr WPARAM VK_UP = 0x26;
inline constexpr WPARAM VK_RIGHT = 0x27;
inline constexpr WPARAM VK_DOWN = 0x28;
inline constexpr WPARAM VK_SNAPSHOT = 0x2C;
inline constexpr WPARAM VK_INSERT = 0x2D;
inline constexpr WPARAM VK_DELETE = 0x2E;
inline constexpr WPARAM VK_LWIN = 0x5B;
inline constexpr WPARAM VK_RWIN = 0x5C;
inline constexpr WPARAM VK_APPS = 0x5D;
inline constexpr WPARAM VK_SLEEP = 0x5F;
inline constexpr WPARAM VK_NUMPAD0 = 0x60;  // VK_NUMPAD1..9 follow
inline constexpr WPARAM VK_MULTIPLY = 0x6A;
inline constexpr WPARAM VK_ADD = 0x6B;
inline constexpr WPARAM VK_SUBTRACT = 0x6D;
inline constexpr WPARAM VK_DECIMAL = 0x6E;
inline constexpr WPARAM VK_DIVIDE = 0x6F;
inline constexpr WPARAM VK_F1 = 0x70;  // VK_F2..VK_F24 follow
inline constexpr WPARAM VK_F10 = 0x79;
inline constexpr WPARAM VK_F11 = 0x7A;
inline constexpr WPARAM VK_F12 = 0x7B;
inline constexpr WPARAM VK_NUMLOCK = 0x90;
inline constexpr WPARAM VK_SCROLL = 0x91;
inline constexpr WPARAM VK_VOLUME_MUTE = 0xAD;
inline constexpr WPARAM VK_VOLUME_DOWN = 0xAE;
inline constexpr WPARAM VK_VOLUME_UP = 0xAF;
inline constexpr WPARAM VK_MEDIA_NEXT_TRACK = 0xB0;
inline constexpr WPARAM VK_MEDIA_PREV_TRACK = 0xB1;
inline constexpr WPARAM VK_MEDIA_STOP = 0xB2;
inline constexpr WPARAM VK_MEDIA_PLAY_PAUSE = 0xB3;
inline constexpr WPARAM VK_OEM_1 = 0xBA;       // ;:
inline constexpr WPARAM VK_OEM_PLUS = 0xBB;    // =+
inline constexpr WPARAM VK_OEM_COMMA = 0xBC;   // ,<
inline constexpr WPARAM VK_OEM_MINUS = 0xBD;   // -_
inline constexpr WPARAM VK_OEM_PERIOD = 0xBE;  // .>
inline constexpr WPARAM VK_OEM_2 = 0xBF;       // /?
inline constexpr WPARAM VK_OEM_3 = 0xC0;       // `~
inline constexpr WPARAM VK_OEM_4 = 0xDB;       // [{
inline constexpr WPARAM VK_OEM_5 = 0xDC;       // \|
inline constexpr WPARAM VK_OEM_6 = 0xDD;       // ]}
inline constexpr WPARAM VK_OEM_7 = 0xDE;       // '"
inline constexpr WPARAM VK_OEM_102 = 0xE2;     // the extra ISO key

// Key-state flags in the wParam of mouse messages.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

// One notch of a mouse wheel, in WM_MOUSEWHEEL and in DirectInput's z axis.
inline constexpr int WHEEL_DELTA = 120;
