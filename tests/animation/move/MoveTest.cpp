// The movement controller: travelling by speed and scene time (stop, play,
// loop, clock resets), editing points, the arc-length tables and the lookup
// of a distance, step mode, paths of 0 and 1 points, following, and the
// screen's and objects' hooks. The scene time is set by hand; no device.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "animation/CMove.h"
#include "core/CCameraRemote.h"
#include "core/CScreen.h"
#include "objects/CBoxObject.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"
#include "support/CErrorCapture.h"
#include "support/CScreenStateGuard.h"

namespace {

constexpr float kEpsilon = 1e-3f;

// All eleven values of an evaluation.
struct SSample {
    D3DXVECTOR3 position, direction, up;
    float speed = 0.0f;
    float zoom = 0.0f;
};

SSample Current(CMove& move) {
    SSample s;
    move.GetCurrentPosition(s.position.x, s.position.y, s.position.z, s.direction.x, s.direction.y, s.direction.z,
                            s.speed, s.up.x, s.up.y, s.up.z, s.zoom);
    return s;
}

SSample Along(CMove& move, float distance) {
    SSample s;
    move.GetPosition(distance, s.position.x, s.position.y, s.position.z, s.direction.x, s.direction.y, s.direction.z,
                     s.speed, s.up.x, s.up.y, s.up.z, s.zoom);
    return s;
}

void ExpectVector(const D3DXVECTOR3& actual, float x, float y, float z) {
    EXPECT_NEAR(actual.x, x, kEpsilon);
    EXPECT_NEAR(actual.y, y, kEpsilon);
    EXPECT_NEAR(actual.z, z, kEpsilon);
}

void Add(CMove& move, float x, float y, float z, float speed = 4.0f, float zoom = 1.0f) {
    move.AddPoint(x, y, z, 0.0f, 0.0f, 1.0f, speed, 0.0f, 1.0f, 0.0f, zoom);
}

// The scene clock stands still at what the test sets.
class Move : public testing::Test {
protected:
    void SetUp() override {
        CScreen::Instance().Pause();
        At(0.0f);
    }
    static void At(float seconds) { CScreen::Instance().SetTime(seconds); }
    static float XAt(CMove& move, float seconds) {
        At(seconds);
        return Current(move).position.x;
    }

    // From the origin along x for 40 units at 4 units a second.
    static CMove Straight(bool loop) {
        CMove move;
        move.SetLoop(loop);
        Add(move, 0, 0, 0);
        Add(move, 40, 0, 0);
        move.Reset();
        return move;
    }

    // 20 units at 2 a second, turning the view and the up vector on the
    // way; the clock stands at 5 s, halfway, for the next evaluation.
    static CMove Halfway() {
        CMove move;
        move.AddPoint(0, 5, 0, 1, 0, 0, 2, 0, 1, 0, 1);
        move.AddPoint(20, 5, 0, 0, 0, 1, 2, 1, 0, 0, 1);
        move.Reset();
        Current(move);  // the first frame after a reset travels nothing
        At(5.0f);
        return move;
    }

    CScreenStateGuard m_screenState;
};

}  // namespace

TEST_F(Move, AStoppedControllerStaysWhileTheClockRunsAndPlayContinues) {
    CMove move = Straight(false);
    EXPECT_FLOAT_EQ(XAt(move, 0.0f), 0.0f);
    EXPECT_NEAR(XAt(move, 1.0f), 4.0f, kEpsilon);  // the point's speed times the scene time
    EXPECT_FLOAT_EQ(move.GetCurrentSpeed(), 4.0f);
    move.Stop();
    EXPECT_NEAR(XAt(move, 2.0f), 4.0f, kEpsilon);
    EXPECT_NEAR(XAt(move, 5.0f), 4.0f, kEpsilon);
    move.Play();
    EXPECT_NEAR(XAt(move, 6.0f), 8.0f, kEpsilon);
}

TEST_F(Move, AClockGoingBackStartsAgainFromTheFirstPoint) {
    CMove move = Straight(false);
    XAt(move, 0.0f);
    EXPECT_NEAR(XAt(move, 5.0f), 20.0f, kEpsilon);
    EXPECT_FLOAT_EQ(XAt(move, 0.5f), 0.0f);
    EXPECT_NEAR(XAt(move, 1.5f), 4.0f, kEpsilon);
}

