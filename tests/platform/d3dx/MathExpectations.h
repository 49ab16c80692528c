#pragma once
// Tolerant comparisons for the D3DX math tests.

#include <gtest/gtest.h>

#include <cmath>

#include "platform/d3dx/d3dx8math.h"

inline testing::AssertionResult MatricesNear(const D3DXMATRIX& actual, const D3DXMATRIX& expected,
                                             float tolerance = 1e-5f) {
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            if (!(std::fabs(actual.m[row][col] - expected.m[row][col]) <= tolerance))
                return testing::AssertionFailure() << "element _" << row + 1 << col + 1 << " is " << actual.m[row][col]
                                                   << ", expected " << expected.m[row][col];
    return testing::AssertionSuccess();
}

inline testing::AssertionResult VectorsNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected,
                                            float tolerance = 1e-5f) {
    if (std::fabs(actual.x - expected.x) <= tolerance && std::fabs(actual.y - expected.y) <= tolerance &&
        std::fabs(actual.z - expected.z) <= tolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") instead of ("
                                       << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

// q and -q describe the same rotation.
inline testing::AssertionResult SameRotation(const D3DXQUATERNION& actual, const D3DXQUATERNION& expected,
                                             float tolerance = 1e-5f) {
    const float dot = D3DXQuaternionDot(&actual, &expected);
    if (std::fabs(std::fabs(dot) - 1.0f) <= tolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z << ", " << actual.w
                                       << ") is not (" << expected.x << ", " << expected.y << ", " << expected.z << ", "
                                       << expected.w << ") up to sign";
}

inline D3DXVECTOR3 TransformPoint(const D3DXVECTOR3& v, const D3DXMATRIX& m) {
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &v, &m);
    return out;
}
