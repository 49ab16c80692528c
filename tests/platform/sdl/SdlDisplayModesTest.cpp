// The display modes of the virtual display (1280 x 1024, 24 bits).
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/d3d8/d3d8.h"
#include "platform/sdl/SdlDisplayModes.h"

namespace {

TEST(SdlDisplayModesTest, ReportsTheDisplaysModeAsX8R8G8B8) {
    SSdlDisplayModes modes;
    std::string error;
    ASSERT_TRUE(ReadSdlDisplayModes(modes, &error)) << error;
    EXPECT_EQ(modes.desktop.Width, 1280u);
    EXPECT_EQ(modes.desktop.Height, 1024u);
    EXPECT_EQ(modes.desktop.Format, D3DFMT_X8R8G8B8);
    ASSERT_FALSE(modes.modes.empty());
    const bool listed = std::any_of(modes.modes.begin(), modes.modes.end(), [&](const D3DDISPLAYMODE& m) {
        return m.Width == 1280 && m.Height == 1024 && m.Format == D3DFMT_X8R8G8B8;
    });
    EXPECT_TRUE(listed);
    for (const D3DDISPLAYMODE& m : modes.modes) {
        EXPECT_TRUE(m.Format == D3DFMT_X8R8G8B8 || m.Format == D3DFMT_R5G6B5) << m.Format;
        EXPECT_GT(m.Width, 0u);
        EXPECT_GT(m.Height, 0u);
    }
}

TEST(SdlDisplayModesTest, RegisteredModesAreWhatTheAdapterReports) {
    std::string error;
    ASSERT_TRUE(RegisterSdlDisplayModes(&error)) << error;
    IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DDISPLAYMODE current{};
    EXPECT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &current), D3D_OK);
    EXPECT_EQ(current.Width, 1280u);
    EXPECT_EQ(current.Height, 1024u);
    EXPECT_EQ(current.Format, D3DFMT_X8R8G8B8);
    bool found = false;
    const UINT count = d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT);
    for (UINT i = 0; i < count; ++i) {
        D3DDISPLAYMODE mode{};
        ASSERT_EQ(d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, i, &mode), D3D_OK);
        found = found || (mode.Width == 1280 && mode.Height == 1024 && mode.Format == D3DFMT_X8R8G8B8);
        // The layer's stand-in list (up to 1920 x 1080) is gone.
        EXPECT_LE(mode.Width, 1280u);
    }
    EXPECT_TRUE(found);
    d3d->Release();
    D3D8ResetAdapterModes();
}

}  // namespace
