// A lost device in full screen: registered objects are cleaned up, the
// device is reset once nothing blocks it (retried at every EndScene), and
// the objects, the overlay font among them, are initialised again.

#include <gtest/gtest.h>

#include "common/CoreTestSupport.h"
#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "platform/d3d8/d3d8.h"
#include "scene/CObjects.h"
#include "support/CScreenStateGuard.h"
#include "support/PixelProbe.h"

namespace {

class CCountingObject : public CObjects {
public:
    bool Init() override {
        ++inits;
        return CObjects::Init();
    }
    void CleanUp() override {
        ++cleanUps;
        CObjects::CleanUp();
    }
    int inits = 0;
    int cleanUps = 0;
};

class DeviceLossTest : public testing::Test {
protected:
    void SetUp() override {
        CScreen& screen = CScreen::Instance();
        screen.SetFullscreen(true);
        screen.SetResolution(RES_640_480);
        screen.SetColorDepth(1);
        screen.ViewInfo(false);
        screen.SetBackgroundColor(D3DCOLORVALUE{0, 0, 0, 1});
    }
    CScreenStateGuard m_screenState;
};

TEST_F(DeviceLossTest, ObjectsAreRebuiltAfterTheResetAndTextDrawsAgain) {
    CScreen& screen = CScreen::Instance();
    screen.DisplayMessage("Restored", 0);
    coretest::CTestWindow window(640, 480);
    CScreenRunner runner(window);
    CCountingObject object;
    IDirect3DVertexBuffer8* blocker = nullptr;
    std::vector<int> registered;
    ASSERT_TRUE(runner.RunFrames(6, [&](int frame) {
        IDirect3DDevice8* device = screen.GetD3DDevice();
        switch (frame) {
        case 0:
            object.Init();
            break;
        case 1:
            // A default-pool buffer that is still held makes the reset fail.
            device->CreateVertexBuffer(64, 0, 0, D3DPOOL_DEFAULT, &blocker);
            D3D8SimulateDeviceLost(device);
            break;
        case 3:
            blocker->Release();
            blocker = nullptr;
            break;
        default:
            break;
        }
        registered.push_back(screen.GetRegisteredObjectNumber());
    }));
    // Frame 1 presented into a lost device: everything was cleaned up and
    // waits; frame 2 retried in vain; frame 3 released the blocker and its
    // EndScene reset the device.
    EXPECT_EQ(object.cleanUps, 1);
    EXPECT_EQ(object.inits, 2);
    EXPECT_EQ(registered[1], registered[0]);
    EXPECT_EQ(registered[2], 0);
    EXPECT_EQ(registered[3], 0);
    EXPECT_EQ(registered[4], registered[0]);
    EXPECT_TRUE(screen.IsObjectRegistered(object));
    // The font draws on the first frame after the reset without help.
    ASSERT_FALSE(runner.Pixels().empty());
    EXPECT_FALSE(LitBox(runner.Pixels(), 640, 40, 40, 59).Empty());
}

TEST_F(DeviceLossTest, AnObjectDestroyedWhileTheDeviceIsLostIsNotRestored) {
    CScreen& screen = CScreen::Instance();
    coretest::CTestWindow window(640, 480);
    CScreenRunner runner(window);
    auto* doomed = new CCountingObject;
    IDirect3DVertexBuffer8* blocker = nullptr;
    ASSERT_TRUE(runner.RunFrames(4, [&](int frame) {
        IDirect3DDevice8* device = screen.GetD3DDevice();
        if (frame == 0) {
            doomed->Init();
            device->CreateVertexBuffer(64, 0, 0, D3DPOOL_DEFAULT, &blocker);
            D3D8SimulateDeviceLost(device);
        } else if (frame == 1) {
            EXPECT_TRUE(screen.IsObjectRegistered(*doomed));  // waiting for the reset
            delete doomed;
            doomed = nullptr;
            blocker->Release();
        }
    }));
    // Reaching here without touching the destroyed object is the test (ASan
    // would report it); the device came back.
    EXPECT_EQ(doomed, nullptr);
    EXPECT_FALSE(runner.Pixels().empty());
}

TEST_F(DeviceLossTest, AWindowedDeviceIsNotRestored) {
    CScreen& screen = CScreen::Instance();
    screen.SetFullscreen(false);
    coretest::CTestWindow window(32, 32);
    CScreenRunner runner(window);
    CCountingObject object;
    ASSERT_TRUE(runner.RunFrames(3, [&](int frame) {
        if (frame == 0) {
            object.Init();
            D3D8SimulateDeviceLost(screen.GetD3DDevice());
        }
    }));
    EXPECT_EQ(object.cleanUps, 0);
    EXPECT_EQ(object.inits, 1);
    object.CleanUp();
}

}  // namespace
