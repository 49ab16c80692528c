// Vector, colour, boolean and string curves built on the scalar curve.

#include <gtest/gtest.h>

#include "animation/CBoolInterpolation.h"
#include "animation/CColorInterpolation.h"
#include "animation/CStringInterpolation.h"
#include "animation/CVectorInterpolation.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"

namespace {

template <class TCurve>
TCurve RoundTrip(const TCurve& curve) {
    CScene scene;
    CSceneFile out(scene, false, "");
    curve.Save(out);
    CSceneFile in(scene, false, "");
    EXPECT_TRUE(in.LoadData(out.GetData()));
    TCurve loaded;
    loaded.Load(in);
    EXPECT_EQ(in.GetPosition(), out.GetData().size());
    return loaded;
}

}  // namespace

TEST(VectorInterpolation, MembersShareKeysAndEvaluateIndependently) {
    CVectorInterpolation curve;
    EXPECT_EQ(curve.GetMode(), IM_HSPLINE);
    curve.SetMode(IM_LINEAR);
    curve.Insert(D3DXVECTOR3(0.0f, 10.0f, -4.0f), 0.0f, -1);
    curve.Insert(2.0f, 20.0f, 4.0f, 1.0f, -1);
    const D3DXVECTOR3 half = curve.GetValue(0.5f);
    EXPECT_FLOAT_EQ(half.x, 1.0f);
    EXPECT_FLOAT_EQ(half.y, 15.0f);
    EXPECT_FLOAT_EQ(half.z, 0.0f);
    EXPECT_EQ(curve.GetNumberPoints(), 2);
    EXPECT_EQ(curve.GetID(1), 1);

    curve.Update(D3DXVECTOR3(8.0f, 8.0f, 8.0f), 3.0f, 1);
    EXPECT_FLOAT_EQ(curve.GetPointTime(1), 3.0f);
    EXPECT_FLOAT_EQ(curve.GetPointValue(1).z, 8.0f);

    const CVectorInterpolation loaded = RoundTrip(curve);
    EXPECT_EQ(loaded.GetMode(), IM_LINEAR);
    EXPECT_FLOAT_EQ(loaded.GetPointValueFromIndex(0).y, 10.0f);
    EXPECT_FLOAT_EQ(loaded.GetPointValueFromIndex(1).z, 8.0f);
}

TEST(ColorInterpolation, BlendsLinearlyByDefaultAndStoresFourCurves) {
    CColorInterpolation curve;
    EXPECT_EQ(curve.GetMode(), IM_LINEAR);
    curve.Insert(D3DCOLORVALUE{0.0f, 0.0f, 0.0f, 1.0f}, 0.0f, -1);
    curve.Insert(1.0f, 0.5f, 0.25f, 0.0f, 2.0f, -1);
    const D3DCOLORVALUE mid = curve.GetValue(1.0f);
    EXPECT_FLOAT_EQ(mid.r, 0.5f);
    EXPECT_FLOAT_EQ(mid.g, 0.25f);
    EXPECT_FLOAT_EQ(mid.b, 0.125f);
    EXPECT_FLOAT_EQ(mid.a, 0.5f);

    curve.Remove(0);
    EXPECT_EQ(curve.GetNumberPoints(), 1);
    const CColorInterpolation loaded = RoundTrip(curve);
    EXPECT_FLOAT_EQ(loaded.GetValue(7.0f).g, 0.5f);
    EXPECT_EQ(loaded.GetID(0), 1);
}

TEST(BoolInterpolation, SwitchesAtNinetyNinePercent) {
    CBoolInterpolation curve;
    EXPECT_EQ(curve.GetMode(), IM_STEP);
    EXPECT_EQ(curve.Insert(false, 0.0f, -1), 0);
    EXPECT_EQ(curve.Insert(true, 1.0f, -1), 1);
    curve.Insert(false, 2.0f, -1);
    EXPECT_FALSE(curve.GetValue(0.98f));
    EXPECT_TRUE(curve.GetValue(0.995f));
    EXPECT_TRUE(curve.GetValue(1.5f));
    EXPECT_TRUE(curve.GetPointValue(1));
    EXPECT_FALSE(curve.GetPointValueFromIndex(2));
    curve.Update(true, 2.0f, 2);
    EXPECT_TRUE(curve.GetValue(5.0f));
}

TEST(StringInterpolation, GivesTheTextOfTheKeyInForce) {
    CStringInterpolation curve;
    EXPECT_EQ(curve.GetMode(), IM_STEP);
    EXPECT_EQ(curve.Insert("a", 0.0f, -1), 0);
    EXPECT_EQ(curve.Insert("b", 1.0f, -1), 1);
    EXPECT_EQ(curve.Insert("c", 2.0f, -1), 2);
    EXPECT_EQ(curve.GetValue(0.5f), "a");
    EXPECT_EQ(curve.GetValue(1.5f), "b");
    EXPECT_EQ(curve.GetValue(9.0f), "c");
    EXPECT_EQ(curve.GetPointValue(1), "b");
    EXPECT_EQ(curve.GetPointValueFromIndex(2), "c");
    EXPECT_EQ(curve.GetPointValue(7), "");
    EXPECT_EQ(curve.GetPointValueFromIndex(3), "");
}

TEST(StringInterpolation, KeysAndTextsStayPairedAfterRemovals) {
    CStringInterpolation curve;
    curve.Insert("a", 0.0f, -1);
    curve.Insert("b", 1.0f, -1);
    curve.Insert("c", 2.0f, -1);
    curve.Remove(1);
    EXPECT_EQ(curve.GetNumberPoints(), 2);
    EXPECT_EQ(curve.GetValue(1.5f), "a");
    EXPECT_EQ(curve.GetPointValue(2), "c");
    EXPECT_EQ(curve.GetPointValueFromIndex(1), "c");
    EXPECT_EQ(curve.GetPointValue(1), "");

    // A key added after the removal gets its own text, and Update replaces
    // the text of the key it names.
    const int d = curve.Insert("d", 3.0f, -1);
    curve.Update("C", 2.0f, 2);
    EXPECT_EQ(curve.GetPointValue(d), "d");
    EXPECT_EQ(curve.GetValue(2.5f), "C");
    EXPECT_EQ(curve.GetValue(9.0f), "d");

    // After RemoveAll identifiers continue from the counter.
    curve.RemoveAll();
    const int x = curve.Insert("x", 0.0f, -1);
    EXPECT_EQ(x, 4);
    EXPECT_EQ(curve.GetValue(3.0f), "x");
    EXPECT_EQ(curve.GetPointValue(x), "x");
}

TEST(StringInterpolation, RoundTripKeepsTextsAndPairing) {
    CStringInterpolation curve;
    curve.Insert("first", 0.0f, -1);
    curve.Insert("", 1.0f, -1);
    curve.Insert("third", 2.0f, -1);
    curve.Remove(0);
    const CStringInterpolation loaded = RoundTrip(curve);
    ASSERT_EQ(loaded.GetNumberPoints(), 2);
    EXPECT_EQ(loaded.GetPointValue(1), "");
    EXPECT_EQ(loaded.GetPointValue(2), "third");
    EXPECT_EQ(loaded.GetValue(9.0f), "third");
    EXPECT_EQ(loaded.GetPointValue(0), "");
}
