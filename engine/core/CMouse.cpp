#include "core/CMouse.h"

#include "platform/window/COutputWindow.h"

void CMouse::Init(HWND window) {
    if (window == nullptr) {
        m_pDevice = nullptr;
        return;
    }
    m_pDevice = &window->Input();
    m_bAcquired = m_pDevice->IsFocused();
}

void CMouse::CleanUp() {
    m_bAcquired = false;
    m_pDevice = nullptr;
}

BYTE CMouse::ReadData(LONG& dx, LONG& dy, LONG& dz) {
    dx = dy = dz = 0;
    if (m_pDevice == nullptr) {
        return 0;
    }
    if (!m_bAcquired || !m_pDevice->IsFocused()) {
        // Lost to another window: acquire again for the next read.
        m_bAcquired = m_pDevice->IsFocused();
        return 0;
    }
    const CInputState::MouseState state = m_pDevice->ReadMouse();
    dx = state.dx;
    dy = state.dy;
    dz = state.dz;
    // Totals wrap like the 32-bit counters they stand for.
    m_lTotalX = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_lTotalX) + static_cast<std::uint32_t>(dx));
    m_lTotalY = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_lTotalY) + static_cast<std::uint32_t>(dy));
    m_lTotalZ = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_lTotalZ) + static_cast<std::uint32_t>(dz));
    BYTE buttons = 0;
    for (int i = 0; i < 3; ++i) {
        if ((state.buttons[i] & 0x80) != 0) {
            buttons = static_cast<BYTE>(buttons | (1u << i));
        }
    }
    return buttons;
}
