// The remote and user cameras, the projection, and the scene settings'
// conversions, first as stored values and then as the device state that a
// frame sets up.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "common/CoreTestSupport.h"
#include "core/CScreen.h"
#include "core/CScreenRunner.h"

namespace {

D3DXVECTOR3 Transform(const D3DXMATRIX& m, const D3DXVECTOR3& v) {
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &v, &m);
    return out;
}

void ExpectVectorNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void ExpectMatrixNear(const D3DXMATRIX& a, const D3DXMATRIX& b) {
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_NEAR(a.m[row][column], b.m[row][column], 1e-5f) << row << "," << column;
        }
    }
}

class CameraTest : public testing::Test {
protected:
    void SetUp() override {
        CTempFolder::EnterPrivateWorkingFolder();
        CScreen::Instance().SetResolution(RES_640_480);
        CScreen::Instance().SetCamera(D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 1));
    }
};

TEST_F(CameraTest, RemoteCameraViewShowsTheSceneAtFourFifths) {
    CScreen& screen = CScreen::Instance();
    screen.SetCamera(D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
    EXPECT_FALSE(screen.IsUserCameraMode());
    const D3DXMATRIX view = screen.GetViewMatrix();
    // The origin lies 10 units ahead, seen at 10 / 1.25; sideways offsets
    // shrink the same way.
    ExpectVectorNear(Transform(view, D3DXVECTOR3(0, 0, 0)), D3DXVECTOR3(0, 0, 8));
    ExpectVectorNear(Transform(view, D3DXVECTOR3(1, 2, 0)), D3DXVECTOR3(0.8f, 1.6f, 8));

    // Looking along +x with the default up: world +z is to the camera's left.
    screen.SetCamera(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 0, 0));
    ExpectVectorNear(Transform(screen.GetViewMatrix(), D3DXVECTOR3(5, 0, 1)), D3DXVECTOR3(-0.8f, 0, 4));

    // A tilted up vector rolls the view.
    screen.SetCamera(0, 0, 0, 0, 0, 1, 1, 0, 0);
    ExpectVectorNear(Transform(screen.GetViewMatrix(), D3DXVECTOR3(1, 0, 5)), D3DXVECTOR3(0, 0.8f, 4));

    D3DXVECTOR3 position;
    D3DXVECTOR3 direction;
    screen.SetCamera(1, 2, 3, 0, 0, 2);
    screen.GetCameraPosition(position, direction);
    ExpectVectorNear(position, D3DXVECTOR3(1, 2, 3));
    ExpectVectorNear(direction, D3DXVECTOR3(0, 0, 2));
    // The float forms agree with the vector forms.
    const D3DXMATRIX fromFloats = screen.GetViewMatrix();
    screen.SetCamera(D3DXVECTOR3(1, 2, 3), D3DXVECTOR3(0, 0, 2), D3DXVECTOR3(0, 1, 0));
    ExpectMatrixNear(fromFloats, screen.GetViewMatrix());
    EXPECT_TRUE(D3DXMatrixIsIdentity(&static_cast<const D3DXMATRIX&>(screen.GetWorldMatrix())));
}

