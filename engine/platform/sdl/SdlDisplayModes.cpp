#include "platform/sdl/SdlDisplayModes.h"

#include <SDL.h>

#include <algorithm>

#include "platform/sdl/CSdlVideo.h"

namespace {

constexpr int kDisplay = 0;

bool ToD3DMode(const SDL_DisplayMode& sdlMode, D3DDISPLAYMODE& out) {
    const int bits = static_cast<int>(SDL_BITSPERPIXEL(sdlMode.format));
    D3DFORMAT format;
    if (bits == 24 || bits == 32)
        format = D3DFMT_X8R8G8B8;
    else if (bits == 15 || bits == 16)
        format = D3DFMT_R5G6B5;
    else
        return false;
    if (sdlMode.w <= 0 || sdlMode.h <= 0)
        return false;
    out = D3DDISPLAYMODE{static_cast<UINT>(sdlMode.w), static_cast<UINT>(sdlMode.h),
                         static_cast<UINT>(std::max(sdlMode.refresh_rate, 0)), format};
    return true;
}

bool SameMode(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
    return a.Width == b.Width && a.Height == b.Height && a.RefreshRate == b.RefreshRate && a.Format == b.Format;
}

}  // namespace

bool ReadSdlDisplayModes(SSdlDisplayModes& out, std::string* error) {
    if (!CSdlVideo::Start(error))
        return false;
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(kDisplay, &desktop) != 0 || !ToD3DMode(desktop, out.desktop)) {
        if (error)
            *error = SDL_GetError();
        return false;
    }
    out.modes.clear();
    const int count = SDL_GetNumDisplayModes(kDisplay);
    for (int index = 0; index < count; ++index) {
        SDL_DisplayMode sdlMode{};
        D3DDISPLAYMODE mode{};
        if (SDL_GetDisplayMode(kDisplay, index, &sdlMode) != 0 || !ToD3DMode(sdlMode, mode))
            continue;
        // SDL may list a mode once per pixel layout (RGB888, RGBX8888, ...).
        const bool known =
            std::any_of(out.modes.begin(), out.modes.end(), [&](const D3DDISPLAYMODE& m) { return SameMode(m, mode); });
        if (!known)
            out.modes.push_back(mode);
    }
    // A display that lists no modes still has the one it shows.
    const bool desktopListed = std::any_of(out.modes.begin(), out.modes.end(),
                                           [&](const D3DDISPLAYMODE& m) { return SameMode(m, out.desktop); });
    if (!desktopListed)
        out.modes.push_back(out.desktop);
    return true;
}
