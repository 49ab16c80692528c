#include "core/CKeyboard.h"

#include <array>
#include <utility>

#include "platform/window/COutputWindow.h"
#include "platform/window/DIKeyCodes.h"

namespace {

bool IsDown(const CInputState::KeyboardState& state, int dik) {
    return (state[static_cast<size_t>(dik)] & 0x80) != 0;
}

// Scan code and mask bit of every key KeyboardReadData reports.
constexpr std::array<std::pair<int, DWORD>, 32> kFirstMask = {{
    {DIK_LEFT, CKeyboard::kLeft},
    {DIK_RIGHT, CKeyboard::kRight},
    {DIK_UP, CKeyboard::kUp},
    {DIK_DOWN, CKeyboard::kDown},
    {DIK_SPACE, CKeyboard::kSpace},
    {DIK_ESCAPE, CKeyboard::kEscape},
    {DIK_F1, 0x00000040},
    {DIK_F2, 0x00000080},
    {DIK_F3, 0x00000100},
    {DIK_F4, 0x00000200},
    {DIK_F5, 0x00000400},
    {DIK_F6, 0x00000800},
    {DIK_F7, 0x00001000},
    {DIK_F8, 0x00002000},
    {DIK_F9, 0x00004000},
    {DIK_F10, 0x00008000},
    {DIK_RETURN, CKeyboard::kReturn},
    {DIK_1, 0x00020000},
    {DIK_2, 0x00040000},
    {DIK_3, 0x00080000},
    {DIK_4, 0x00100000},
    {DIK_5, 0x00200000},
    {DIK_6, 0x00400000},
    {DIK_7, 0x00800000},
    {DIK_8, 0x01000000},
    {DIK_9, 0x02000000},
    {DIK_0, CKeyboard::kDigit0},
    {DIK_RCONTROL, CKeyboard::kRightControl},
    {DIK_LCONTROL, CKeyboard::kLeftControl},
    {DIK_RSHIFT, CKeyboard::kRightShift},
    {DIK_LSHIFT, CKeyboard::kLeftShift},
    {DIK_TAB, CKeyboard::kTab},
}};

constexpr std::array<std::pair<int, DWORD>, 6> kSecondMask = {{
    {DIK_F11, CKeyboard::kF11},
    {DIK_F12, CKeyboard::kF12},
    {DIK_R, CKeyboard::kR},
    {DIK_T, CKeyboard::kT},
    {DIK_Z, CKeyboard::kZ},
    {DIK_X, CKeyboard::kX},
}};

template <size_t N>
DWORD FoldMask(const CInputState::KeyboardState& state, const std::array<std::pair<int, DWORD>, N>& keys) {
    DWORD mask = 0;
    for (const auto& [dik, bit] : keys) {
        if (IsDown(state, dik)) {
            mask |= bit;
        }
    }
    return mask;
}

}  // namespace

void CKeyboard::Init(HWND window) {
    if (window == nullptr) {
        m_pDevice = nullptr;
        return;
    }
    m_pDevice = &window->Input();
    // Foreground cooperation: the device is acquired while the window has the
    // focus (the Windows key stays with the system either way).
    m_bAcquired = m_pDevice->IsFocused();
}

void CKeyboard::CleanUp() {
    m_bAcquired = false;
    m_pDevice = nullptr;
}

bool CKeyboard::ReadState(CInputState::KeyboardState& state) {
    if (m_pDevice == nullptr) {
        return false;
    }
    if (!m_bAcquired || !m_pDevice->IsFocused()) {
        // Input was lost to another window: acquire again for the next read
        // and report nothing pressed now.
        m_bAcquired = m_pDevice->IsFocused();
        return false;
    }
    state = m_pDevice->ReadKeyboard();
    return true;
}

DWORD CKeyboard::ReadData() {
    CInputState::KeyboardState state{};
    return ReadState(state) ? FoldMask(state, kFirstMask) : 0;
}

DWORD CKeyboard::ReadData2() {
    CInputState::KeyboardState state{};
    return ReadState(state) ? FoldMask(state, kSecondMask) : 0;
}
