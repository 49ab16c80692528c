#include <gtest/gtest.h>

#include "D3D8TestDevice.h"

TEST(D3D8Clear, FillsTheViewportOrTheGivenRectanglesAndPresents) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF336699, 1.0f, 0), D3D_OK);
    EXPECT_COLOR_NEAR(device.Pixel(0, 0), 0xFF336699u, 0);
    EXPECT_COLOR_NEAR(device.Pixel(63, 63), 0xFF336699u, 0);

    const D3DRECT rect{10, 20, 30, 40};
    EXPECT_EQ(device->Clear(1, &rect, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
    const auto pixels = device.Pixels();
    const SPixelBox box = Silhouette(pixels, 0xFF336699);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 20);
    EXPECT_EQ(box.right, 29);
    EXPECT_EQ(box.bottom, 39);

    // A smaller viewport limits the clear to it.
    const D3DVIEWPORT8 viewport{0, 0, 8, 4, 0.0f, 1.0f};
    ASSERT_EQ(device->SetViewport(&viewport), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
    EXPECT_COLOR_NEAR(device.Pixel(7, 3), 0xFF00FF00u, 0);
    EXPECT_COLOR_NEAR(device.Pixel(8, 3), 0xFF336699u, 0);
    EXPECT_COLOR_NEAR(device.Pixel(7, 4), 0xFF336699u, 0);

    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}
