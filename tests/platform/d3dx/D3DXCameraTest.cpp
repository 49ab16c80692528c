#include <gtest/gtest.h>

#include <cmath>

#include "MathExpectations.h"
#include "platform/d3dx/d3dx8math.h"

TEST(D3DXCamera, LookAtLHMatchesTheDocumentedAxes) {
    const D3DXVECTOR3 eye(2.0f, 3.0f, -4.0f), at(-1.0f, 0.5f, 6.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMATRIX view;
    EXPECT_EQ(D3DXMatrixLookAtLH(&view, &eye, &at, &up), &view);

    // zaxis = normal(at - eye), xaxis = normal(up x zaxis), yaxis = zaxis x xaxis,
    // stored as columns, with -dot(axis, eye) in the last row.
    D3DXVECTOR3 zaxis = at - eye;
    D3DXVec3Normalize(&zaxis, &zaxis);
    D3DXVECTOR3 xaxis(up.y * zaxis.z - up.z * zaxis.y, up.z * zaxis.x - up.x * zaxis.z,
                      up.x * zaxis.y - up.y * zaxis.x);
    D3DXVec3Normalize(&xaxis, &xaxis);
    const D3DXVECTOR3 yaxis(zaxis.y * xaxis.z - zaxis.z * xaxis.y, zaxis.z * xaxis.x - zaxis.x * xaxis.z,
                            zaxis.x * xaxis.y - zaxis.y * xaxis.x);
    const auto dot = [](const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    const D3DXMATRIX expected(xaxis.x, yaxis.x, zaxis.x, 0.0f, xaxis.y, yaxis.y, zaxis.y, 0.0f, xaxis.z, yaxis.z,
                              zaxis.z, 0.0f, -dot(xaxis, eye), -dot(yaxis, eye), -dot(zaxis, eye), 1.0f);
    EXPECT_TRUE(MatricesNear(view, expected));

    // In view space the eye is the origin, the target lies on +z, up is +y.
    EXPECT_TRUE(VectorsNear(TransformPoint(eye, view), D3DXVECTOR3()));
    const D3DXVECTOR3 distance = at - eye;
    EXPECT_TRUE(VectorsNear(TransformPoint(at, view), D3DXVECTOR3(0.0f, 0.0f, D3DXVec3Length(&distance)), 1e-4f));
    const D3DXVECTOR3 above = TransformPoint(eye + D3DXVECTOR3(0.0f, 1.0f, 0.0f), view);
    EXPECT_GT(above.y, 0.0f);
    EXPECT_NEAR(above.x, 0.0f, 1e-5f);

    // The right-handed camera looks down -z instead.
    D3DXMATRIX rightHanded;
    D3DXMatrixLookAtRH(&rightHanded, &eye, &at, &up);
    EXPECT_TRUE(VectorsNear(TransformPoint(eye, rightHanded), D3DXVECTOR3()));
    EXPECT_TRUE(
        VectorsNear(TransformPoint(at, rightHanded), D3DXVECTOR3(0.0f, 0.0f, -D3DXVec3Length(&distance)), 1e-4f));
}

TEST(D3DXCamera, PerspectiveFovLHMapsTheFrustumToClipSpace) {
    const float fov = D3DX_PI / 4.0f, aspect = 640.0f / 480.0f, zn = 0.1f, zf = 500.0f;
    D3DXMATRIX proj;
    EXPECT_EQ(D3DXMatrixPerspectiveFovLH(&proj, fov, aspect, zn, zf), &proj);

    const float yScale = 1.0f / std::tan(fov / 2.0f);
    const D3DXMATRIX expected(yScale / aspect, 0, 0, 0, 0, yScale, 0, 0, 0, 0, zf / (zf - zn), 1, 0, 0,
                              -zn * zf / (zf - zn), 0);
    EXPECT_TRUE(MatricesNear(proj, expected));

    // Near plane -> depth 0, far plane -> depth 1, frustum edges -> +-1.
    EXPECT_NEAR(TransformPoint(D3DXVECTOR3(0, 0, zn), proj).z, 0.0f, 1e-6f);
    EXPECT_NEAR(TransformPoint(D3DXVECTOR3(0, 0, zf), proj).z, 1.0f, 1e-6f);
    const float z = 10.0f, halfHeight = z * std::tan(fov / 2.0f);
    const D3DXVECTOR3 corner = TransformPoint(D3DXVECTOR3(halfHeight * aspect, -halfHeight, z), proj);
    EXPECT_NEAR(corner.x, 1.0f, 1e-5f);
    EXPECT_NEAR(corner.y, -1.0f, 1e-5f);

    // PerspectiveLH with the view volume's size at the near plane is the same matrix.
    D3DXMATRIX bySize;
    D3DXMatrixPerspectiveLH(&bySize, 2.0f * zn * std::tan(fov / 2.0f) * aspect, 2.0f * zn * std::tan(fov / 2.0f), zn,
                            zf);
    EXPECT_TRUE(MatricesNear(bySize, proj, 1e-4f));
}

TEST(D3DXCamera, OrthographicProjectionsMapTheBoxToClipSpace) {
    D3DXMATRIX ortho;
    EXPECT_EQ(D3DXMatrixOrthoLH(&ortho, 800.0f, 600.0f, 1.0f, 11.0f), &ortho);
    EXPECT_TRUE(MatricesNear(
        ortho, D3DXMATRIX(2.0f / 800, 0, 0, 0, 0, 2.0f / 600, 0, 0, 0, 0, 1.0f / 10, 0, 0, 0, -1.0f / 10, 1)));
    EXPECT_TRUE(VectorsNear(TransformPoint(D3DXVECTOR3(400, 300, 1), ortho), D3DXVECTOR3(1, 1, 0)));
    EXPECT_TRUE(VectorsNear(TransformPoint(D3DXVECTOR3(-400, -300, 11), ortho), D3DXVECTOR3(-1, -1, 1)));

    // Off centre: a pixel-style box with y growing downwards.
    D3DXMATRIX pixels;
    D3DXMatrixOrthoOffCenterLH(&pixels, 0.0f, 640.0f, 480.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(VectorsNear(TransformPoint(D3DXVECTOR3(0, 0, 0), pixels), D3DXVECTOR3(-1, 1, 0)));
    EXPECT_TRUE(VectorsNear(TransformPoint(D3DXVECTOR3(640, 480, 1), pixels), D3DXVECTOR3(1, -1, 1)));
    EXPECT_TRUE(VectorsNear(TransformPoint(D3DXVECTOR3(320, 240, 0.5f), pixels), D3DXVECTOR3(0, 0, 0.5f)));
}
