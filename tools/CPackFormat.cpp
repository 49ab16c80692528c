#include "CPackFormat.h"

#include "CDisplaySetup.h"

namespace {

constexpr int kScreenSaverBit = CDisplaySetup::kScreenSaverFlag;
constexpr int kWindowedBit = CDisplaySetup::kWindowedFlag;
// Bits 1 and 3 mean nothing to the player; the export clears them.
constexpr int kClearedBits = (1 << 1) | (1 << 3);

TPackType TypeOf(const CDisplayFormat& format) {
    return (format.m_iFlags & kScreenSaverBit) != 0 ? TPackType::ScreenSaver : TPackType::Executable;
}

// Indices outside 0 .. 5 come only from damaged files; the player reads them as 0.
int KnownResolution(int index) {
    return index >= 0 && index <= 5 ? index : 0;
}

}  // namespace

CDisplayFormat CPackFormat::ExportDefault() {
    return CDisplayFormat(0, kScreenSaverBit, kDefaultTitle);
}

bool CPackFormat::Compute(const SPackRequest& request, const CDisplayFormat& sceneFormat, CDisplayFormat& format,
                          std::string& error) {
    const TPackType type = request.type.value_or(TypeOf(sceneFormat));
    if (type == TPackType::ScreenSaver && request.windowed.value_or(false)) {
        error = request.type ? "a screensaver always runs full screen; --windowed needs --executable"
                             : "the scene is a screensaver, which always runs full screen; --windowed needs "
                               "--executable";
        return false;
    }
    int flags = sceneFormat.m_iFlags & ~kClearedBits;
    if (type == TPackType::ScreenSaver) {
        flags = (flags | kScreenSaverBit) & ~kWindowedBit;
    } else {
        const bool windowed = request.windowed.value_or((sceneFormat.m_iFlags & kWindowedBit) != 0);
        flags &= ~kScreenSaverBit;
        flags = windowed ? (flags | kWindowedBit) : (flags & ~kWindowedBit);
    }
    const CString title =
        request.title.value_or(sceneFormat.m_Name.empty() ? CString(kDefaultTitle) : sceneFormat.m_Name);
    format = CDisplayFormat(request.resolution.value_or(KnownResolution(sceneFormat.m_iResolution)), flags, title);
    return true;
}

std::string CPackFormat::Describe(const CDisplayFormat& format) {
    const SScreenSetup setup = CDisplaySetup::FromDisplayFormat(format);
    std::string size = "desktop resolution";
    if (!setup.useDesktopScreen) {
        int width = 0;
        int height = 0;
        CDisplaySetup::PixelSize(setup, width, height);
        size = std::to_string(width) + "x" + std::to_string(height);
    }
    return std::string(setup.screenSaver ? "screensaver" : "executable") + ", " + size +
           (setup.fullscreen ? " full screen" : " windowed") + ", \"" + std::string(format.m_Name) + "\"";
}
