#pragma once
// The system mouse as the render thread polls it: relative motion and the
// three buttons of the screen's output window (CInputState), read like a
// DirectInput mouse with foreground cooperation.

#include <cstdint>

#include "platform/base/WinTypes.h"
#include "platform/window/CInputState.h"

class CMouse {
public:
    CMouse() = default;
    virtual ~CMouse() = default;
    CMouse(const CMouse&) = delete;
    CMouse& operator=(const CMouse&) = delete;

    // Attaches to the output window (the screen's) and acquires it; without
    // a window the mouse stays absent and every read returns nothing.
    void Init(HWND window);
    void CleanUp();
    bool IsPresent() const { return m_pDevice != nullptr; }

    // Motion since the previous read (x, y, wheel), also added to the
    // totals; returns the buttons (bit 0 first, bit 1 second, bit 2 third).
    // Without a device or without the focus: 0 and no motion.
    BYTE ReadData(LONG& dx, LONG& dy, LONG& dz);

    std::int32_t GetTotalX() const { return m_lTotalX; }
    std::int32_t GetTotalY() const { return m_lTotalY; }
    std::int32_t GetTotalZ() const { return m_lTotalZ; }

private:
    CInputState* m_pDevice = nullptr;
    bool m_bAcquired = false;
    std::int32_t m_lTotalX = 0;
    std::int32_t m_lTotalY = 0;
    std::int32_t m_lTotalZ = 0;
};
