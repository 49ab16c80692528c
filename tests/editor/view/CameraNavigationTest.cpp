// Mouse navigation of the user camera: looking around with the left button,
// moving with the right one (Shift five times as far, Ctrl up instead of
// forward), both together, the inverted vertical axis, the pointer shapes
// and the disabled navigation while the scene camera is shown. The engine's
// real camera is moved; no window is needed.

#include <gtest/gtest.h>

#include <cmath>

#include "EngineCamera.h"
#include "core/CScreen.h"
#include "support/CScreenStateGuard.h"
#include "view/CCameraNavigation.h"

namespace {

constexpr float kTolerance = 1e-4f;

#define EXPECT_VECTOR_NEAR(actual, expectedX, expectedY, expectedZ) \
    do {                                                            \
        const D3DXVECTOR3 value = (actual);                         \
        EXPECT_NEAR(value.x, (expectedX), kTolerance);              \
        EXPECT_NEAR(value.y, (expectedY), kTolerance);              \
        EXPECT_NEAR(value.z, (expectedZ), kTolerance);              \
    } while (false)

class CameraNavigation : public testing::Test {
protected:
    void SetUp() override { PlaceCamera(D3DXVECTOR3(0.0f, 1.0f, -10.0f), D3DXVECTOR3(0.0f, 0.0f, 1.0f)); }

    static void PlaceCamera(const D3DXVECTOR3& eye, const D3DXVECTOR3& direction) {
        CScreen::Instance().SetCamera(eye, direction);
    }
    static D3DXVECTOR3 Eye() { return viewtest::Eye(); }
    static D3DXVECTOR3 Direction() { return viewtest::Direction(); }

    // Presses the button at (100, 100), drags by (dx, dy) and releases.
    void Drag(TMouseButton button, int dx, int dy, bool shift = false, bool ctrl = false) {
        m_navigation.Press(button, 100, 100);
        m_navigation.MoveTo(100 + dx, 100 + dy, shift, ctrl);
        m_navigation.Release(button);
    }

