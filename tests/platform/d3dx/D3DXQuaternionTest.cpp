#include <gtest/gtest.h>

#include <cmath>

#include "MathExpectations.h"
#include "platform/d3dx/d3dx8math.h"

namespace {

D3DXMATRIX MatrixOf(const D3DXQUATERNION& q) {
    D3DXMATRIX m;
    D3DXMatrixRotationQuaternion(&m, &q);
    return m;
}

D3DXQUATERNION QuaternionOf(const D3DXMATRIX& m) {
    D3DXQUATERNION q;
    D3DXQuaternionRotationMatrix(&q, &m);
    return q;
}

}  // namespace

TEST(D3DXQuaternion, AxisAngleAndYawPitchRollMatchTheirMatrices) {
    const D3DXVECTOR3 axis(1.0f, -2.0f, 0.5f);
    D3DXQUATERNION q;
    EXPECT_EQ(D3DXQuaternionRotationAxis(&q, &axis, 1.3f), &q);
    EXPECT_NEAR(D3DXQuaternionLength(&q), 1.0f, 1e-6f);
    D3DXMATRIX byAxis;
    D3DXMatrixRotationAxis(&byAxis, &axis, 1.3f);
    EXPECT_TRUE(MatricesNear(MatrixOf(q), byAxis));

    D3DXQuaternionRotationYawPitchRoll(&q, 0.8f, -0.35f, 1.2f);
    D3DXMATRIX byAngles;
    D3DXMatrixRotationYawPitchRoll(&byAngles, 0.8f, -0.35f, 1.2f);
    EXPECT_TRUE(MatricesNear(MatrixOf(q), byAngles));

    // The camera's forward vector: (0, 0, 1) turned by yaw 90 degrees points along +x.
    D3DXQuaternionRotationYawPitchRoll(&q, D3DX_PI / 2.0f, 0.0f, 0.0f);
    EXPECT_TRUE(VectorsNear(TransformPoint(D3DXVECTOR3(0, 0, 1), MatrixOf(q)), D3DXVECTOR3(1, 0, 0)));

    D3DXQUATERNION identity;
    D3DXQuaternionIdentity(&identity);
    EXPECT_EQ(identity, D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f));
    D3DXMATRIX eye;
    D3DXMatrixIdentity(&eye);
    EXPECT_EQ(MatrixOf(identity), eye);
}

TEST(D3DXQuaternion, MatrixRoundTripsInEveryBranch) {
    // Small angles take the trace branch; half turns about x, y and z need
    // the branches keyed on the largest diagonal element.
    const D3DXVECTOR3 axes[] = {D3DXVECTOR3(0.3f, 0.4f, -0.2f), D3DXVECTOR3(1, 0, 0), D3DXVECTOR3(0, 1, 0),
                                D3DXVECTOR3(0, 0, 1),           D3DXVECTOR3(1, 1, 0), D3DXVECTOR3(0.2f, -1, 3)};
    const float angles[] = {0.2f, D3DX_PI, 2.9f, -2.5f};
    for (const D3DXVECTOR3& axis : axes)
        for (float angle : angles) {
            D3DXQUATERNION q;
            D3DXQuaternionRotationAxis(&q, &axis, angle);
            const D3DXMATRIX m = MatrixOf(q);
            const D3DXQUATERNION back = QuaternionOf(m);
            EXPECT_TRUE(SameRotation(back, q))
                << "axis " << axis.x << "," << axis.y << "," << axis.z << " angle " << angle;
            EXPECT_TRUE(MatricesNear(MatrixOf(back), m));
        }

    // The rotation part of a camera transform (with translation) is read correctly.
    D3DXMATRIX view, camera;
    const D3DXVECTOR3 eye(0, 8, 0), at(0, 16, 0.001f), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    ASSERT_NE(D3DXMatrixInverse(&camera, nullptr, &view), nullptr);
    D3DXMATRIX rotationOnly = MatrixOf(QuaternionOf(camera));
    camera._41 = camera._42 = camera._43 = 0.0f;
    EXPECT_TRUE(MatricesNear(rotationOnly, camera, 1e-4f));
}

TEST(D3DXQuaternion, MultiplyComposesInApplicationOrder) {
    D3DXQUATERNION first, second, both;
    D3DXQuaternionRotationYawPitchRoll(&first, 0.3f, 0.0f, 0.0f);
    const D3DXVECTOR3 axis(1.0f, 0.0f, 1.0f);
    D3DXQuaternionRotationAxis(&second, &axis, 0.9f);
    EXPECT_EQ(D3DXQuaternionMultiply(&both, &first, &second), &both);
    EXPECT_TRUE(MatricesNear(MatrixOf(both), MatrixOf(first) * MatrixOf(second)));
    EXPECT_FALSE(MatricesNear(MatrixOf(both), MatrixOf(second) * MatrixOf(first), 1e-3f));
    EXPECT_EQ(first * second, both);
    D3DXQUATERNION aliased = first;
    D3DXQuaternionMultiply(&aliased, &aliased, &second);
    EXPECT_EQ(aliased, both);
}

TEST(D3DXQuaternion, NormalizeAndSlerp) {
    D3DXQUATERNION q(0.0f, 3.0f, 0.0f, 4.0f);
    D3DXQuaternionNormalize(&q, &q);
    EXPECT_FLOAT_EQ(q.y, 0.6f);
    EXPECT_FLOAT_EQ(q.w, 0.8f);
    D3DXQUATERNION zero;
    D3DXQuaternionNormalize(&zero, &zero);
    EXPECT_EQ(zero, D3DXQUATERNION());

    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXQUATERNION start, end, halfway, expected;
    D3DXQuaternionIdentity(&start);
    D3DXQuaternionRotationAxis(&end, &up, D3DX_PI / 2.0f);
    D3DXQuaternionRotationAxis(&expected, &up, D3DX_PI / 4.0f);

    EXPECT_TRUE(SameRotation(*D3DXQuaternionSlerp(&halfway, &start, &end, 0.0f), start));
    EXPECT_TRUE(SameRotation(*D3DXQuaternionSlerp(&halfway, &start, &end, 1.0f), end));
    D3DXQuaternionSlerp(&halfway, &start, &end, 0.5f);
    EXPECT_TRUE(SameRotation(halfway, expected));
    EXPECT_NEAR(D3DXQuaternionLength(&halfway), 1.0f, 1e-5f);

    // -end is the same rotation: slerp still takes the short way round.
    const D3DXQUATERNION negated = -end;
    D3DXQuaternionSlerp(&halfway, &start, &negated, 0.5f);
    EXPECT_TRUE(SameRotation(halfway, expected));

    // Nearly equal quaternions blend without dividing by a vanishing sine.
    D3DXQUATERNION close;
    D3DXQuaternionRotationAxis(&close, &up, 1e-4f);
    D3DXQuaternionSlerp(&halfway, &start, &close, 0.5f);
    EXPECT_TRUE(std::isfinite(halfway.w));
    EXPECT_NEAR(halfway.w, 1.0f, 1e-6f);
}
