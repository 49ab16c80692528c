#pragma once
// The real display modes of the first display, as the Direct3D layer's
// default adapter reports them: 24- and 32-bit modes as D3DFMT_X8R8G8B8,
// 15- and 16-bit modes as D3DFMT_R5G6B5 (other depths are left out).

#include <string>
#include <vector>

#include "platform/d3d8/d3d8types.h"

struct SSdlDisplayModes {
    std::vector<D3DDISPLAYMODE> modes;  // largest first, as SDL lists them
    D3DDISPLAYMODE desktop{};           // the display's current (desktop) mode
};

// Reads the modes of display 0 (starting SDL's video when needed). Returns
// false, with the reason in error, when there is no display.
bool ReadSdlDisplayModes(SSdlDisplayModes& out, std::string* error = nullptr);

// Hands the modes of display 0 to the Direct3D layer (D3D8SetAdapterModes),
// so that the engine's mode search sees the real display. Returns false and
// leaves the layer's list alone when there is no display.
bool RegisterSdlDisplayModes(std::string* error = nullptr);
