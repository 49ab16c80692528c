// Camera trajectories (evaluation, orientations, zoom, weight, keyframes)
// and trajectories that carry an object and draw their markers. No device is
// needed: the clock is set by hand and markers are watched, not drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "core/CScreen.h"
#include "objects/CBoxObject.h"
#include "support/CScreenStateGuard.h"

namespace {

constexpr float kEpsilon = 1e-4f;

// Scene time stands still at what the test sets.
class Trajectories : public ::testing::Test {
protected:
    void SetUp() override { At(0.0f); }
    static void At(float seconds) { CScreen::Instance().SetTime(seconds); }
    CScreenStateGuard m_screenState;
};

void ExpectVector(const D3DXVECTOR3& actual, float x, float y, float z) {
    EXPECT_NEAR(actual.x, x, kEpsilon);
    EXPECT_NEAR(actual.y, y, kEpsilon);
    EXPECT_NEAR(actual.z, z, kEpsilon);
}

// A camera moving linearly from the origin to (10, 0, 0) over 10 s.
void MakeMovingCamera(CCameraTrajectoryObject& camera) {
    camera.SetInterpolationMode(IM_LINEAR);
    camera.SetCurrentKeyFrame(camera.AddKeyFrame(10.0f));
    camera.SetPosition(D3DXVECTOR3(10.0f, 0.0f, 0.0f));
    camera.SetCurrentKeyFrame(0);
}

// Remembers where each marker would be drawn.
class CWatchedTrajectory : public CTrajectoryObject {
public:
    std::vector<D3DXVECTOR3> markers;

protected:
    void DrawMarker(CBoxObject&, const D3DXVECTOR3& position) override { markers.push_back(position); }
};

}  // namespace

TEST_F(Trajectories, ANewCameraStaysAtItsKeyLookingAlongZWithAQuarterPiView) {
    CCameraTrajectoryObject camera;
    EXPECT_EQ(camera.GetObjType(), "CCameraTrajectoryObject");
    EXPECT_EQ(camera.GetKeyFrameNumber(), 1);
    EXPECT_EQ(camera.GetKeyFrameID(0), 0);
    EXPECT_EQ(camera.GetWeight(), 0);
    EXPECT_EQ(camera.GetInterpolationMode(), IM_HSPLINE);
    camera.SetPosition(D3DXVECTOR3(1.0f, 2.0f, 3.0f));
    for (float t : {0.0f, 4.0f, 100.0f}) {
        At(t);
        D3DXVECTOR3 eye, direction, up;
        EXPECT_TRUE(camera.GetCurrentFromAt(eye, direction, up));
        ExpectVector(eye, 1.0f, 2.0f, 3.0f);
        ExpectVector(direction, 0.0f, 0.0f, 1.0f);
        ExpectVector(up, 0.0f, 1.0f, 0.0f);
        EXPECT_FLOAT_EQ(camera.GetCurrentZoom(), 0.7853982f);
    }
}

TEST_F(Trajectories, ZoomNarrowsTheFieldOfViewByATenthOfARadianPerUnit) {
    CCameraTrajectoryObject camera;
    for (float zoom : {0.0f, 1.0f, 2.5f, 7.0f}) {
        camera.SetZoom(zoom);
        EXPECT_FLOAT_EQ(camera.GetZoom(), zoom);
        EXPECT_FLOAT_EQ(camera.GetCurrentZoom(), 0.7853982f - zoom * 0.1f + 0.1f);
    }
}

TEST_F(Trajectories, FixedCameraTurnsByItsYawPitchRoll) {
    CCameraTrajectoryObject camera;
    camera.SetDirection(D3DXVECTOR3(D3DX_PI / 2.0f, 0.0f, 0.0f));  // quarter turn about y
    D3DXVECTOR3 eye, direction, up;
    camera.GetCurrentFromAt(eye, direction, up);
    ExpectVector(direction, 1.0f, 0.0f, 0.0f);
    ExpectVector(up, 0.0f, 1.0f, 0.0f);

    camera.SetDirection(D3DXVECTOR3(0.0f, 0.0f, D3DX_PI / 2.0f));  // roll: up turns, view stays
    camera.GetCurrentFromAt(eye, direction, up);
    ExpectVector(direction, 0.0f, 0.0f, 1.0f);
    ExpectVector(up, -1.0f, 0.0f, 0.0f);
}

TEST_F(Trajectories, FrontAndRearCamerasLookAlongTheirPathAndAlongZAtRest) {
    CCameraTrajectoryObject camera;
    MakeMovingCamera(camera);
    camera.SetOrientation(OR_FRONT);
    D3DXVECTOR3 eye, direction, up;
    At(5.0f);
    camera.GetCurrentFromAt(eye, direction, up);
    ExpectVector(eye, 5.0f, 0.0f, 0.0f);
    ExpectVector(direction, 1.0f, 0.0f, 0.0f);
    ExpectVector(up, 0.0f, 1.0f, 0.0f);

    camera.SetOrientation(OR_REAR);
    camera.GetCurrentFromAt(eye, direction, up);
    ExpectVector(direction, -1.0f, 0.0f, 0.0f);

    // After the last key the path stands still: a front camera looks along +z.
    camera.SetOrientation(OR_FRONT);
    At(20.0f);
    camera.GetCurrentFromAt(eye, direction, up);
    EXPECT_NEAR(eye.x, 10.0f, 0.01f);
    ExpectVector(direction, 0.0f, 0.0f, 1.0f);
}