    CScreenStateGuard m_screenState;
    CCameraNavigation m_navigation{CScreen::Instance()};
};

// --- looking around (left button) ---------------------------------------------

TEST_F(CameraNavigation, DraggingSidewaysTurnsTheViewAboutTheVerticalAxisWithoutMovingTheEye) {
    Drag(TMouseButton::Left, 150, 0);  // half a radian
    EXPECT_VECTOR_NEAR(Eye(), 0.0f, 1.0f, -10.0f);
    EXPECT_VECTOR_NEAR(Direction(), -std::sin(0.5f), 0.0f, std::cos(0.5f));

    Drag(TMouseButton::Left, -150, 0);
    EXPECT_VECTOR_NEAR(Direction(), 0.0f, 0.0f, 1.0f);
}

TEST_F(CameraNavigation, DraggingDownLooksDownAndUpLooksUp) {
    Drag(TMouseButton::Left, 0, 30);
    EXPECT_VECTOR_NEAR(Direction(), 0.0f, -std::sin(0.1f), std::cos(0.1f));
    EXPECT_VECTOR_NEAR(Eye(), 0.0f, 1.0f, -10.0f);

    PlaceCamera(D3DXVECTOR3(0.0f, 1.0f, -10.0f), D3DXVECTOR3(0.0f, 0.0f, 1.0f));
    Drag(TMouseButton::Left, 0, -30);
    EXPECT_VECTOR_NEAR(Direction(), 0.0f, std::sin(0.1f), std::cos(0.1f));
}

TEST_F(CameraNavigation, InvertedAxisPitchesTheOtherWayButTurnsSidewaysAlike) {
    m_navigation.SetInvertAxis(true);
    Drag(TMouseButton::Left, 0, -30);
    EXPECT_VECTOR_NEAR(Direction(), 0.0f, -std::sin(0.1f), std::cos(0.1f));

    PlaceCamera(D3DXVECTOR3(0.0f, 1.0f, -10.0f), D3DXVECTOR3(0.0f, 0.0f, 1.0f));
    Drag(TMouseButton::Left, 150, 0);
    EXPECT_VECTOR_NEAR(Direction(), -std::sin(0.5f), 0.0f, std::cos(0.5f));
}

TEST_F(CameraNavigation, PitchFollowsTheCameraWhereverItLooks) {
    // Looking along +x, the horizontal axis is the world's z axis.
    PlaceCamera(D3DXVECTOR3(2.0f, 0.0f, 0.0f), D3DXVECTOR3(1.0f, 0.0f, 0.0f));
    Drag(TMouseButton::Left, 0, 30);
    EXPECT_VECTOR_NEAR(Direction(), std::cos(0.1f), -std::sin(0.1f), 0.0f);
}

TEST_F(CameraNavigation, LookingStraightDownCannotTurnAndLeavesTheCameraAsItWas) {
    PlaceCamera(D3DXVECTOR3(0.0f, 5.0f, 0.0f), D3DXVECTOR3(0.0f, -1.0f, 0.0f));
    Drag(TMouseButton::Left, 40, 40);
    const D3DXVECTOR3 direction = Direction();
    EXPECT_FALSE(std::isnan(direction.x) || std::isnan(direction.y) || std::isnan(direction.z));
    EXPECT_VECTOR_NEAR(direction, 0.0f, -1.0f, 0.0f);
}

// --- moving (right button) ------------------------------------------------------

TEST_F(CameraNavigation, DraggingMovesSidewaysAndForwardWithoutTurning) {
    Drag(TMouseButton::Right, 50, 0);
    EXPECT_VECTOR_NEAR(Eye(), 1.0f, 1.0f, -10.0f);
    Drag(TMouseButton::Right, 0, 100);
    EXPECT_VECTOR_NEAR(Eye(), 1.0f, 1.0f, -8.0f);
    EXPECT_VECTOR_NEAR(Direction(), 0.0f, 0.0f, 1.0f);
}

TEST_F(CameraNavigation, MovesFollowTheCamerasOrientation) {
    PlaceCamera(D3DXVECTOR3(0.0f, 0.0f, 0.0f), D3DXVECTOR3(1.0f, 0.0f, 0.0f));
    Drag(TMouseButton::Right, 0, 50);  // forward is +x
    EXPECT_VECTOR_NEAR(Eye(), 1.0f, 0.0f, 0.0f);
    Drag(TMouseButton::Right, 50, 0);  // the camera's right is -z
    EXPECT_VECTOR_NEAR(Eye(), 1.0f, 0.0f, -1.0f);
}

TEST_F(CameraNavigation, ShiftMovesFiveTimesAsFar) {
    Drag(TMouseButton::Right, 0, 50);
    const float plain = Eye().z - -10.0f;
    PlaceCamera(D3DXVECTOR3(0.0f, 1.0f, -10.0f), D3DXVECTOR3(0.0f, 0.0f, 1.0f));
    Drag(TMouseButton::Right, 0, 50, true);
    const float withShift = Eye().z - -10.0f;
    EXPECT_NEAR(plain, 1.0f, kTolerance);
    EXPECT_NEAR(withShift, 5.0f * plain, kTolerance);
}

TEST_F(CameraNavigation, CtrlMovesUpInsteadOfForward) {
    Drag(TMouseButton::Right, 50, 100, false, true);
    EXPECT_VECTOR_NEAR(Eye(), 1.0f, 3.0f, -10.0f);
    EXPECT_VECTOR_NEAR(Direction(), 0.0f, 0.0f, 1.0f);
}

TEST_F(CameraNavigation, EachStepCountsFromThePreviousPointerPosition) {
    m_navigation.Press(TMouseButton::Right, 10, 10);
    m_navigation.MoveTo(10, 35, false, false);
    m_navigation.MoveTo(10, 60, false, false);
    m_navigation.MoveTo(10, 60, false, false);
    EXPECT_VECTOR_NEAR(Eye(), 0.0f, 1.0f, -9.0f);
}

// --- both buttons -----------------------------------------------------------------

TEST_F(CameraNavigation, BothButtonsTurnFirstAndThenMoveAlongTheTurnedCamera) {
    m_navigation.Press(TMouseButton::Left, 0, 0);
    m_navigation.Press(TMouseButton::Right, 0, 0);
    EXPECT_TRUE(m_navigation.MoveTo(0, 150, false, false));
    // Half a radian down, then three units forward along the new direction.
    const D3DXVECTOR3 direction = Direction();
    EXPECT_VECTOR_NEAR(direction, 0.0f, -std::sin(0.5f), std::cos(0.5f));
    EXPECT_VECTOR_NEAR(Eye(), 0.0f, 1.0f - 3.0f * std::sin(0.5f), -10.0f + 3.0f * std::cos(0.5f));
}

// --- buttons, pointer shapes and the disabled navigation ----------------------------

TEST_F(CameraNavigation, MovingThePointerWithoutAButtonChangesNothing) {
    EXPECT_FALSE(m_navigation.MoveTo(300, 200, false, false));
    Drag(TMouseButton::Right, 0, 0);
    m_navigation.MoveTo(400, 400, false, false);  // after the release
    EXPECT_VECTOR_NEAR(Eye(), 0.0f, 1.0f, -10.0f);
    EXPECT_VECTOR_NEAR(Direction(), 0.0f, 0.0f, 1.0f);
}

TEST_F(CameraNavigation, TheRightDragHasAPointerOfItsOwn) {
    EXPECT_EQ(m_navigation.Cursor(), TNavigationCursor::Ready);
    m_navigation.Press(TMouseButton::Left, 0, 0);
    EXPECT_EQ(m_navigation.Cursor(), TNavigationCursor::Ready);
    m_navigation.Press(TMouseButton::Right, 0, 0);
    EXPECT_EQ(m_navigation.Cursor(), TNavigationCursor::Moving);
    m_navigation.Release(TMouseButton::Right);
    EXPECT_EQ(m_navigation.Cursor(), TNavigationCursor::Ready);
    EXPECT_TRUE(m_navigation.IsLeftDragging());
}

TEST_F(CameraNavigation, DisabledNoDragMovesTheCameraAndThePointerSaysSo) {
    m_navigation.SetEnabled(false);
    m_navigation.Press(TMouseButton::Left, 0, 0);
    m_navigation.Press(TMouseButton::Right, 0, 0);
    EXPECT_EQ(m_navigation.Cursor(), TNavigationCursor::Disabled);
    EXPECT_FALSE(m_navigation.MoveTo(120, 80, true, true));
    EXPECT_VECTOR_NEAR(Eye(), 0.0f, 1.0f, -10.0f);
    EXPECT_VECTOR_NEAR(Direction(), 0.0f, 0.0f, 1.0f);
}

}  // namespace
