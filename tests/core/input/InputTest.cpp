// Keyboard and mouse read from the output window's input state, and the user
// camera that KeyCamera drives from them.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/CoreTestSupport.h"
#include "core/CKeyboard.h"
#include "core/CMouse.h"
#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "platform/window/DIKeyCodes.h"
#include "support/CScreenStateGuard.h"

namespace {

class InputTest : public testing::Test {
protected:
    void SetUp() override { CScreen::Instance().SetWindow(&m_window); }
    coretest::CTestWindow m_window{8, 8};
    CScreenStateGuard m_screenState;  // last: takes the window back before it goes
};

TEST_F(InputTest, KeyboardMasksCombineTheHeldKeys) {
    CKeyboard keyboard;
    keyboard.Init(CScreen::Instance().GetWindow());
    ASSERT_TRUE(keyboard.IsPresent());
    CInputState& input = m_window.Input();
    EXPECT_EQ(keyboard.ReadData(), 0u);
    input.SetKey(DIK_0, true);
    EXPECT_EQ(keyboard.ReadData(), 0x04000000u);
    input.SetKey(DIK_0, false);
    input.SetKey(DIK_1, true);
    input.SetKey(DIK_LEFT, true);
    input.SetKey(DIK_F10, true);
    input.SetKey(DIK_TAB, true);
    input.SetKey(DIK_RSHIFT, true);
    EXPECT_EQ(keyboard.ReadData(), 0x00020000u | 0x1u | 0x8000u | 0x80000000u | 0x20000000u);
    EXPECT_EQ(keyboard.ReadData2(), 0u);
    input.SetKey(DIK_F12, true);
    input.SetKey(DIK_X, true);
    input.SetKey(DIK_R, true);
    EXPECT_EQ(keyboard.ReadData2(), 0x02u | 0x20u | 0x04u);

    // Without the focus nothing is read; the first read after the focus
    // returns acquires the device again and still reports nothing.
    input.SetFocused(false);
    EXPECT_EQ(keyboard.ReadData(), 0u);
    input.SetFocused(true);
    input.SetKey(DIK_SPACE, true);
    EXPECT_EQ(keyboard.ReadData(), 0u);
    EXPECT_EQ(keyboard.ReadData(), 0x10u);

    keyboard.CleanUp();
    EXPECT_EQ(keyboard.ReadData(), 0u);
}

TEST_F(InputTest, MouseReportsMotionSinceTheLastReadAndButtons) {
    CMouse mouse;
    mouse.Init(CScreen::Instance().GetWindow());
    CInputState& input = m_window.Input();
    input.AddMouseMotion(5, -3, 120);
    input.AddMouseMotion(1, 1, 0);
    input.SetMouseButton(0, true);
    input.SetMouseButton(2, true);
    LONG dx = 0, dy = 0, dz = 0;
    EXPECT_EQ(mouse.ReadData(dx, dy, dz), 0x5);
    EXPECT_EQ(dx, 6);
    EXPECT_EQ(dy, -2);
    EXPECT_EQ(dz, 120);
    input.AddMouseMotion(-10, 0, 0);
    input.SetMouseButton(0, false);
    EXPECT_EQ(mouse.ReadData(dx, dy, dz), 0x4);
    EXPECT_EQ(dx, -10);
    EXPECT_EQ(mouse.GetTotalX(), -4);
    EXPECT_EQ(mouse.GetTotalZ(), 120);

    CScreen::Instance().SetWindow(nullptr);
    CMouse absent;
    absent.Init(CScreen::Instance().GetWindow());
    EXPECT_FALSE(absent.IsPresent());
    dx = dy = dz = 7;
    EXPECT_EQ(absent.ReadData(dx, dy, dz), 0);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dz, 0);
}

