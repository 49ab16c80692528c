// The list of an object's keyed curves: adding, deleting and moving a
// keyframe reach curves of every kind alike, each keeping its own values.
#include <gtest/gtest.h>

#include "animation/CBoolInterpolation.h"
#include "animation/CColorInterpolation.h"
#include "animation/CInterpolation.h"
#include "animation/CKeyFrameCurves.h"
#include "animation/CStringInterpolation.h"
#include "animation/CVectorInterpolation.h"

namespace {

// One curve of each kind, keyed at times 0 and 2, blending linearly where
// the kind blends at all.
struct SCurves {
    SCurves() {
        scalar.SetMode(IM_LINEAR);
        vector.SetMode(IM_LINEAR);
        scalar.Insert(1.0f, 0.0f, -1);
        scalar.Insert(3.0f, 2.0f, -1);
        flag.Insert(true, 0.0f, -1);
        flag.Insert(false, 2.0f, -1);
        vector.Insert(D3DXVECTOR3(0.0f, 0.0f, 0.0f), 0.0f, -1);
        vector.Insert(D3DXVECTOR3(2.0f, 4.0f, 6.0f), 2.0f, -1);
        color.Insert(0.0f, 0.0f, 0.0f, 1.0f, 0.0f, -1);
        color.Insert(1.0f, 1.0f, 1.0f, 1.0f, 2.0f, -1);
        text.Insert("first", 0.0f, -1);
        text.Insert("second", 2.0f, -1);
        list.Add(scalar).Add(flag).Add(vector).Add(color).Add(text);
    }

    std::vector<int> Counts() const {
        return {scalar.GetNumberPoints(), flag.GetNumberPoints(), vector.GetNumberPoints(), color.GetNumberPoints(),
                text.GetNumberPoints()};
    }

    CInterpolation scalar;
    CBoolInterpolation flag;
    CVectorInterpolation vector;
    CColorInterpolation color;
    CStringInterpolation text;
    CKeyFrameCurves list;
};

}  // namespace

TEST(KeyFrameCurves, AddingAKeyGivesEveryCurveItsOwnValueThere) {
    SCurves curves;
    const int id = curves.list.AddKeyFrame(1.0f);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(curves.Counts(), std::vector<int>(5, 3));
    EXPECT_FLOAT_EQ(curves.scalar.GetPointValue(id), 2.0f);
    EXPECT_TRUE(curves.flag.GetPointValue(id));  // a step switches at 99 % of the segment
    EXPECT_EQ(curves.vector.GetPointValue(id), D3DXVECTOR3(1.0f, 2.0f, 3.0f));
    EXPECT_FLOAT_EQ(curves.color.GetPointValue(id).g, 0.5f);
    EXPECT_EQ(curves.text.GetPointValue(id), "first");
    EXPECT_EQ(curves.text.GetPointTime(id), 1.0f);
}

TEST(KeyFrameCurves, MovingAndDeletingReachEveryCurve) {
    SCurves curves;
    curves.list.MoveKeyFrame(1, 5.0f);
    EXPECT_EQ(curves.scalar.GetPointTime(1), 5.0f);
    EXPECT_EQ(curves.flag.GetPointTime(1), 5.0f);
    EXPECT_EQ(curves.vector.GetPointTime(1), 5.0f);
    EXPECT_EQ(curves.color.GetPointTime(1), 5.0f);
    EXPECT_EQ(curves.text.GetPointTime(1), 5.0f);
    EXPECT_EQ(curves.vector.GetPointValue(1), D3DXVECTOR3(2.0f, 4.0f, 6.0f));  // values stay
    EXPECT_EQ(curves.text.GetPointValue(1), "second");

    curves.list.DeleteKeyFrame(0);
    EXPECT_EQ(curves.Counts(), std::vector<int>(5, 1));
    EXPECT_EQ(curves.text.GetValue(0.0f), "second");
    EXPECT_FALSE(curves.flag.GetValue(0.0f));
}

TEST(KeyFrameCurves, OnlyAScalarFirstCurveReportsTheIdentifier) {
    CVectorInterpolation vector;
    CInterpolation scalar;
    scalar.Insert(0.0f, 0.0f, -1);
    CKeyFrameCurves vectorFirst;
    vectorFirst.Add(vector).Add(scalar);
    EXPECT_EQ(vectorFirst.AddKeyFrame(1.0f), -1);
    EXPECT_EQ(scalar.GetNumberPoints(), 2);  // the others still got their key
    EXPECT_EQ(CKeyFrameCurves().AddKeyFrame(1.0f), -1);
}

TEST(KeyFrameCurves, ARestoredSnapshotBringsBackKeysIdentifiersAndTheNextIdentifier) {
    SCurves curves;
    curves.scalar.SetMode(IM_HSPLINE);
    const CKeyFrameSnapshot before = curves.list.Capture();

    curves.list.DeleteKeyFrame(1);
    curves.list.AddKeyFrame(4.0f);
    curves.scalar.SetMode(IM_STEP);
    curves.list.Restore(before);

    EXPECT_EQ(curves.Counts(), std::vector<int>(5, 2));
    EXPECT_EQ(curves.scalar.GetMode(), IM_HSPLINE);
    EXPECT_EQ(curves.vector.GetPointValue(1), D3DXVECTOR3(2.0f, 4.0f, 6.0f));
    EXPECT_EQ(curves.text.GetPointValue(1), "second");
    // The key added before the restore does not leave its identifier used.
    EXPECT_EQ(curves.list.AddKeyFrame(1.0f), 2);
}

TEST(KeyFrameCurves, ASnapshotOfAnotherListIsIgnored) {
    SCurves curves;
    CInterpolation lone;
    lone.Insert(9.0f, 0.0f, -1);
    CKeyFrameCurves other;
    other.Add(lone);
    const CKeyFrameSnapshot foreign = other.Capture();
    curves.list.Restore(foreign);
    EXPECT_EQ(curves.Counts(), std::vector<int>(5, 2));
    EXPECT_FLOAT_EQ(curves.scalar.GetPointValue(0), 1.0f);
}
