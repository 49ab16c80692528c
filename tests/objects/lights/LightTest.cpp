// A light object and its device slot: what reaches the device, when, and
// which slot lights the shader effects.
#include <gtest/gtest.h>

#include <functional>

#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "objects/CLight.h"
#include "platform/headless/CHeadlessWindow.h"
#include "support/CScreenStateGuard.h"

namespace {

class Lights : public ::testing::Test {
protected:
    // Runs `body` on the render thread with the screen's device.
    void OnDevice(const std::function<void(IDirect3DDevice8&)>& body) {
        CScreenRunner runner(window);
        const bool ran = runner.RunFrames(1, [&](int) {
            IDirect3DDevice8* device = CScreen::Instance().GetD3DDevice();
            ASSERT_NE(device, nullptr);
            body(*device);
        });
        EXPECT_TRUE(ran);
    }

    static D3DLIGHT8 DeviceLight(IDirect3DDevice8& device, DWORD slot) {
        D3DLIGHT8 light{};
        EXPECT_EQ(device.GetLight(slot, &light), D3D_OK) << "slot " << slot;
        return light;
    }
    static bool DeviceLightOn(IDirect3DDevice8& device, DWORD slot) {
        BOOL on = FALSE;
        EXPECT_EQ(device.GetLightEnable(slot, &on), D3D_OK) << "slot " << slot;
        return on != FALSE;
    }

    CHeadlessWindow window{16, 16};
    CScreenStateGuard screenState;  // last: restores the screen before the window goes
};

}  // namespace

TEST_F(Lights, InitSetsAWhiteDownwardLightInSlotZeroAndSwitchesItOn) {
    OnDevice([](IDirect3DDevice8& device) {
        device.LightEnable(0, FALSE);
        CLight light;
        ASSERT_TRUE(light.Init());
        const D3DLIGHT8 set = DeviceLight(device, 0);
        EXPECT_EQ(set.Type, D3DLIGHT_DIRECTIONAL);
        EXPECT_FLOAT_EQ(set.Diffuse.r, 1.0f);
        EXPECT_FLOAT_EQ(set.Diffuse.a, 1.0f);
        EXPECT_FLOAT_EQ(set.Specular.r, 0.0f);
        EXPECT_FLOAT_EQ(set.Ambient.g, 0.0f);
        EXPECT_FLOAT_EQ(set.Direction.y, -1.0f);
        EXPECT_FLOAT_EQ(set.Falloff, 1.0f);
        EXPECT_TRUE(DeviceLightOn(device, 0));
    });
}

TEST_F(Lights, EverySetterReachesTheDeviceAtOnce) {
    OnDevice([](IDirect3DDevice8& device) {
        CLight light;
        light.Init();
        light.SetDirection(0.0f, 0.0f, 1.0f);
        EXPECT_FLOAT_EQ(DeviceLight(device, 0).Direction.z, 1.0f);
        light.SetPosition(D3DXVECTOR3(1.0f, 2.0f, 3.0f));
        EXPECT_FLOAT_EQ(DeviceLight(device, 0).Position.y, 2.0f);
        light.SetProperties(D3DLIGHT_SPOT, D3DCOLORVALUE{0.5f, 0.25f, 0.125f, 1.0f}, D3DCOLORVALUE{1, 1, 1, 1},
                            D3DCOLORVALUE{0.1f, 0.1f, 0.1f, 1}, 50.0f, 2.0f, 1.0f, 0.5f, 0.25f, 0.3f, 0.6f);
        const D3DLIGHT8 spot = DeviceLight(device, 0);
        EXPECT_EQ(spot.Type, D3DLIGHT_SPOT);
        EXPECT_FLOAT_EQ(spot.Diffuse.g, 0.25f);
        EXPECT_FLOAT_EQ(spot.Range, 50.0f);
        EXPECT_FLOAT_EQ(spot.Attenuation2, 0.25f);
        EXPECT_FLOAT_EQ(spot.Phi, 0.6f);
        EXPECT_FLOAT_EQ(spot.Position.z, 3.0f);  // kept by SetProperties

        light.Enable(0);
        EXPECT_FALSE(DeviceLightOn(device, 0));
        light.Enable(7);
        EXPECT_TRUE(DeviceLightOn(device, 0));
    });
}

TEST_F(Lights, AnotherSlotTakesTheLightAndCleanUpLeavesItOn) {
    OnDevice([](IDirect3DDevice8& device) {
        CLight light;
        light.Init();
        light.SetIndex(3);
        light.SetDirection(1.0f, 0.0f, 0.0f);
        light.Enable(1);
        EXPECT_FLOAT_EQ(DeviceLight(device, 3).Direction.x, 1.0f);
        EXPECT_TRUE(DeviceLightOn(device, 3));
        EXPECT_FLOAT_EQ(DeviceLight(device, 0).Direction.x, 0.0f);  // slot 0 keeps what it had

        light.CleanUp();
        EXPECT_FALSE(CScreen::Instance().IsObjectRegistered(light));
        EXPECT_TRUE(DeviceLightOn(device, 3));
        EXPECT_FLOAT_EQ(DeviceLight(device, 3).Direction.x, 1.0f);
    });
}

TEST_F(Lights, OnlySlotZeroPublishesItsDirectionForTheEffects) {
    CScreen& screen = CScreen::Instance();
    OnDevice([&](IDirect3DDevice8&) {
        CLight main;
        main.Init();
        main.SetDirection(1.0f, 2.0f, 3.0f);
        EXPECT_EQ(screen.GetLightVectorForEffect(), D3DXVECTOR3(1.0f, 2.0f, 3.0f));

        CLight other;
        other.SetIndex(2);
        other.Init();
        other.SetDirection(4.0f, 5.0f, 6.0f);
        other.SetProperties(D3DLIGHT_POINT, D3DCOLORVALUE{1, 1, 1, 1}, D3DCOLORVALUE{}, D3DCOLORVALUE{}, 10.0f, 1.0f,
                            0.0f, 1.0f, 0.0f, 0.0f, 0.0f);
        EXPECT_EQ(screen.GetLightVectorForEffect(), D3DXVECTOR3(1.0f, 2.0f, 3.0f));

        // Moving a light to slot 0 makes it the effects' light.
        other.SetIndex(0);
        EXPECT_EQ(screen.GetLightVectorForEffect(), D3DXVECTOR3(4.0f, 5.0f, 6.0f));
    });
}