TEST_F(Move, PassingTheEndRestartsWithLoopAndStaysThereWithout) {
    CMove looping = Straight(true);
    CMove once = Straight(false);
    for (CMove* move : {&looping, &once}) {
        XAt(*move, 0.0f);
        XAt(*move, 9.0f);
        EXPECT_NEAR(XAt(*move, 11.0f), 40.0f, kEpsilon);  // this frame shows the end
    }
    EXPECT_NEAR(XAt(looping, 12.0f), 4.0f, kEpsilon);
    EXPECT_NEAR(XAt(once, 12.0f), 40.0f, kEpsilon);
    EXPECT_NEAR(XAt(once, 30.0f), 40.0f, kEpsilon);
}

TEST_F(Move, PointsAreEditedAndReadInTheirArgumentOrder) {
    CMove move;
    move.AddPoint(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11);
    move.InsertPoint(0, 0, 0, 0, 0, 0, 1, 5, 0, 1, 0, 0.5f);
    float v[11];
    move.GetPoint(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], 1);
    EXPECT_THAT(v, testing::ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11));
    move.ChangePoint(9, 9, 9, 0, 0, 1, 2, 0, 1, 0, 0.25f, 1);
    EXPECT_FLOAT_EQ(move.GetZoom(1), 0.25f);
    move.DelPoint(0);
    ASSERT_EQ(move.GetNumberPoints(), 1);
    EXPECT_FLOAT_EQ(move.GetSpeed(0), 2.0f);
    EXPECT_FALSE(move.InsertPoint(3, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 1));  // past the end
}

TEST_F(Move, SpeedAndZoomWithIndexMinusOneChangeEveryPoint) {
    CMove move;
    for (int i = 0; i < 3; ++i) {
        Add(move, static_cast<float>(i), 0, 0, 1.0f, 1.0f);
    }
    move.SetSpeed(6.0f, 1);
    EXPECT_THAT((std::vector{move.GetSpeed(0), move.GetSpeed(1), move.GetSpeed(2)}), testing::ElementsAre(1, 6, 1));
    move.SetSpeed(-2.0f, -1);
    move.SetZoom(0.5f, -1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(move.GetSpeed(i), -2.0f);
        EXPECT_FLOAT_EQ(move.GetZoom(i), 0.5f);
    }
}

TEST_F(Move, TheTableHolds256PointsAndRefusesThe257th) {
    CMove move;
    for (int i = 0; i < CMove::kMaxPoints; ++i) {
        Add(move, static_cast<float>(i), 0, 0);
    }
    CErrorCapture errors;
    EXPECT_FALSE(move.AddPoint(0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 1));
    EXPECT_FALSE(move.InsertPoint(0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 1));
    EXPECT_EQ(move.GetNumberPoints(), CMove::kMaxPoints);
    ASSERT_EQ(errors.Count(), 2u);
    EXPECT_THAT(errors.Texts()[0], testing::HasSubstr("256"));
    EXPECT_NEAR(move.GetTotalDistance(), 255.0f, kEpsilon);
}

TEST_F(Move, TablesHoldTheLengthAtTheEndOfEachSegment) {
    CMove move;
    Add(move, 0, 0, 0, 2.0f, 0.5f);
    Add(move, 10, 0, 0, 6.0f, 1.5f);
    Add(move, 10, 0, 20);
    EXPECT_NEAR(move.GetDistance(0), 10.0f, kEpsilon);
    EXPECT_NEAR(move.GetDistance(1), 30.0f, kEpsilon);
    EXPECT_NEAR(move.GetTotalDistance(), 30.0f, kEpsilon);
    EXPECT_EQ(move.GetSegment(9.9f), 0);
    EXPECT_EQ(move.GetSegment(10.1f), 1);
    EXPECT_EQ(move.GetSegment(100.0f), 1);

    const SSample between = Along(move, 5.0f);
    ExpectVector(between.position, 5, 0, 0);
    EXPECT_NEAR(between.speed, 4.0f, kEpsilon);  // halfway from 2 to 6
    EXPECT_NEAR(between.zoom, 1.0f, kEpsilon);
    ExpectVector(Along(move, 25.0f).position, 10, 0, 15);
    ExpectVector(Along(move, 30.0f).position, 10, 0, 20);
}

TEST_F(Move, EqualDistancesAreEqualStepsAlongACurvedPath) {
    for (const tMoveMode mode : {MM_HSPLINE, MM_BSPLINE}) {
        CMove move;
        move.SetMode(mode);
        // A closed circle: the last point is the first, which the curves'
        // wrapping of neighbours expects.
        for (int i = 0; i <= 8; ++i) {
            const float angle = 2.0f * D3DX_PI * static_cast<float>(i % 8) / 8.0f;
            Add(move, 20.0f * std::cos(angle), 0.0f, 20.0f * std::sin(angle));
        }
        const float total = move.GetTotalDistance();
        ASSERT_GT(total, 50.0f);
        const int steps = 200;
        D3DXVECTOR3 previous = Along(move, 0.0f).position;
        for (int i = 1; i <= steps; ++i) {
            const D3DXVECTOR3 position = Along(move, total * static_cast<float>(i) / steps).position;
            const D3DXVECTOR3 step = position - previous;
            EXPECT_NEAR(D3DXVec3Length(&step), total / steps, 0.05f * total / steps)
                << "mode " << mode << " step " << i;
            previous = position;
        }
    }
}

