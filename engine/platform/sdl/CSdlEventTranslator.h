#pragma once
// Turns the SDL events of one window into the Windows messages the engine's
// message loop expects and into the DirectInput-style keyboard and mouse
// state the render thread reads.
//
//   window close       -> WM_CLOSE (SDL_QUIT too)
//   key down / up      -> WM_KEYDOWN / WM_KEYUP (virtual key), DIK state
//   mouse buttons      -> WM_{L,R,M}BUTTON{DOWN,UP}, button state
//   mouse motion       -> WM_MOUSEMOVE (client x, y), relative motion
//   wheel              -> WM_MOUSEWHEEL (120 per notch), motion z
//   focus lost/gained  -> WM_ACTIVATEAPP 0 / 1, input released / accepted

#include <SDL.h>

#include <functional>

#include "platform/base/WinTypes.h"
#include "platform/window/CInputState.h"

class CSdlEventTranslator {
public:
    using PostFunction = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

    // screenOrigin gives the screen position of the window's client area
    // (WM_MOUSEWHEEL carries screen coordinates).
    CSdlEventTranslator(CInputState& input, PostFunction post, std::function<POINT()> screenOrigin);

    void Translate(const SDL_Event& event);

    // Packs two signed 16-bit coordinates the way MAKELPARAM does.
    static LPARAM PackPoint(int x, int y);

private:
    void OnWindowEvent(const SDL_WindowEvent& event);
    void OnKey(const SDL_KeyboardEvent& event);
    void OnMouseButton(const SDL_MouseButtonEvent& event);
    void OnMouseMotion(const SDL_MouseMotionEvent& event);
    void OnMouseWheel(const SDL_MouseWheelEvent& event);
    // The MK_* flags of the buttons and modifier keys held now.
    WPARAM MouseKeyState() const;

    CInputState& m_input;
    PostFunction m_post;
    std::function<POINT()> m_screenOrigin;
    Uint32 m_buttonsDown = 0;  // SDL_BUTTON() bits of the buttons held
};
