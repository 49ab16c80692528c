#include <utility>

#include "platform/d3d8/d3d8.h"
#include "platform/sdl/SdlDisplayModes.h"

// Kept apart from the mode reading so that programs which only read the
// modes do not pull in the Direct3D layer.
bool RegisterSdlDisplayModes(std::string* error) {
    SSdlDisplayModes modes;
    if (!ReadSdlDisplayModes(modes, error))
        return false;
    D3D8SetAdapterModes(std::move(modes.modes), modes.desktop);
    return true;
}
