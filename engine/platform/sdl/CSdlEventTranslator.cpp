#include "platform/sdl/CSdlEventTranslator.h"

#include <cmath>
#include <utility>

#include "platform/sdl/CSdlKeyMap.h"
#include "platform/sdl/VirtualKeyCodes.h"

namespace {

struct ButtonMessages {
    int inputIndex;  // DirectInput button: 0 left, 1 right, 2 middle
    UINT down;
    UINT up;
};

bool ButtonMessagesFor(Uint8 sdlButton, ButtonMessages& out) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        out = {0, WM_LBUTTONDOWN, WM_LBUTTONUP};
        return true;
    case SDL_BUTTON_RIGHT:
        out = {1, WM_RBUTTONDOWN, WM_RBUTTONUP};
        return true;
    case SDL_BUTTON_MIDDLE:
        out = {2, WM_MBUTTONDOWN, WM_MBUTTONUP};
        return true;
    default:
        return false;  // side buttons have no message here
    }
}

}  // namespace

CSdlEventTranslator::CSdlEventTranslator(CInputState& input, PostFunction post, std::function<POINT()> screenOrigin)
    : m_input(input), m_post(std::move(post)), m_screenOrigin(std::move(screenOrigin)) {}

LPARAM CSdlEventTranslator::PackPoint(int x, int y) {
    const auto low = static_cast<std::uint32_t>(static_cast<std::uint16_t>(x));
    const auto high = static_cast<std::uint32_t>(static_cast<std::uint16_t>(y));
    return static_cast<LPARAM>(low | (high << 16));
}

void CSdlEventTranslator::Translate(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        m_post(WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT:
        OnWindowEvent(event.window);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        OnKey(event.key);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        OnMouseButton(event.button);
        break;
    case SDL_MOUSEMOTION:
        OnMouseMotion(event.motion);
        break;
    case SDL_MOUSEWHEEL:
        OnMouseWheel(event.wheel);
        break;
    default:
        break;
    }
}

void CSdlEventTranslator::OnWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        m_post(WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        m_buttonsDown = 0;
        m_input.SetFocused(false);
        m_post(WM_ACTIVATEAPP, 0, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        m_input.SetFocused(true);
        m_post(WM_ACTIVATEAPP, 1, 0);
        break;
    default:
        break;
    }
}

void CSdlEventTranslator::OnKey(const SDL_KeyboardEvent& event) {
    const bool down = event.type == SDL_KEYDOWN;
    const CSdlKeyMap::Key key = CSdlKeyMap::Translate(event.keysym.scancode, event.keysym.sym);
    if (key.dik != 0)
        m_input.SetKey(key.dik, down);
    if (key.vk != 0) {
        m_post(down ? WM_KEYDOWN : WM_KEYUP, key.vk, CSdlKeyMap::KeyMessageLParam(key.dik, down, event.repeat != 0));
    }
}

void CSdlEventTranslator::OnMouseButton(const SDL_MouseButtonEvent& event) {
    ButtonMessages messages{};
    if (!ButtonMessagesFor(event.button, messages))
        return;
    const bool down = event.type == SDL_MOUSEBUTTONDOWN;
    if (down)
        m_buttonsDown |= SDL_BUTTON(event.button);
    else
        m_buttonsDown &= ~SDL_BUTTON(event.button);
    m_input.SetMouseButton(messages.inputIndex, down);
    m_post(down ? messages.down : messages.up, MouseKeyState(), PackPoint(event.x, event.y));
}

void CSdlEventTranslator::OnMouseMotion(const SDL_MouseMotionEvent& event) {
    m_input.AddMouseMotion(event.xrel, event.yrel, 0);
    m_post(WM_MOUSEMOVE, MouseKeyState(), PackPoint(event.x, event.y));
}

void CSdlEventTranslator::OnMouseWheel(const SDL_MouseWheelEvent& event) {
    // Smooth-scrolling devices report fractions of a notch.
    const float notches = event.preciseY != 0.0f ? event.preciseY : static_cast<float>(event.y);
    LONG delta = static_cast<LONG>(std::lround(notches * WHEEL_DELTA));
    if (event.direction == SDL_MOUSEWHEEL_FLIPPED)
        delta = -delta;
    if (delta == 0)
        return;  // horizontal scrolling only
    m_input.AddMouseMotion(0, 0, delta);
    const POINT origin = m_screenOrigin ? m_screenOrigin() : POINT{};
    const auto wParam = (static_cast<WPARAM>(static_cast<std::uint16_t>(delta)) << 16) | MouseKeyState();
    m_post(WM_MOUSEWHEEL, wParam, PackPoint(origin.x + event.mouseX, origin.y + event.mouseY));
}

WPARAM CSdlEventTranslator::MouseKeyState() const {
    WPARAM state = 0;
    if (m_buttonsDown & SDL_BUTTON_LMASK)
        state |= MK_LBUTTON;
    if (m_buttonsDown & SDL_BUTTON_RMASK)
        state |= MK_RBUTTON;
    if (m_buttonsDown & SDL_BUTTON_MMASK)
        state |= MK_MBUTTON;
    const SDL_Keymod mods = SDL_GetModState();
    if (mods & KMOD_SHIFT)
        state |= MK_SHIFT;
    if (mods & KMOD_CTRL)
        state |= MK_CONTROL;
    return state;
}
