// Scalar curve: evaluation in every mode, key order and identifiers, storage.

#include <gtest/gtest.h>

#include <cmath>

#include "animation/CInterpolation.h"
#include "core/CScreen.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"

namespace {

// Keys 0 @ 0 s, 10 @ 1 s, 30 @ 3 s.
CInterpolation ThreeKeys(TInterpolationMode mode) {
    CInterpolation curve;
    curve.SetMode(mode);
    curve.Insert(0.0f, 0.0f, -1);
    curve.Insert(10.0f, 1.0f, -1);
    curve.Insert(30.0f, 3.0f, -1);
    return curve;
}

std::vector<BYTE> Saved(const CInterpolation& curve) {
    CScene scene;
    CSceneFile file(scene, false, "");
    curve.Save(file);
    return file.GetData();
}

CInterpolation Loaded(const std::vector<BYTE>& data) {
    CScene scene;
    CSceneFile file(scene, false, "");
    EXPECT_TRUE(file.LoadData(data));
    CInterpolation curve;
    curve.Load(file);
    return curve;
}

}  // namespace

TEST(Interpolation, EmptyAndSingleKeyCurves) {
    CInterpolation curve;
    EXPECT_EQ(curve.GetMode(), IM_HSPLINE);
    EXPECT_FLOAT_EQ(curve.GetValue(-3.0f), 0.0f);
    EXPECT_FLOAT_EQ(curve.GetValue(5.0f), 0.0f);

    curve.Insert(7.0f, 2.0f, -1);
    EXPECT_FLOAT_EQ(curve.GetValue(-5.0f), 7.0f);
    EXPECT_FLOAT_EQ(curve.GetValue(2.0f), 7.0f);
    EXPECT_FLOAT_EQ(curve.GetValue(100.0f), 7.0f);
}

