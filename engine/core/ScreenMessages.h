#pragma once
// The window messages of the engine's screen: the ones it posts to its
// output window, and the command of the own window's accelerator.

#include "platform/base/WinTypes.h"

// Messages the engine posts to the output window.
constexpr UINT WM_LUMIVEXIS_ERRORS = WM_USER + 1;  // 1025: start-up errors collected
constexpr UINT WM_LUMIVEXIS_PLAY_MUSIC = 5024;     // the clock wants the music started
constexpr UINT WM_LUMIVEXIS_STOP_MUSIC = 5025;     // ... or stopped
// The command of the own window's accelerator (Escape).
constexpr WORD IDM_EXIT = 32771;