TEST_F(Move, StepModeNeverReachesTheSuccessorWithinASegment) {
    CMove move;
    move.SetMode(MM_STEP);
    for (int i = 0; i < 4; ++i) {
        Add(move, 10.0f * static_cast<float>(i), 0, 0);
    }
    // The jump to the last point is never made.
    const float total = move.GetTotalDistance();
    EXPECT_NEAR(total, 20.0f, kEpsilon);
    std::vector<float> visited;
    for (float d = 0.0f; d <= total + 1.0f; d += 0.25f) {
        const float x = Along(move, d).position.x;
        EXPECT_FLOAT_EQ(x, 10.0f * static_cast<float>(move.GetSegment(d))) << "at " << d;
        if (visited.empty() || visited.back() != x) {
            visited.push_back(x);
        }
    }
    EXPECT_THAT(visited, testing::ElementsAre(0, 10, 20));
}

TEST_F(Move, PathsOfNoOrOnePointNeedNoSegment) {
    CMove empty;
    const SSample origin = Along(empty, 5.0f);
    ExpectVector(origin.position, 0, 0, 0);
    ExpectVector(origin.direction, 0, 0, 1);
    ExpectVector(origin.up, 0, 1, 0);
    EXPECT_FLOAT_EQ(empty.GetTotalDistance(), 0.0f);
    EXPECT_EQ(empty.GetSegment(3.0f), 0);

    CMove single;
    single.AddPoint(1, 2, 3, 0, 0, 1, 5, 0, 1, 0, 0.75f);
    XAt(single, 0.0f);
    const SSample point = Current(single);
    At(4.0f);
    const SSample later = Current(single);
    ExpectVector(later.position, 1, 2, 3);
    EXPECT_FLOAT_EQ(later.zoom, 0.75f);
    EXPECT_EQ(point.position, later.position);
    EXPECT_FALSE(std::isnan(Along(single, 1.0f).position.x));
}

TEST_F(Move, TheDirectionFollowsAPositionOrAnObject) {
    CMove move = Straight(false);
    move.SetPositionToFollow(4, 10, 0);
    ExpectVector(Along(move, 4.0f).direction, 0, 10, 0);
    CBoxObject box;
    box.SetPosition(4, 0, -3);
    move.SetObjectToFollow(box);  // wins over the position
    ExpectVector(Along(move, 4.0f).direction, 0, 0, -3);
}

TEST_F(Move, AsCameraTheZoomSetsTheScreensFieldOfView) {
    CMove move;
    Add(move, 0, 0, 0, 1.0f, 0.5f);
    Add(move, 10, 0, 0, 1.0f, 1.5f);
    Along(move, 5.0f);
    EXPECT_NE(CScreen::Instance().GetFieldOfView(), 1.0f);
    move.SetAsCamera(true);
    Along(move, 5.0f);
    EXPECT_NEAR(CScreen::Instance().GetFieldOfView(), 1.0f, kEpsilon);
}

TEST_F(Move, TheScreensCameraTakesTheCurrentPositionDirectionAndUp) {
    CMove move = Halfway();
    CScreen& screen = CScreen::Instance();
    screen.SetCamera(move);
    const auto& camera = static_cast<const CCameraRemote&>(screen.GetCamera());
    ExpectVector(camera.m_vPosition, 10, 5, 0);
    ExpectVector(camera.m_vDirection, 0.5f, 0, 0.5f);
    ExpectVector(camera.m_vUp, 0.5f, 0.5f, 0);
}

TEST_F(Move, AnObjectLooksFromTheCurrentPositionAlongTheCurrentDirection) {
    CMove move = Halfway();
    CBoxObject moved;
    moved.SetDirection(move);
    CBoxObject expected;
    expected.SetDirection(D3DXVECTOR3(10, 5, 0), D3DXVECTOR3(0.5f, 0, 0.5f), D3DXVECTOR3(0.5f, 0.5f, 0));
    // The direction frame is stored with the object: same frame, same bytes.
    auto saved = [](CBoxObject& box) {
        CScene scene;
        CSceneFile file(scene, false, "");
        box.Save(file);
        return file.GetData();
    };
    EXPECT_EQ(saved(moved), saved(expected));
    ExpectVector(moved.GetPosition(), 10, 5, 0);
}