TEST(Interpolation, LinearModeAndCurveEnds) {
    const CInterpolation curve = ThreeKeys(IM_LINEAR);
    EXPECT_FLOAT_EQ(curve.GetValue(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(curve.GetValue(0.5f), 5.0f);
    EXPECT_FLOAT_EQ(curve.GetValue(2.0f), 20.0f);
    // Before the first key: 0, not the first key's value.
    EXPECT_FLOAT_EQ(curve.GetValue(-0.5f), 0.0f);
    // At and after the last key: the value 1 ms before it.
    EXPECT_NEAR(curve.GetValue(3.0f), 29.99f, 1e-3f);
    EXPECT_NEAR(curve.GetValue(50.0f), 29.99f, 1e-3f);
}

TEST(Interpolation, HermiteUsesCatmullRomTangentsWithWrappedNeighbours) {
    const CInterpolation curve = ThreeKeys(IM_HSPLINE);
    // Segment 0 at u = 0.5: p0 wraps to key 1 (10), so m1 = 0; m2 = 15.
    EXPECT_FLOAT_EQ(curve.GetValue(0.5f), 3.125f);
    // Segment 1 at u = 0.5: p3 wraps to key 1, so m2 = 0; m1 = 15.
    EXPECT_FLOAT_EQ(curve.GetValue(2.0f), 21.875f);
    // Passes through the keys.
    EXPECT_FLOAT_EQ(curve.GetValue(1.0f), 10.0f);

    // Two keys: the tangent at the first key is zero, m2 = 5.
    CInterpolation two;
    two.Insert(0.0f, 0.0f, -1);
    two.Insert(10.0f, 1.0f, -1);
    EXPECT_FLOAT_EQ(two.GetValue(0.5f), 4.375f);
}

TEST(Interpolation, BSplineDoesNotPassThroughKeys) {
    const CInterpolation curve = ThreeKeys(IM_BSPLINE);
    // u = 0: (p0 + 4 p1 + p2) / 6 with p0 = p2 = 10.
    EXPECT_NEAR(curve.GetValue(0.0f), 20.0f / 6.0f, 1e-5f);
    // u = 0.5: (0.125 * 10 + 2.875 * 0 + 2.875 * 10 + 0.125 * 30) / 6.
    EXPECT_NEAR(curve.GetValue(0.5f), 5.625f, 1e-5f);
}

TEST(Interpolation, StepChangesAtNinetyNinePercentOfTheSegment) {
    const CInterpolation curve = ThreeKeys(IM_STEP);
    EXPECT_FLOAT_EQ(curve.GetValue(0.98f), 0.0f);
    EXPECT_FLOAT_EQ(curve.GetValue(0.995f), 10.0f);
    EXPECT_FLOAT_EQ(curve.GetValue(2.97f), 10.0f);   // u = 0.985
    EXPECT_FLOAT_EQ(curve.GetValue(2.995f), 30.0f);  // u = 0.9975
    EXPECT_FLOAT_EQ(curve.GetValue(10.0f), 30.0f);   // last segment of 2 s

    // A last segment shorter than 0.1 s never reaches its last key.
    CInterpolation shortEnd;
    shortEnd.SetMode(IM_STEP);
    shortEnd.Insert(0.0f, 0.0f, -1);
    shortEnd.Insert(1.0f, 1.0f, -1);
    shortEnd.Insert(2.0f, 1.05f, -1);
    EXPECT_FLOAT_EQ(shortEnd.GetValue(5.0f), 1.0f);
}

TEST(Interpolation, UnknownModeGivesZeroBetweenKeys) {
    CInterpolation curve = ThreeKeys(IM_LINEAR);
    curve.SetMode(static_cast<TInterpolationMode>(7));
    EXPECT_FLOAT_EQ(curve.GetValue(0.5f), 0.0f);
}

TEST(Interpolation, LoopRepeatsWithThePeriodOfTheLastKey) {
    CInterpolation curve;
    curve.SetMode(IM_LINEAR);
    curve.SetLoop(true);
    curve.Insert(0.0f, 0.0f, -1);
    curve.Insert(10.0f, 1.0f, -1);
    curve.Insert(30.0f, 2.0f, -1);
    EXPECT_FLOAT_EQ(curve.GetValue(5.5f), curve.GetValue(1.5f));
    EXPECT_FLOAT_EQ(curve.GetValue(5.5f), 20.0f);
    EXPECT_FLOAT_EQ(curve.GetValue(4.0f), 0.0f);  // wraps to the first key
    // Negative times stay negative: before the first key.
    EXPECT_FLOAT_EQ(curve.GetValue(-0.5f), 0.0f);
}

TEST(Interpolation, SegmentIsFoundAfterKeysOfEqualTime) {
    CInterpolation curve;
    curve.SetMode(IM_LINEAR);
    curve.Insert(0.0f, 0.0f, -1);
    curve.Insert(10.0f, 1.0f, -1);
    curve.Insert(20.0f, 1.0f, -1);
    curve.Insert(30.0f, 2.0f, -1);
    EXPECT_NEAR(curve.GetValue(0.999f), 9.99f, 1e-4f);
    EXPECT_FLOAT_EQ(curve.GetValue(1.0f), 20.0f);  // the later of the two keys
    EXPECT_FLOAT_EQ(curve.GetValue(1.5f), 25.0f);

    // Many keys: the binary search agrees with the segment walk.
    CInterpolation ramp;
    ramp.SetMode(IM_LINEAR);
    for (int i = 0; i < 1000; ++i) {
        ramp.Insert(static_cast<float>(i * 2), static_cast<float>(i), -1);
    }
    for (float t : {0.25f, 1.0f, 499.5f, 998.75f}) {
        EXPECT_NEAR(ramp.GetValue(t), 2.0f * t, 1e-3f) << t;
    }
}

TEST(Interpolation, KeysStaySortedAndIdentifiersStable) {
    CInterpolation curve;
    const int a = curve.Insert(1.0f, 1.0f, -1);
    const int b = curve.Insert(2.0f, 1.0f, -1);
    const int c = curve.Insert(3.0f, 0.5f, -1);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(c, 2);
    // Equal times keep insertion order; the earlier time goes first.
    EXPECT_EQ(curve.GetPointIDFromIndex(0), c);
    EXPECT_EQ(curve.GetPointIDFromIndex(1), a);
    EXPECT_EQ(curve.GetPointIDFromIndex(2), b);

    // Moving a key re-sorts: index reads change, identifier reads do not.
    curve.Update(4.0f, 5.0f, c);
    EXPECT_EQ(curve.GetID(2), c);
    EXPECT_FLOAT_EQ(curve.GetPointValueFromIndex(2), 4.0f);
    EXPECT_FLOAT_EQ(curve.GetPointValue(c), 4.0f);
    EXPECT_FLOAT_EQ(curve.GetPointTime(c), 5.0f);
    curve.Update(9.0f, 9.0f, 42);  // unknown: nothing happens
    EXPECT_EQ(curve.GetNumberPoints(), 3);

    curve.Remove(a);
    EXPECT_EQ(curve.GetNumberPoints(), 2);
    EXPECT_EQ(curve.GetID(0), b);
    EXPECT_FLOAT_EQ(curve.GetPointValue(a), 0.0f);
    EXPECT_FLOAT_EQ(curve.GetPointTime(a), 0.0f);

    // Out-of-range indices read nothing.
    EXPECT_FLOAT_EQ(curve.GetPointValueFromIndex(2), 0.0f);
    EXPECT_FLOAT_EQ(curve.GetPointTimeFromIndex(-1), 0.0f);
    EXPECT_EQ(curve.GetPointIDFromIndex(99), 0);

    // An explicit identifier still moves the counter; RemoveAll keeps it.
    EXPECT_EQ(curve.Insert(0.0f, 0.0f, 100), 100);
    curve.RemoveAll();
    EXPECT_EQ(curve.GetNumberPoints(), 0);
    EXPECT_EQ(curve.Insert(0.0f, 0.0f, -1), 4);
}

TEST(Interpolation, SaveWritesLoopModeCountAndKeys) {
    CInterpolation curve;
    curve.SetLoop(true);
    curve.SetMode(IM_STEP);
    curve.Insert(1.0f, 2.0f, -1);
    curve.SetPointLockedFromIndex(0, true);
    const std::vector<BYTE> expected = {
        0x01,                    // loop
        0x03, 0x00, 0x00, 0x00,  // mode
        0x01, 0x00, 0x00, 0x00,  // count
        0x00, 0x00, 0x80, 0x3F,  // value 1.0
        0x00, 0x00, 0x00, 0x40,  // time 2.0
        0x00, 0x00, 0x00, 0x00,  // ID 0
        0x01,                    // locked
    };
    EXPECT_EQ(Saved(curve), expected);
}

TEST(Interpolation, LoadRestoresKeysAndKeepsIdentifiersUnique) {
    CInterpolation curve;
    curve.SetMode(IM_LINEAR);
    curve.SetLoop(true);
    for (int i = 0; i < 5; ++i) {
        curve.Insert(static_cast<float>(i * 10), static_cast<float>(i), -1);
    }
    curve.SetPointLockedFromIndex(4, true);
    for (int id = 0; id < 3; ++id) {
        curve.Remove(id);  // keys 3 and 4 remain
    }

    CInterpolation loaded = Loaded(Saved(curve));
    EXPECT_EQ(loaded.GetMode(), IM_LINEAR);
    EXPECT_TRUE(loaded.GetLoop());
    ASSERT_EQ(loaded.GetNumberPoints(), 2);
    EXPECT_EQ(loaded.GetID(0), 3);
    EXPECT_EQ(loaded.GetID(1), 4);
    EXPECT_FLOAT_EQ(loaded.GetPointValue(4), 40.0f);
    EXPECT_FALSE(loaded.IsPointLockedFromIndex(0));
    EXPECT_TRUE(loaded.IsPointLockedFromIndex(1));
    // New keys never repeat a loaded identifier.
    EXPECT_EQ(loaded.Insert(1.0f, 9.0f, -1), 5);
}

TEST(Interpolation, LoadRefusesACountThatDoesNotFitTheData) {
    CInterpolation curve;
    curve.Insert(1.0f, 1.0f, -1);
    std::vector<BYTE> data = Saved(curve);
    data[5] = 0xFF;  // count 255 + 1 key's bytes
    CScene scene;
    CSceneFile file(scene, false, "");
    ASSERT_TRUE(file.LoadData(data));
    CInterpolation loaded;
    EXPECT_THROW(loaded.Load(file), CSceneFileException);
}

TEST(Interpolation, ValueWithoutTimeUsesTheSceneClock) {
    CInterpolation curve;
    curve.SetMode(IM_LINEAR);
    curve.Insert(5.0f, -1.0f, -1);
    curve.Insert(7.0f, 1.0f, -1);
    CScreen::Instance().ResetTime();
    EXPECT_FLOAT_EQ(CScreen::Instance().GetTickCount(), 0.0f);
    EXPECT_FLOAT_EQ(curve.GetValue(), 6.0f);
}