TEST_F(CameraTest, CameraRotationTurnsTheDirectionOnly) {
    CScreen& screen = CScreen::Instance();
    screen.SetCamera(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
    screen.SetCameraRotation(4, 5, 6, D3DX_PI / 2, 0, 0);
    float x, y, z, dx, dy, dz;
    screen.GetCameraPosition(x, y, z, dx, dy, dz);
    ExpectVectorNear(D3DXVECTOR3(x, y, z), D3DXVECTOR3(4, 5, 6));
    ExpectVectorNear(D3DXVECTOR3(dx, dy, dz), D3DXVECTOR3(1, 0, 0));
    EXPECT_FALSE(screen.IsUserCameraMode());
    // Pitch turns the direction downwards (D3DX: positive pitch about +x).
    screen.SetCameraRotation(0, 0, 0, 0, D3DX_PI / 2, 0);
    screen.GetCameraPosition(x, y, z, dx, dy, dz);
    ExpectVectorNear(D3DXVECTOR3(dx, dy, dz), D3DXVECTOR3(0, -1, 0));
}

TEST_F(CameraTest, UserCameraMovesInItsOwnAxesAndKeepsItsPlaceAcrossSwitches) {
    CScreen& screen = CScreen::Instance();
    // A first update gives the user camera its scaled transform.
    screen.SetMouseCamera(0, 0, 0, 0, 0, 0);
    EXPECT_TRUE(screen.IsUserCameraMode());
    screen.BeginSceneSync(false);
    D3DXVECTOR3 start;
    D3DXVECTOR3 forward;
    screen.GetCameraPosition(start, forward);

    // Forward by 1: 0.15 units of camera space, 1.25 times larger in world.
    screen.SetMouseCamera(0, 0, 1, 0, 0, 0);
    screen.BeginSceneSync(false);
    D3DXVECTOR3 position;
    screen.GetCameraPosition(position, forward);
    ExpectVectorNear(position - start, D3DXVECTOR3(0, 0, 0.15f * 1.25f));
    ExpectVectorNear(forward, D3DXVECTOR3(0, 0, 1));

    // A yaw of 20 pending units turns by 20 * 0.05 radians; the next move
    // goes along the turned axis.
    screen.SetMouseCamera(0, 0, 0, 20, 0, 0);
    screen.BeginSceneSync(false);
    screen.GetCameraPosition(position, forward);
    ExpectVectorNear(forward, D3DXVECTOR3(std::sin(1.0f), 0, std::cos(1.0f)));
    const D3DXVECTOR3 beforeMove = position;
    screen.SetMouseCamera(0, 0, 1, 0, 0, 0);
    screen.BeginSceneSync(false);
    screen.GetCameraPosition(position, forward);
    ExpectVectorNear(position - beforeMove, forward * (0.15f * 1.25f));
    // The view is the inverse of the camera transform.
    ExpectVectorNear(Transform(screen.GetViewMatrix(), position), D3DXVECTOR3(0, 0, 0));

    // Back to the remote camera and again to the user camera: same place.
    screen.SetCamera(D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 1));
    EXPECT_FALSE(screen.IsUserCameraMode());
    screen.SetMouseCamera(0, 0, 0, 0, 0, 0);
    screen.BeginSceneSync(false);
    D3DXVECTOR3 again;
    screen.GetCameraPosition(again, forward);
    ExpectVectorNear(again, position);
    screen.SetCamera(D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 1));
}

TEST_F(CameraTest, FieldOfViewRebuildsTheStoredProjection) {
    CScreen& screen = CScreen::Instance();
    D3DXMATRIX expected;
    screen.SetFieldOfView(1.0f);
    D3DXMatrixPerspectiveFovLH(&expected, 1.0f, 640.0f / 480.0f, 0.1f, 500.0f);
    ExpectMatrixNear(screen.GetProjMatrix(), expected);
    EXPECT_FLOAT_EQ(screen.GetFieldOfView(), 1.0f);
    screen.SetResolution(RES_1280_1024);
    screen.ResetFieldOfView();
    D3DXMatrixPerspectiveFovLH(&expected, D3DX_PI / 4, 1280.0f / 1024.0f, 0.1f, 500.0f);
    ExpectMatrixNear(screen.GetProjMatrix(), expected);
    screen.SetResolution(RES_640_480);
}

TEST_F(CameraTest, ColoursAreStoredAsBytesOfTruncatedComponents) {
    CScreen& screen = CScreen::Instance();
    screen.SetBackgroundColor(D3DCOLORVALUE{0.5f, 0.25f, 1.0f, 0.999f});
    EXPECT_EQ(screen.GetBackgroundColorARGB(), 0xFE7F3FFFu);
    const D3DCOLORVALUE back = screen.GetBackgroundColor();
    EXPECT_FLOAT_EQ(back.r, 127.0f / 255.0f);
    EXPECT_FLOAT_EQ(back.g, 63.0f / 255.0f);
    EXPECT_FLOAT_EQ(back.b, 1.0f);
    EXPECT_FLOAT_EQ(back.a, 254.0f / 255.0f);
    // Out-of-range components saturate instead of spilling into others.
    screen.SetBackgroundColor(D3DCOLORVALUE{1.5f, -0.5f, 0.0f, 1.0f});
    EXPECT_EQ(screen.GetBackgroundColorARGB(), 0xFFFF0000u);
    EXPECT_EQ(screen.GetLightVectorForEffect(), D3DXVECTOR3(0, -1, 0));
}

