#include "view/CCameraNavigation.h"

#include "core/CScreen.h"

namespace {

// Below this length a turning axis is no axis: the direction is (almost)
// vertical or zero.
constexpr float kSmallestAxis = 1e-6f;

}  // namespace

CCameraNavigation::CCameraNavigation(CScreen& screen) : m_Screen(screen) {}

void CCameraNavigation::Press(TMouseButton button, int x, int y) {
    if (button == TMouseButton::Left) {
        m_LeftDragging = true;
    } else {
        m_RightDragging = true;
    }
    m_LastX = x;
    m_LastY = y;
}

void CCameraNavigation::Release(TMouseButton button) {
    if (button == TMouseButton::Left) {
        m_LeftDragging = false;
    } else {
        m_RightDragging = false;
    }
}

TNavigationCursor CCameraNavigation::Cursor() const {
    if (!m_Enabled) {
        return TNavigationCursor::Disabled;
    }
    return m_RightDragging ? TNavigationCursor::Moving : TNavigationCursor::Ready;
}

bool CCameraNavigation::MoveTo(int x, int y, bool shift, bool ctrl) {
    if (!m_Enabled) {
        return false;
    }
    const int dx = x - m_LastX;
    const int dy = y - m_LastY;
    m_LastX = x;
    m_LastY = y;
    // Looking first, so that with both buttons the move follows the new
    // direction.
    if (m_LeftDragging) {
        LookAround(dx, dy);
    }
    if (m_RightDragging) {
        Slide(dx, dy, shift, ctrl);
    }
    return IsDragging();
}

void CCameraNavigation::LookAround(int dx, int dy) {
    const float turnX = static_cast<float>(dx) * kTurnPerPixel;
    float turnY = static_cast<float>(dy) * kTurnPerPixel;
    if (m_InvertAxis) {
        turnY = -turnY;
    }
    D3DXVECTOR3 eye;
    D3DXVECTOR3 direction;
    m_Screen.GetCameraPosition(eye, direction);
    m_Screen.SetCamera(eye, TurnDirection(direction, turnX, turnY));
}

void CCameraNavigation::Slide(int dx, int dy, bool shift, bool ctrl) {
    const float pixelsPerStep = shift ? kPixelsPerStepWithShift : kPixelsPerStep;
    const float sideways = static_cast<float>(dx) / pixelsPerStep;
    const float other = static_cast<float>(dy) / pixelsPerStep;
    const D3DXVECTOR3 offset = ctrl ? D3DXVECTOR3(sideways, other, 0.0f) : D3DXVECTOR3(sideways, 0.0f, other);
    D3DXVECTOR3 eye;
    D3DXVECTOR3 direction;
    m_Screen.GetCameraPosition(eye, direction);
    const D3DXMATRIX cameraToWorld = m_Screen.GetCamera().m_matTransform;
    m_Screen.SetCamera(eye + Displacement(cameraToWorld, offset), direction);
}

D3DXVECTOR3 CCameraNavigation::TurnDirection(const D3DXVECTOR3& direction, float turnX, float turnY) {
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXVECTOR3 horizontal;  // points to the camera's left
    D3DXVec3Cross(&horizontal, &direction, &up);
    if (D3DXVec3Length(&horizontal) < kSmallestAxis) {
        return direction;
    }
    D3DXVECTOR3 vertical;  // the camera's up
    D3DXVec3Cross(&vertical, &horizontal, &direction);

    D3DXMATRIX pitch;
    D3DXMatrixRotationAxis(&pitch, &horizontal, -turnY);
    D3DXMATRIX yaw;
    D3DXMatrixRotationAxis(&yaw, &vertical, -turnX);
    D3DXMATRIX turn;
    D3DXMatrixMultiply(&turn, &pitch, &yaw);
    D3DXVECTOR3 turned;
    D3DXVec3TransformCoord(&turned, &direction, &turn);
    return turned;
}

D3DXVECTOR3 CCameraNavigation::Displacement(const D3DXMATRIX& cameraToWorld, const D3DXVECTOR3& offset) {
    D3DXVECTOR3 displacement;
    D3DXVec3TransformNormal(&displacement, &offset, &cameraToWorld);
    return displacement;
}