TEST_F(Trajectories, CameraLooksAtAPositionOrAnObject) {
    CCameraTrajectoryObject camera;
    camera.SetPosition(D3DXVECTOR3(0.0f, 0.0f, -5.0f));
    camera.SetOrientation(OR_LOOK_AT_POSITION);
    camera.SetLookAtPosition(D3DXVECTOR3(3.0f, 0.0f, -5.0f));
    EXPECT_EQ(camera.GetLookAtPosition(), D3DXVECTOR3(3.0f, 0.0f, -5.0f));
    D3DXVECTOR3 eye, direction, up;
    camera.GetCurrentFromAt(eye, direction, up);
    ExpectVector(direction, 3.0f, 0.0f, 0.0f);  // relative to the eye, not normalised

    camera.SetLookAtPosition(D3DXVECTOR3(0.0f, 0.0f, -5.0f));  // the eye itself
    camera.GetCurrentFromAt(eye, direction, up);
    ExpectVector(direction, 0.0f, 0.0f, 1.0f);

    camera.SetOrientation(OR_LOOK_AT_OBJECT);
    direction = D3DXVECTOR3(7.0f, 7.0f, 7.0f);
    EXPECT_FALSE(camera.GetCurrentFromAt(eye, direction, up));  // no object: left alone
    ExpectVector(direction, 7.0f, 7.0f, 7.0f);

    CBoxObject box;
    box.SetPosition(0.0f, 4.0f, 0.0f);
    camera.SetLookAtObject(&box);
    EXPECT_TRUE(camera.GetCurrentFromAt(eye, direction, up));
    ExpectVector(direction, 0.0f, 4.0f, 5.0f);
    camera.ForgetObject(box);
    EXPECT_EQ(camera.GetLookAtObject(), nullptr);
}

TEST_F(Trajectories, WeightIsAnIntegerThatSwitchesAtNinetyNinePercentOfASegment) {
    CCameraTrajectoryObject camera;
    camera.SetWeight(3);
    EXPECT_EQ(camera.GetWeight(), 3);
    EXPECT_EQ(camera.GetCurrentWeight(), 3);
    camera.SetWeight(0);
    camera.SetCurrentKeyFrame(camera.AddKeyFrame(10.0f));
    camera.SetWeight(3);
    EXPECT_EQ(camera.GetWeight(), 3);
    camera.SetCurrentKeyFrame(0);
    EXPECT_EQ(camera.GetWeight(), 0);
    // Other curves follow the interpolation mode; the weight stays in steps.
    camera.SetInterpolationMode(IM_LINEAR);
    At(5.0f);
    EXPECT_EQ(camera.GetCurrentWeight(), 0);
    At(9.85f);
    EXPECT_EQ(camera.GetCurrentWeight(), 0);
    At(9.95f);
    EXPECT_EQ(camera.GetCurrentWeight(), 3);
}

