// Curves find the segment of a time by binary search; the result must be
// the one a walk from the first key gives, for long curves too, at key times,
// between keys, with keys sharing a time, before the first and after the last.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "animation/CInterpolation.h"

namespace {

// The curve evaluated the plain way: walk the keys from the front to the
// first one later than t, then the mode's formula on the four neighbours.
float LinearSearchValue(const CInterpolation& curve, float t) {
    const int n = curve.GetNumberPoints();
    if (n == 0)
        return 0.0f;
    if (n == 1)
        return curve.GetPointValueFromIndex(0);
    const float last = curve.GetPointTimeFromIndex(n - 1);
    if (curve.GetLoop()) {
        if (last != 0.0f)
            t = t - last * std::trunc(t / last);
    } else if (t >= last) {
        t = last - 0.001f;
    }
    int next = 0;
    while (next < n && !(curve.GetPointTimeFromIndex(next) > t))
        ++next;
    if (next == 0)
        return 0.0f;
    if (next == n)
        return curve.GetPointValueFromIndex(0);
    const int s = next - 1;
    const float start = curve.GetPointTimeFromIndex(s);
    const float u = (t - start) / (curve.GetPointTimeFromIndex(next) - start);
    auto key = [&curve](int i) { return curve.GetPointValueFromIndex(i); };
    const float p0 = key(s == 0 ? (n > 2 ? n - 2 : n - 1) : s - 1);
    const float p1 = key(s);
    const float p2 = key(s == n - 1 ? (n != 1 ? 1 : 0) : s + 1);
    const float p3 = key((s == n - 1 || s == n - 2) ? (n > 1 ? 1 : 0) : s + 2);
    const float u2 = u * u;
    const float u3 = u2 * u;
    switch (curve.GetMode()) {
    case IM_LINEAR:
        return p1 + (p2 - p1) * u;
    case IM_STEP:
        return u < 0.99f ? p1 : p2;
    case IM_HSPLINE: {
        const float m1 = ((p1 - p0) + (p2 - p1)) * 0.5f;
        const float m2 = ((p2 - p1) + (p3 - p2)) * 0.5f;
        return p1 * (2 * u3 - 3 * u2 + 1) + p2 * (-2 * u3 + 3 * u2) + m1 * (u3 - 2 * u2 + u) + m2 * (u3 - u2);
    }
    case IM_BSPLINE:
        return ((3 * u2 - u3 - 3 * u + 1) * p0 + (3 * u3 - 6 * u2 + 4) * p1 + (-3 * u3 + 3 * u2 + 3 * u + 1) * p2 +
                u3 * p3) *
               0.16666667f;
    }
    return 0.0f;
}

// Keys at irregular times, some of them sharing a time, values far apart so
// that a wrong segment cannot pass for the right one.
CInterpolation RandomCurve(int keys, TInterpolationMode mode, bool loop, std::mt19937& random) {
    CInterpolation curve;
    curve.SetMode(mode);
    curve.SetLoop(loop);
    std::uniform_real_distribution<float> gap(0.0f, 0.5f);
    std::uniform_real_distribution<float> value(-1000.0f, 1000.0f);
    float time = 0.25f;
    for (int i = 0; i < keys; ++i) {
        if (i % 7 != 3)
            time += gap(random);  // every seventh key shares its time
        curve.Insert(value(random), time, -1);
    }
    return curve;
}

}  // namespace

TEST(CurveLookup, BinarySearchGivesTheSameValuesAsAWalkFromTheFirstKey) {
    std::mt19937 random(20240607);
    for (int keys : {2, 3, 10, 10000}) {
        for (TInterpolationMode mode : {IM_LINEAR, IM_BSPLINE, IM_HSPLINE, IM_STEP}) {
            for (bool loop : {false, true}) {
                SCOPED_TRACE(testing::Message() << keys << " keys, mode " << mode << (loop ? ", loop" : ""));
                const CInterpolation curve = RandomCurve(keys, mode, loop, random);
                const float last = curve.GetPointTimeFromIndex(keys - 1);
                std::vector<float> times = {-1.0f, 0.0f, last, last + 3.3f, 2.5f * last};
                for (int i = 0; i < keys; i += std::max(1, keys / 200)) {
                    times.push_back(curve.GetPointTimeFromIndex(i));  // exactly on a key
                }
                std::uniform_real_distribution<float> anywhere(-0.5f, last * 1.2f);
                for (int i = 0; i < 300; ++i)
                    times.push_back(anywhere(random));
                int mismatches = 0;
                for (float t : times) {
                    const float expected = LinearSearchValue(curve, t);
                    const float actual = curve.GetValue(t);
                    // The same segment and the same formula: equal up to the
                    // rounding of the formula's evaluation order.
                    if (std::fabs(actual - expected) > 1e-3f * std::max(1.0f, std::fabs(expected))) {
                        if (++mismatches <= 3)
                            ADD_FAILURE() << "t = " << t << ": " << actual << " != " << expected;
                    }
                }
                EXPECT_EQ(mismatches, 0);
            }
        }
    }
}
