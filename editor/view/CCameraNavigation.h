#pragma once
// Mouse navigation of the user camera in the 3D view, without any widget:
// the view hands over its button presses, releases and pointer positions,
// and the navigation moves the engine's camera.
//
// - Left drag looks around: the eye stays, the viewing direction turns by
//   1/300 radian per pixel (vertically the other way with the axis inverted).
// - Right drag moves the eye without turning: sideways and forwards, or
//   sideways and up while Ctrl is held. A step is 1/50 unit per pixel, 1/10
//   (five times as far) while Shift is held.
// - Both buttons: first the look, then the move on the turned camera.
// - While disabled (the scene's own camera is shown) nothing moves.
//
// User-interface thread only; the engine's camera is read and written
// through the screen's locked setters.

#include "platform/d3dx/d3dx8math.h"

class CScreen;

enum class TMouseButton {
    Left,
    Right,
};

// Which of the view's three pointers fits the state.
enum class TNavigationCursor {
    Ready,     // navigation on, no right drag
    Moving,    // right drag in progress
    Disabled,  // the scene camera is shown
};

class CCameraNavigation {
public:
    static constexpr float kTurnPerPixel = 0.0033333334f;  // radian
    static constexpr float kPixelsPerStep = 50.0f;
    static constexpr float kPixelsPerStepWithShift = 10.0f;

    explicit CCameraNavigation(CScreen& screen);

    void SetEnabled(bool enabled) { m_Enabled = enabled; }
    bool IsEnabled() const { return m_Enabled; }
    void SetInvertAxis(bool invert) { m_InvertAxis = invert; }
    bool IsAxisInverted() const { return m_InvertAxis; }

    // The pointer position is in the view's coordinates.
    void Press(TMouseButton button, int x, int y);
    void Release(TMouseButton button);
    // Applies the drag from the last position; true when a button was held
    // and the camera was moved (the status line shows the new position).
    bool MoveTo(int x, int y, bool shift, bool ctrl);

    bool IsDragging() const { return m_LeftDragging || m_RightDragging; }
    bool IsLeftDragging() const { return m_LeftDragging; }
    bool IsRightDragging() const { return m_RightDragging; }
    TNavigationCursor Cursor() const;

    // The direction after turning by turnX (about the camera's vertical
    // axis) and turnY (about its horizontal axis), radians. A direction
    // straight up or down has no horizontal axis and stays as it is.
    static D3DXVECTOR3 TurnDirection(const D3DXVECTOR3& direction, float turnX, float turnY);
    // The camera-space offset as a world-space displacement (rotation of
    // the camera-to-world matrix only).
    static D3DXVECTOR3 Displacement(const D3DXMATRIX& cameraToWorld, const D3DXVECTOR3& offset);

private:
    void LookAround(int dx, int dy);
    void Slide(int dx, int dy, bool shift, bool ctrl);

    CScreen& m_Screen;
    bool m_Enabled = true;
    bool m_InvertAxis = false;
    bool m_LeftDragging = false;
    bool m_RightDragging = false;
    int m_LastX = 0;
    int m_LastY = 0;
};
