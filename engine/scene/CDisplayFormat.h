#pragma once
// How the player shows an exported scene; stored in the scene file's trailer.
// The export fills it in: the output-resolution index, the flags (bit 0 run
// as screensaver, bit 2 windowed) and the window title.

#include "platform/base/CString.h"

class CDisplayFormat {
public:
    CDisplayFormat() = default;
    CDisplayFormat(int resolution, int flags, const CString& name)
        : m_iResolution(resolution), m_iFlags(flags), m_Name(name) {}

    int m_iResolution = 0;  // trailer integer a
    int m_iFlags = 0;       // trailer integer b
    CString m_Name;         // at most 100 bytes survive the trailer
};
