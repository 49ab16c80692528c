#pragma once
// The user-facing texts of the MCI error codes, worded as the Windows
// multimedia system words them (hosts show them as "Sound Error: %s").

#include "platform/audio/mmsystem.h"

class CMciErrorTexts {
public:
    // The text for a code, or null when the code is not an MCI error code.
    static const char* Find(MCIERROR error);
};
