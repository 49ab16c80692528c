#pragma once
// The display format a pack writes. The scene's own format (the trailer of
// the file packed) is the default, and each option given overrides its part
// by the rule of the editor's export:
//
// - a screensaver sets flags bit 0 and clears bit 2 (always full screen);
// - an executable clears bit 0 and sets bit 2 when windowed;
// - bits 1 and 3 are cleared, higher bits keep their previous value;
// - the first integer is the resolution index (0 desktop, 1 .. 5 640 x 480 ..
//   1600 x 1200), the name the window title (at most 100 bytes are kept).
//
// A scene file without a trailer has no format of its own and packs as the
// export's default: a screensaver at the desktop's resolution titled
// "Brennox Skyloom", the title also given to a format without one.

#include <optional>
#include <string>

#include "platform/base/CString.h"
#include "scene/CDisplayFormat.h"

enum class TPackType {
    ScreenSaver,
    Executable
};

// What the options ask for; an empty value keeps the scene's own.
struct SPackRequest {
    std::optional<TPackType> type;
    std::optional<int> resolution;
    std::optional<bool> windowed;
    std::optional<CString> title;
};

class CPackFormat {
public:
    static constexpr const char* kDefaultTitle = "Brennox Skyloom";

    // The format of a scene file that carries none.
    static CDisplayFormat ExportDefault();
    // False, with the reason in error, when the request asks for a windowed
    // screensaver (given, or the scene's own type kept).
    static bool Compute(const SPackRequest& request, const CDisplayFormat& sceneFormat, CDisplayFormat& format,
                        std::string& error);
    // "screensaver, desktop resolution full screen, "Title"" for the line a
    // pack prints.
    static std::string Describe(const CDisplayFormat& format);
};
