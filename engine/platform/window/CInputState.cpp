#include "platform/window/CInputState.h"

void CInputState::SetKey(int dikCode, bool down) {
    if (dikCode < 0 || dikCode > 255)
        return;
    std::lock_guard lock(m_mutex);
    m_keys[static_cast<size_t>(dikCode)] = down ? 0x80 : 0x00;
}

void CInputState::AddMouseMotion(LONG dx, LONG dy, LONG wheel) {
    std::lock_guard lock(m_mutex);
    if (!m_focused)
        return;
    m_mouse.dx += dx;
    m_mouse.dy += dy;
    m_mouse.dz += wheel;
}

void CInputState::SetMouseButton(int button, bool down) {
    if (button < 0 || button > 2)
        return;
    std::lock_guard lock(m_mutex);
    m_mouse.buttons[button] = down ? 0x80 : 0x00;
}

void CInputState::SetFocused(bool focused) {
    std::lock_guard lock(m_mutex);
    m_focused = focused;
    if (!focused) {
        m_keys.fill(0);
        m_mouse = MouseState{};
    }
}

bool CInputState::IsFocused() const {
    std::lock_guard lock(m_mutex);
    return m_focused;
}

CInputState::KeyboardState CInputState::ReadKeyboard() const {
    std::lock_guard lock(m_mutex);
    if (!m_focused)
        return KeyboardState{};
    return m_keys;
}

CInputState::MouseState CInputState::ReadMouse() {
    std::lock_guard lock(m_mutex);
    if (!m_focused)
        return MouseState{};
    MouseState result = m_mouse;
    m_mouse.dx = m_mouse.dy = m_mouse.dz = 0;
    return result;
}
