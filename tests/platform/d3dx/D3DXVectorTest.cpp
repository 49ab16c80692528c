#include <gtest/gtest.h>

#include "MathExpectations.h"
#include "platform/d3dx/d3dx8math.h"

TEST(D3DXVector, OperatorsWorkComponentWise) {
    const D3DXVECTOR3 a(1.0f, 2.0f, 3.0f), b(4.0f, -5.0f, 6.0f);
    EXPECT_EQ(a + b, D3DXVECTOR3(5.0f, -3.0f, 9.0f));
    EXPECT_EQ(a - b, D3DXVECTOR3(-3.0f, 7.0f, -3.0f));
    EXPECT_EQ(a * 2.0f, D3DXVECTOR3(2.0f, 4.0f, 6.0f));
    EXPECT_EQ(2.0f * a, a * 2.0f);
    EXPECT_EQ(b / 2.0f, D3DXVECTOR3(2.0f, -2.5f, 3.0f));
    EXPECT_EQ(-a, D3DXVECTOR3(-1.0f, -2.0f, -3.0f));
    EXPECT_NE(a, b);
    D3DXVECTOR3 c = a;
    c += b;
    c -= a;
    c *= 3.0f;
    c /= 3.0f;
    EXPECT_EQ(c, b);
    const D3DVECTOR plain{7.0f, 8.0f, 9.0f};
    EXPECT_EQ(D3DXVECTOR3(plain), D3DXVECTOR3(7.0f, 8.0f, 9.0f));
    const float raw[4] = {1.0f, 2.0f, 3.0f, 4.0f};
    EXPECT_EQ(D3DXVECTOR4(raw), D3DXVECTOR4(1.0f, 2.0f, 3.0f, 4.0f));
    EXPECT_EQ(D3DXVECTOR2(raw) * 2.0f - D3DXVECTOR2(1.0f, 1.0f), D3DXVECTOR2(1.0f, 3.0f));
    EXPECT_EQ(D3DXVECTOR3(), D3DXVECTOR3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(static_cast<const float*>(a)[2], 3.0f);
}

TEST(D3DXVector, LengthDotCrossAndNormalize) {
    const D3DXVECTOR3 v(3.0f, 4.0f, 12.0f);
    EXPECT_FLOAT_EQ(D3DXVec3Length(&v), 13.0f);
    EXPECT_FLOAT_EQ(D3DXVec3LengthSq(&v), 169.0f);
    const D3DXVECTOR2 v2(3.0f, 4.0f);
    EXPECT_FLOAT_EQ(D3DXVec2Length(&v2), 5.0f);
    const D3DXVECTOR4 v4(1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_FLOAT_EQ(D3DXVec4Length(&v4), 2.0f);

    const D3DXVECTOR3 x(1.0f, 0.0f, 0.0f), y(0.0f, 1.0f, 0.0f);
    D3DXVECTOR3 cross;
    EXPECT_EQ(D3DXVec3Cross(&cross, &x, &y), &cross);
    EXPECT_EQ(cross, D3DXVECTOR3(0.0f, 0.0f, 1.0f));
    EXPECT_FLOAT_EQ(D3DXVec3Dot(&v, &x), 3.0f);

    // The output may be one of the inputs.
    D3DXVECTOR3 a(1.0f, 2.0f, 3.0f);
    const D3DXVECTOR3 b(4.0f, 5.0f, 6.0f);
    D3DXVec3Cross(&a, &a, &b);
    EXPECT_EQ(a, D3DXVECTOR3(-3.0f, 6.0f, -3.0f));

    D3DXVECTOR3 unit;
    D3DXVec3Normalize(&unit, &v);
    EXPECT_TRUE(VectorsNear(unit, D3DXVECTOR3(3.0f / 13, 4.0f / 13, 12.0f / 13)));

    // A zero vector normalises to zero, not NaN.
    const D3DXVECTOR3 zero;
    D3DXVECTOR3 normalisedZero(9.0f, 9.0f, 9.0f);
    D3DXVec3Normalize(&normalisedZero, &zero);
    EXPECT_EQ(normalisedZero, zero);
    D3DXVECTOR2 zero2(0.0f, 0.0f);
    D3DXVec2Normalize(&zero2, &zero2);
    EXPECT_EQ(zero2, D3DXVECTOR2(0.0f, 0.0f));
    D3DXVECTOR4 zero4;
    D3DXVec4Normalize(&zero4, &zero4);
    EXPECT_EQ(zero4, D3DXVECTOR4());
}

TEST(D3DXVector, LerpScaleMinimizeMaximize) {
    const D3DXVECTOR3 a(0.0f, 10.0f, -4.0f), b(10.0f, 0.0f, 4.0f);
    D3DXVECTOR3 out;
    EXPECT_EQ(*D3DXVec3Lerp(&out, &a, &b, 0.25f), D3DXVECTOR3(2.5f, 7.5f, -2.0f));
    EXPECT_EQ(*D3DXVec3Minimize(&out, &a, &b), D3DXVECTOR3(0.0f, 0.0f, -4.0f));
    EXPECT_EQ(*D3DXVec3Maximize(&out, &a, &b), D3DXVECTOR3(10.0f, 10.0f, 4.0f));
    EXPECT_EQ(*D3DXVec3Scale(&out, &a, -0.5f), D3DXVECTOR3(0.0f, -5.0f, 2.0f));
    EXPECT_EQ(*D3DXVec3Add(&out, &a, &b), D3DXVECTOR3(10.0f, 10.0f, 0.0f));
    EXPECT_EQ(*D3DXVec3Subtract(&out, &a, &b), D3DXVECTOR3(-10.0f, 10.0f, -8.0f));

    const D3DXVECTOR2 p(1.0f, 5.0f), q(3.0f, 2.0f);
    D3DXVECTOR2 out2;
    EXPECT_EQ(*D3DXVec2Lerp(&out2, &p, &q, 0.5f), D3DXVECTOR2(2.0f, 3.5f));
    EXPECT_EQ(*D3DXVec2Minimize(&out2, &p, &q), D3DXVECTOR2(1.0f, 2.0f));
    EXPECT_EQ(*D3DXVec2Maximize(&out2, &p, &q), D3DXVECTOR2(3.0f, 5.0f));

    const D3DXVECTOR4 r(1.0f, 2.0f, 3.0f, 4.0f), s(4.0f, 3.0f, 2.0f, 1.0f);
    D3DXVECTOR4 out4;
    EXPECT_EQ(*D3DXVec4Lerp(&out4, &r, &s, 1.0f), s);
    EXPECT_EQ(*D3DXVec4Minimize(&out4, &r, &s), D3DXVECTOR4(1.0f, 2.0f, 2.0f, 1.0f));
    EXPECT_EQ(*D3DXVec4Maximize(&out4, &r, &s), D3DXVECTOR4(4.0f, 3.0f, 3.0f, 4.0f));
    EXPECT_FLOAT_EQ(D3DXVec4Dot(&r, &s), 20.0f);
}

TEST(D3DXVector, TransformKeepsWWhileTransformCoordDividesByIt) {
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 2.0f, 1.0f, 1.0f, 100.0f);
    const D3DXVECTOR3 point(2.0f, -1.0f, 10.0f);

    D3DXVECTOR4 homogeneous;
    EXPECT_EQ(D3DXVec3Transform(&homogeneous, &point, &projection), &homogeneous);
    EXPECT_FLOAT_EQ(homogeneous.w, 10.0f);  // w carries the view depth
    EXPECT_FLOAT_EQ(homogeneous.x, 2.0f);
    EXPECT_FLOAT_EQ(homogeneous.y, -1.0f);

    D3DXVECTOR3 projected;
    D3DXVec3TransformCoord(&projected, &point, &projection);
    EXPECT_FLOAT_EQ(projected.x, homogeneous.x / homogeneous.w);
    EXPECT_FLOAT_EQ(projected.y, homogeneous.y / homogeneous.w);
    EXPECT_FLOAT_EQ(projected.z, homogeneous.z / homogeneous.w);

    // Vec4Transform of (x, y, z, 1) is Vec3Transform.
    const D3DXVECTOR4 point4(point.x, point.y, point.z, 1.0f);
    D3DXVECTOR4 viaVec4;
    D3DXVec4Transform(&viaVec4, &point4, &projection);
    EXPECT_EQ(viaVec4, homogeneous);

    // Normals ignore the translation row.
    D3DXMATRIX moveAndTurn, turn, move;
    D3DXMatrixRotationZ(&turn, D3DX_PI / 2.0f);
    D3DXMatrixTranslation(&move, 100.0f, 200.0f, 300.0f);
    moveAndTurn = turn * move;
    const D3DXVECTOR3 xAxis(1.0f, 0.0f, 0.0f);
    D3DXVECTOR3 normal;
    D3DXVec3TransformNormal(&normal, &xAxis, &moveAndTurn);
    EXPECT_TRUE(VectorsNear(normal, D3DXVECTOR3(0.0f, 1.0f, 0.0f)));
    EXPECT_TRUE(VectorsNear(TransformPoint(xAxis, moveAndTurn), D3DXVECTOR3(100.0f, 201.0f, 300.0f), 1e-4f));
}