// KeyCamera frame by frame on a run with a controlled real-time clock: each
// step adds one second of real time.
TEST_F(InputTest, KeyCameraMovesTurnsAndChangesSpeedFromInput) {
    CScreen& screen = CScreen::Instance();
    double now = 100.0;
    screen.SetClockSource([&now] { return now; });
    screen.ViewInfo(false);
    CInputState& input = m_window.Input();

    struct SStep {
        std::vector<int> keys;
        LONG mouseX = 0;
    };
    // Frame k applies step k; frame k + 1 shows its effect.
    const std::vector<SStep> steps = {
        {{}, 0},                          // enter user-camera mode
        {{DIK_UP}, 0},                    // forward by 5 (speed 5, dt 1)
        {{DIK_LEFT, DIK_RIGHT}, 0},       // right wins
        {{DIK_UP, DIK_DOWN}, 0},          // back wins
        {{DIK_RSHIFT, DIK_RCONTROL}, 0},  // down wins
        {{DIK_LSHIFT}, 0},                // speed 100 from the next call
        {{DIK_UP}, 0},                    // forward by 100
        {{DIK_LCONTROL, DIK_LSHIFT}, 0},  // shift wins: still 100
        {{DIK_LCONTROL}, 0},              // back to 5
        {{}, 20},                         // yaw by 20 * 0.05 * 0.05
    };
    std::vector<D3DXVECTOR3> positions;
    std::vector<D3DXVECTOR3> forwards;
    std::vector<float> speeds;
    CScreenRunner runner(m_window);
    ASSERT_TRUE(runner.RunFrames(static_cast<int>(steps.size()) + 1, [&](int frame) {
        D3DXVECTOR3 position, forward;
        screen.GetCameraPosition(position, forward);
        positions.push_back(position);
        forwards.push_back(forward);
        if (frame >= static_cast<int>(steps.size())) {
            return;
        }
        for (int key : steps[static_cast<size_t>(frame)].keys)
            input.SetKey(key, true);
        input.AddMouseMotion(steps[static_cast<size_t>(frame)].mouseX, 0, 0);
        screen.KeyCamera();
        speeds.push_back(screen.GetKeyCameraSpeed());
        for (int key : steps[static_cast<size_t>(frame)].keys)
            input.SetKey(key, false);
        now += 1.0;
    }));
    screen.SetClockSource(nullptr);
    screen.SetWindow(nullptr);
    screen.SetCamera(D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 1));

    ASSERT_EQ(positions.size(), steps.size() + 1);
    const float unit = 0.15f * 1.25f;  // world units per pending unit
    const auto delta = [&](size_t step) { return positions[step + 1] - positions[step]; };
    const auto near = [](const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
        return std::abs(a.x - b.x) < 1e-3f && std::abs(a.y - b.y) < 1e-3f && std::abs(a.z - b.z) < 1e-3f;
    };
    // Frame 0 still showed the remote camera; step 0 (dt measured from real
    // time 0 of the run, no keys) switched to the user camera.
    EXPECT_TRUE(near(delta(1), D3DXVECTOR3(0, 0, 5 * unit)));
    EXPECT_TRUE(near(delta(2), D3DXVECTOR3(5 * unit, 0, 0)));
    EXPECT_TRUE(near(delta(3), D3DXVECTOR3(0, 0, -5 * unit)));
    EXPECT_TRUE(near(delta(4), D3DXVECTOR3(0, -5 * unit, 0)));
    EXPECT_TRUE(near(delta(5), D3DXVECTOR3(0, 0, 0)));
    EXPECT_TRUE(near(delta(6), D3DXVECTOR3(0, 0, 100 * unit)));
    EXPECT_FLOAT_EQ(speeds[5], 100.0f);
    EXPECT_FLOAT_EQ(speeds[7], 100.0f);
    EXPECT_FLOAT_EQ(speeds[8], 5.0f);
    // 20 mouse counts turn by 0.05 (pending) * 0.05 (update) each.
    const float yaw = 20 * 0.05f * 0.05f;
    EXPECT_TRUE(near(forwards.back(), D3DXVECTOR3(std::sin(yaw), 0, std::cos(yaw))));
}

}  // namespace
