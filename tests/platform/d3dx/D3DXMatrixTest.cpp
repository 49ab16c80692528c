#include <gtest/gtest.h>

#include "MathExpectations.h"
#include "platform/d3dx/d3dx8math.h"

namespace {

D3DXMATRIX Identity() {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

// A matrix with rotation, non-uniform scale, translation and a projective
// column: every element matters.
const D3DXMATRIX kGeneral(2.0f, 0.5f, -1.0f, 0.1f, 0.3f, 3.0f, 0.7f, -0.2f, -0.4f, 1.1f, 1.5f, 0.05f, 5.0f, -6.0f, 7.0f,
                          1.0f);

}  // namespace

TEST(D3DXMatrix, ConstructionAccessAndIdentity) {
    const float values[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const D3DXMATRIX m(values);
    EXPECT_EQ(m._11, 1.0f);
    EXPECT_EQ(m._14, 4.0f);
    EXPECT_EQ(m._41, 13.0f);
    EXPECT_EQ(m(1, 2), 7.0f);  // row 2, column 3
    EXPECT_EQ(m.m[3][3], 16.0f);
    EXPECT_EQ(m, D3DXMATRIX(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16));

    D3DXMATRIX writable = m;
    writable(3, 0) = -1.0f;
    EXPECT_EQ(writable._41, -1.0f);
    EXPECT_NE(writable, m);

    const D3DXMATRIX identity = Identity();
    EXPECT_TRUE(D3DXMatrixIsIdentity(&identity));
    EXPECT_FALSE(D3DXMatrixIsIdentity(&m));
    D3DXMATRIX almost = Identity();
    almost._43 = 0.001f;
    EXPECT_FALSE(D3DXMatrixIsIdentity(&almost));
    EXPECT_EQ(D3DXMATRIX(), D3DXMATRIX(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
}

TEST(D3DXMatrix, MultiplicationAppliesTheLeftMatrixFirst) {
    D3DXMATRIX scale, move;
    D3DXMatrixScaling(&scale, 2.0f, 3.0f, 4.0f);
    D3DXMatrixTranslation(&move, 10.0f, 20.0f, 30.0f);
    const D3DXVECTOR3 p(1.0f, 1.0f, 1.0f);
    // Row vectors: p * (scale * move) scales first, then moves.
    EXPECT_TRUE(VectorsNear(TransformPoint(p, scale * move), D3DXVECTOR3(12.0f, 23.0f, 34.0f)));
    EXPECT_TRUE(VectorsNear(TransformPoint(p, move * scale), D3DXVECTOR3(22.0f, 63.0f, 124.0f)));

    D3DXMATRIX product;
    EXPECT_EQ(D3DXMatrixMultiply(&product, &scale, &move), &product);
    EXPECT_EQ(product, scale * move);
    // The output may alias either input.
    D3DXMATRIX aliased = scale;
    D3DXMatrixMultiply(&aliased, &aliased, &move);
    EXPECT_EQ(aliased, product);
    aliased = move;
    D3DXMatrixMultiply(&aliased, &scale, &aliased);
    EXPECT_EQ(aliased, product);
    D3DXMATRIX accumulated = scale;
    accumulated *= move;
    EXPECT_EQ(accumulated, product);
    EXPECT_EQ(Identity() * kGeneral, kGeneral);

    EXPECT_TRUE(MatricesNear(kGeneral + kGeneral, kGeneral * 2.0f));
    EXPECT_TRUE(MatricesNear(kGeneral - kGeneral, D3DXMATRIX()));
    EXPECT_TRUE(MatricesNear(-kGeneral, kGeneral / -1.0f));
}

TEST(D3DXMatrix, InverseTimesMatrixIsIdentity) {
    D3DXMATRIX inverse;
    float determinant = 0.0f;
    ASSERT_EQ(D3DXMatrixInverse(&inverse, &determinant, &kGeneral), &inverse);
    EXPECT_FLOAT_EQ(determinant, D3DXMatrixDeterminant(&kGeneral));
    EXPECT_TRUE(MatricesNear(inverse * kGeneral, Identity()));
    EXPECT_TRUE(MatricesNear(kGeneral * inverse, Identity()));

    // Determinant of a known matrix: scale 2, 3, 4 with two rows swapped.
    const D3DXMATRIX swapped(0, 3, 0, 0, 2, 0, 0, 0, 0, 0, 4, 0, 7, 8, 9, 1);
    EXPECT_FLOAT_EQ(D3DXMatrixDeterminant(&swapped), -24.0f);

    // In place, and without asking for the determinant.
    D3DXMATRIX view;
    const D3DXVECTOR3 eye(3.0f, 4.0f, -5.0f), at(0.0f, 1.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMATRIX camera = view;
    ASSERT_NE(D3DXMatrixInverse(&camera, nullptr, &camera), nullptr);
    EXPECT_TRUE(MatricesNear(camera * view, Identity()));
    // The camera transform puts the origin of view space at the eye.
    EXPECT_TRUE(VectorsNear(TransformPoint(D3DXVECTOR3(), camera), eye));
}

TEST(D3DXMatrix, SingularMatrixHasNoInverse) {
    const D3DXMATRIX sentinel(kGeneral);
    D3DXMATRIX out = sentinel;
    float determinant = 5.0f;

    const D3DXMATRIX zero;
    EXPECT_EQ(D3DXMatrixInverse(&out, &determinant, &zero), nullptr);
    EXPECT_EQ(determinant, 0.0f);
    EXPECT_EQ(out, sentinel);  // left untouched

    D3DXMATRIX flat;  // scaling z to 0 squashes space into a plane
    D3DXMatrixScaling(&flat, 1.0f, 1.0f, 0.0f);
    EXPECT_EQ(D3DXMatrixInverse(&out, nullptr, &flat), nullptr);

    // Row 3 is twice row 1 (exactly, in float); the minors' products do not
    // cancel exactly, so only a tolerance relative to the rows catches it.
    D3DXMATRIX dependent(0.1f, 0.7f, 0.3f, 0.2f, 0.9f, 0.3f, 0.5f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0.6f, -0.2f, 0.8f,
                         1.0f);
    for (int col = 0; col < 4; ++col)
        dependent.m[2][col] = 2.0f * dependent.m[0][col];
    EXPECT_EQ(D3DXMatrixInverse(&out, nullptr, &dependent), nullptr);
    EXPECT_EQ(out, sentinel);

    // A tiny but regular matrix still inverts.
    D3DXMATRIX tiny;
    D3DXMatrixScaling(&tiny, 1e-3f, 1e-3f, 1e-3f);
    ASSERT_NE(D3DXMatrixInverse(&out, nullptr, &tiny), nullptr);
    EXPECT_NEAR(out._11, 1000.0f, 1e-2f);
}

TEST(D3DXMatrix, TransposeSwapsRowsAndColumns) {
    D3DXMATRIX t;
    D3DXMatrixTranspose(&t, &kGeneral);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(t.m[row][col], kGeneral.m[col][row]);
    D3DXMatrixTranspose(&t, &t);
    EXPECT_EQ(t, kGeneral);
}

TEST(D3DXMatrix, RotationsAreLeftHandedAboutEachAxis) {
    const float quarter = D3DX_PI / 2.0f;
    D3DXMATRIX r;
    // Looking down the positive axis, positive angles turn clockwise.
    D3DXMatrixRotationX(&r, quarter);
    EXPECT_TRUE(VectorsNear(TransformPoint(D3DXVECTOR3(0, 1, 0), r), D3DXVECTOR3(0, 0, 1)));
    D3DXMatrixRotationY(&r, quarter);
    EXPECT_TRUE(VectorsNear(TransformPoint(D3DXVECTOR3(0, 0, 1), r), D3DXVECTOR3(1, 0, 0)));
    D3DXMatrixRotationZ(&r, quarter);
    EXPECT_TRUE(VectorsNear(TransformPoint(D3DXVECTOR3(1, 0, 0), r), D3DXVECTOR3(0, 1, 0)));

    // An arbitrary axis agrees with the principal ones and need not be unit length.
    D3DXMATRIX axisY, principalY;
    const D3DXVECTOR3 longY(0.0f, 5.0f, 0.0f);
    D3DXMatrixRotationAxis(&axisY, &longY, 0.7f);
    D3DXMatrixRotationY(&principalY, 0.7f);
    EXPECT_TRUE(MatricesNear(axisY, principalY));
    // Points on the axis stay; the rotation keeps lengths.
    const D3DXVECTOR3 diagonal(1.0f, 1.0f, 1.0f);
    D3DXMatrixRotationAxis(&r, &diagonal, 2.0f * D3DX_PI / 3.0f);
    EXPECT_TRUE(VectorsNear(TransformPoint(diagonal, r), diagonal));
    EXPECT_TRUE(VectorsNear(TransformPoint(D3DXVECTOR3(1, 0, 0), r), D3DXVECTOR3(0, 1, 0)));
}

TEST(D3DXMatrix, YawPitchRollAppliesRollThenPitchThenYaw) {
    const float yaw = 0.8f, pitch = -0.35f, roll = 1.2f;
    D3DXMATRIX combined, rollZ, pitchX, yawY;
    D3DXMatrixRotationYawPitchRoll(&combined, yaw, pitch, roll);
    D3DXMatrixRotationZ(&rollZ, roll);
    D3DXMatrixRotationX(&pitchX, pitch);
    D3DXMatrixRotationY(&yawY, yaw);
    EXPECT_TRUE(MatricesNear(combined, rollZ * pitchX * yawY));
    EXPECT_FALSE(MatricesNear(combined, yawY * pitchX * rollZ, 1e-3f));

    // Yaw alone turns the forward axis towards +x; pitch alone tilts it down.
    D3DXMatrixRotationYawPitchRoll(&combined, D3DX_PI / 2.0f, 0.0f, 0.0f);
    EXPECT_TRUE(VectorsNear(TransformPoint(D3DXVECTOR3(0, 0, 1), combined), D3DXVECTOR3(1, 0, 0)));
    D3DXMatrixRotationYawPitchRoll(&combined, 0.0f, D3DX_PI / 2.0f, 0.0f);
    EXPECT_TRUE(VectorsNear(TransformPoint(D3DXVECTOR3(0, 0, 1), combined), D3DXVECTOR3(0, -1, 0)));
}

TEST(D3DXMatrix, AffineTransformationScalesRotatesAboutACentreAndMoves) {
    const float scaling = 1.25f;
    const D3DXVECTOR3 centre(1.0f, -2.0f, 0.5f), translation(4.0f, 5.0f, -6.0f);
    D3DXQUATERNION rotation;
    D3DXQuaternionRotationYawPitchRoll(&rotation, 0.4f, 0.9f, -0.3f);

    D3DXMATRIX ms, mrc, mrcInverse, mr, mt;
    D3DXMatrixScaling(&ms, scaling, scaling, scaling);
    D3DXMatrixTranslation(&mrc, centre.x, centre.y, centre.z);
    D3DXMatrixTranslation(&mrcInverse, -centre.x, -centre.y, -centre.z);
    D3DXMatrixRotationQuaternion(&mr, &rotation);
    D3DXMatrixTranslation(&mt, translation.x, translation.y, translation.z);

    D3DXMATRIX affine;
    EXPECT_EQ(D3DXMatrixAffineTransformation(&affine, scaling, &centre, &rotation, &translation), &affine);
    EXPECT_TRUE(MatricesNear(affine, ms * mrcInverse * mr * mrc * mt));

    // Missing parts are identities.
    D3DXMatrixAffineTransformation(&affine, scaling, nullptr, &rotation, &translation);
    EXPECT_TRUE(MatricesNear(affine, ms * mr * mt));
    D3DXMatrixAffineTransformation(&affine, scaling, &centre, nullptr, nullptr);
    EXPECT_TRUE(MatricesNear(affine, ms));
    D3DXMatrixAffineTransformation(&affine, 1.0f, nullptr, nullptr, &translation);
    EXPECT_TRUE(MatricesNear(affine, mt));

    // The remote camera's use: the inverse of the camera's affine transform
    // maps its position to the origin and shrinks the scene to 0.8.
    D3DXMATRIX view;
    D3DXMatrixAffineTransformation(&affine, scaling, nullptr, &rotation, &translation);
    ASSERT_NE(D3DXMatrixInverse(&view, nullptr, &affine), nullptr);
    EXPECT_TRUE(VectorsNear(TransformPoint(translation, view), D3DXVECTOR3()));
    D3DXVECTOR3 offset(0.0f, 0.0f, 10.0f);
    D3DXVec3TransformNormal(&offset, &offset, &view);
    EXPECT_NEAR(D3DXVec3Length(&offset), 8.0f, 1e-4f);
}
