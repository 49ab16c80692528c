#pragma once
// The display format a pack writes, by the rule of the editor's export:
//
// - a screensaver sets flags bit 0 and clears bit 2 (always full screen);
// - an executable clears bit 0 and sets bit 2 when windowed;
// - bits 1 and 3 are cleared, higher bits keep their previous value;
// - the first integer is the resolution index (0 desktop, 1 .. 5 640 x 480 ..
//   1600 x 1200), the name the window title (at most 100 bytes are kept).

#include "platform/base/CString.h"
#include "scene/CDisplayFormat.h"

enum class TPackType {
    ScreenSaver,
    Executable
};

struct SPackRequest {
    TPackType type = TPackType::ScreenSaver;
    int resolution = 0;
    bool windowed = false;
    CString title = "Brennox Skyloom";
};

class CPackFormat {
public:
    static CDisplayFormat Compute(const SPackRequest& request, int previousFlags);
};