TEST_F(CameraTest, AFrameSetsFogAmbientAndTransformsOnTheDevice) {
    CScreen& screen = CScreen::Instance();
    screen.SetBackgroundColor(D3DCOLORVALUE{0, 0, 1, 1});
    screen.EnableFog(true);
    screen.SetFogColor(D3DCOLORVALUE{1.0f, 0.5f, 0.0f, 1.0f});
    screen.SetFogStart(2.5f);
    screen.SetFogEnd(40.0f);
    screen.SetFogDensity(0.125f);
    screen.SetAmbientLight(1);
    screen.SetAmbientColor(D3DCOLORVALUE{0.2f, 0.4f, 0.6f, 1.0f});
    screen.SetFieldOfView(D3DX_PI / 3);
    screen.SetCamera(D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 1));

    coretest::CTestWindow window(16, 16);
    CScreenRunner runner(window);
    DWORD fog = 0, fogColor = 0, fogStart = 0, fogEnd = 0, density = 0, tableMode = 0, vertexMode = 0;
    DWORD ambient = 0, lighting = 0, ambientOff = 1;
    D3DMATRIX view{}, projection{};
    ASSERT_TRUE(runner.RunFrames(2, [&](int frame) {
        IDirect3DDevice8* device = screen.GetD3DDevice();
        if (frame == 0) {
            device->GetRenderState(D3DRS_FOGENABLE, &fog);
            device->GetRenderState(D3DRS_FOGCOLOR, &fogColor);
            device->GetRenderState(D3DRS_FOGSTART, &fogStart);
            device->GetRenderState(D3DRS_FOGEND, &fogEnd);
            device->GetRenderState(D3DRS_FOGDENSITY, &density);
            device->GetRenderState(D3DRS_FOGTABLEMODE, &tableMode);
            device->GetRenderState(D3DRS_FOGVERTEXMODE, &vertexMode);
            device->GetRenderState(D3DRS_AMBIENT, &ambient);
            device->GetRenderState(D3DRS_LIGHTING, &lighting);
            device->GetTransform(D3DTS_VIEW, &view);
            device->GetTransform(D3DTS_PROJECTION, &projection);
            screen.SetAmbientLight(0);
        } else {
            device->GetRenderState(D3DRS_AMBIENT, &ambientOff);
        }
    }));
    screen.EnableFog(false);
    screen.SetAmbientLight(1);
    screen.ResetFieldOfView();

    EXPECT_EQ(fog, 1u);
    EXPECT_EQ(fogColor, 0xFFFF7F00u);
    EXPECT_EQ(std::bit_cast<float>(fogStart), 2.5f);
    EXPECT_EQ(std::bit_cast<float>(fogEnd), 40.0f);
    EXPECT_EQ(std::bit_cast<float>(density), 0.125f);
    EXPECT_EQ(tableMode, static_cast<DWORD>(D3DFOG_LINEAR));
    EXPECT_EQ(vertexMode, static_cast<DWORD>(D3DFOG_NONE));
    EXPECT_EQ(ambient, 0xFF336699u);
    EXPECT_EQ(ambientOff, 0u);
    EXPECT_EQ(lighting, 1u);
    ExpectMatrixNear(D3DXMATRIX(view), screen.GetViewMatrix());
    // The device gets a square projection from 0 to 100; the stored one is
    // left for the objects.
    D3DXMATRIX square;
    D3DXMatrixPerspectiveFovLH(&square, D3DX_PI / 3, 1.0f, 0.0f, 100.0f);
    ExpectMatrixNear(D3DXMATRIX(projection), square);
    // The clear used the background colour.
    EXPECT_EQ(runner.Pixel(8, 8), 0xFF0000FFu);
}

TEST_F(CameraTest, ClearForcesOpaqueAlphaWhereBeginSceneKeepsTheStoredOne) {
    // Full screen at 32 bits has an alpha channel to look at.
    CScreen& screen = CScreen::Instance();
    screen.SetFullscreen(true);
    screen.SetColorDepth(1);
    screen.ViewInfo(false);
    screen.SetBackgroundColor(D3DCOLORVALUE{1.0f, 0.0f, 0.0f, 0.0f});
    coretest::CTestWindow window(640, 480);
    CScreenRunner runner(window);
    std::uint32_t afterBegin = 0;
    ASSERT_TRUE(runner.RunFrames(1, [&](int) {
        afterBegin = runner.ReadBackBuffer()[0];
        screen.Clear();
    }));
    screen.SetFullscreen(false);
    screen.SetBackgroundColor(D3DCOLORVALUE{0, 0, 0, 1});
    EXPECT_EQ(afterBegin, 0x00FF0000u);
    EXPECT_EQ(runner.Pixel(320, 240), 0xFFFF0000u);
}

}  // namespace