TEST_F(Trajectories, CameraKeyFramesMoveAllFiveCurvesTogether) {
    CCameraTrajectoryObject camera;
    MakeMovingCamera(camera);
    EXPECT_EQ(camera.GetKeyFrameNumber(), 2);
    const int id = camera.GetKeyFrameID(1);
    EXPECT_FLOAT_EQ(camera.GetKeyFrameTime(1), 10.0f);

    // A key added mid-way holds the values there: nothing moves.
    At(5.0f);
    const D3DXVECTOR3 before = camera.GetCurrentPosition();
    const int middle = camera.AddKeyFrame(5.0f);
    EXPECT_EQ(camera.GetKeyFrameNumber(), 3);
    ExpectVector(camera.GetCurrentPosition(), before.x, before.y, before.z);
    camera.SetCurrentKeyFrame(middle);
    ExpectVector(camera.GetPosition(), 5.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(camera.GetZoom(), 1.0f);

    camera.MoveKeyFrame(id, 20.0f);
    EXPECT_FLOAT_EQ(camera.GetKeyFrameTime(2), 20.0f);
    EXPECT_EQ(camera.GetCurrentPosition(20.0f - 0.001f).x, camera.GetCurrentPosition(30.0f).x);
    camera.DeleteKeyFrame(middle);
    EXPECT_EQ(camera.GetKeyFrameNumber(), 2);
    // Index accessors outside the keys read nothing.
    EXPECT_EQ(camera.GetKeyFrameTime(2), 0.0f);
    EXPECT_EQ(camera.GetKeyFrameTime(-1), 0.0f);
    EXPECT_EQ(camera.GetKeyFrameID(7), 0);
}

TEST_F(Trajectories, TrajectoryCarriesItsObjectAlongThePathFacingForward) {
    CTrajectoryObject trajectory;
    trajectory.GetPath().SetMode(IM_LINEAR);
    trajectory.GetPath().Insert(10.0f, 0.0f, 0.0f, 10.0f, -1);
    trajectory.SetDisplayCtrl(false);
    CBoxObject box;
    trajectory.SetAssignedObject(&box);
    trajectory.SetOrientation(OR_FRONT);
    for (float t : {2.0f, 5.0f, 7.5f}) {
        At(t);
        trajectory.Render();
        ExpectVector(box.GetPosition(), t, 0.0f, 0.0f);
    }
    D3DXVECTOR3 position, direction;
    EXPECT_TRUE(trajectory.GetCurrentFromAt(position, direction));
    ExpectVector(direction, 1.0f, 0.0f, 0.0f);
    trajectory.SetOrientation(OR_REAR);
    trajectory.GetCurrentFromAt(position, direction);
    ExpectVector(direction, -1.0f, 0.0f, 0.0f);
    trajectory.SetOrientation(OR_LOOK_AT_POSITION);
    trajectory.SetOrientationPosition(D3DXVECTOR3(7.5f, 2.0f, 0.0f));
    trajectory.GetCurrentFromAt(position, direction);
    ExpectVector(direction, 0.0f, 2.0f, 0.0f);

    CBoxObject target;
    target.SetPosition(7.5f, 0.0f, 3.0f);
    trajectory.SetOrientation(OR_LOOK_AT_OBJECT);
    trajectory.SetLookAtObject(&target);
    trajectory.GetCurrentFromAt(position, direction);
    ExpectVector(direction, 0.0f, 0.0f, 3.0f);

    // A fixed trajectory gives no direction: the caller's stays.
    trajectory.SetOrientation(OR_FIXED);
    direction = D3DXVECTOR3(1.0f, 2.0f, 3.0f);
    EXPECT_FALSE(trajectory.GetCurrentFromAt(position, direction));
    ExpectVector(direction, 1.0f, 2.0f, 3.0f);

    trajectory.ForgetObject(box);
    trajectory.ForgetObject(target);
    EXPECT_EQ(trajectory.GetAssignedObject(), nullptr);
    EXPECT_EQ(trajectory.GetLookAtObject(), nullptr);
    trajectory.Render();  // nothing left to carry
}

TEST_F(Trajectories, MarkersStandAtTheKeysAndAtSeventhsOfEachSegment) {
    CWatchedTrajectory trajectory;
    EXPECT_TRUE(trajectory.GetDisplayCtrl());
    EXPECT_FALSE(trajectory.GetDisplayTraj());
    trajectory.GetPath().SetMode(IM_LINEAR);
    trajectory.GetPath().Insert(7.0f, 0.0f, 0.0f, 7.0f, -1);
    trajectory.Render();
    ASSERT_EQ(trajectory.markers.size(), 2u);  // one per key
    ExpectVector(trajectory.markers[0], 0.0f, 0.0f, 0.0f);
    ExpectVector(trajectory.markers[1], 7.0f, 0.0f, 0.0f);

    trajectory.markers.clear();
    trajectory.SetDisplayCtrl(false);
    trajectory.SetDisplayTraj(true);
    trajectory.Render();
    // The first key at time 0 spans no time: its six markers sit on it.
    ASSERT_EQ(trajectory.markers.size(), 12u);
    for (int k = 0; k < 6; ++k)
        ExpectVector(trajectory.markers[k], 0.0f, 0.0f, 0.0f);
    for (int k = 1; k <= 6; ++k)
        ExpectVector(trajectory.markers[5 + k], static_cast<float>(k), 0.0f, 0.0f);

    trajectory.markers.clear();
    trajectory.SetDisplayTraj(false);
    trajectory.Render();
    EXPECT_TRUE(trajectory.markers.empty());
}

TEST_F(Trajectories, InitNamesTheTypesAndRegistersTheMarkers) {
    CScreen& screen = CScreen::Instance();
    const int registered = screen.GetRegisteredObjectNumber();
    {
        CTrajectoryObject trajectory;
        CCameraTrajectoryObject camera;
        EXPECT_TRUE(trajectory.Init());
        EXPECT_TRUE(camera.Init());
        EXPECT_EQ(trajectory.GetObjType(), "CTrajectoryObject");
        EXPECT_EQ(trajectory.GetObjDescription(), "Trajectory");
        EXPECT_EQ(camera.GetObjType(), "CCameraTrajectoryObject");
        EXPECT_EQ(camera.GetObjDescription(), "Camera Trajectory");
        EXPECT_EQ(screen.GetRegisteredObjectNumber(), registered + 6);  // each with two markers
        camera.CleanUp();
        EXPECT_EQ(screen.GetRegisteredObjectNumber(), registered + 3);
    }
    EXPECT_EQ(screen.GetRegisteredObjectNumber(), registered);
}
