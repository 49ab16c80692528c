#include <gtest/gtest.h>

#include <limits>

#include "platform/d3dx/d3dx8math.h"

TEST(D3DXColor, PacksChannelsWithSaturationAndRounding) {
    EXPECT_EQ(static_cast<D3DCOLOR>(D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f)), 0xFFFFFFFFu);
    EXPECT_EQ(static_cast<D3DCOLOR>(D3DXCOLOR(0.0f, 0.0f, 0.0f, 0.0f)), 0x00000000u);
    // Channel order in the DWORD is A, R, G, B.
    EXPECT_EQ(static_cast<D3DCOLOR>(D3DXCOLOR(1.0f, 0.0f, 0.0f, 0.0f)), 0x00FF0000u);
    EXPECT_EQ(static_cast<D3DCOLOR>(D3DXCOLOR(0.0f, 0.0f, 0.0f, 1.0f)), 0xFF000000u);
    EXPECT_EQ(static_cast<D3DCOLOR>(D3DXCOLOR(0.0f, 0.0f, 1.0f, 0.0f)), 0x000000FFu);

    const auto red = [](float r) { return (static_cast<D3DCOLOR>(D3DXCOLOR(r, 0, 0, 0)) >> 16) & 0xFF; };
    EXPECT_EQ(red(1.0f), 255u);
    EXPECT_EQ(red(7.5f), 255u);    // saturates above 1
    EXPECT_EQ(red(0.999f), 255u);  // 254.745 + 0.5 truncates to 255
    EXPECT_EQ(red(0.998f), 254u);  // 254.49 + 0.5 truncates to 254
    EXPECT_EQ(red(0.5f), 128u);    // 127.5 + 0.5
    EXPECT_EQ(red(0.0019f), 0u);   // 0.48 + 0.5 truncates to 0
    EXPECT_EQ(red(0.002f), 1u);
    EXPECT_EQ(red(-0.3f), 0u);
    EXPECT_EQ(red(-100.0f), 0u);
    EXPECT_EQ(red(std::numeric_limits<float>::quiet_NaN()), 0u);  // a damaged file's value
}

TEST(D3DXColor, UnpacksEveryByteAndPacksItBackExactly) {
    const D3DXCOLOR c(0x80FF0040u);
    EXPECT_FLOAT_EQ(c.a, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(c.r, 1.0f);
    EXPECT_FLOAT_EQ(c.g, 0.0f);
    EXPECT_FLOAT_EQ(c.b, 64.0f / 255.0f);
    for (DWORD byte = 0; byte < 256; ++byte) {
        const D3DCOLOR packed = D3DCOLOR_ARGB(byte, 255 - byte, byte / 2, byte);
        EXPECT_EQ(static_cast<D3DCOLOR>(D3DXCOLOR(packed)), packed);
    }
}

TEST(D3DXColor, ConvertsToAndFromColourValuesAndComputes) {
    const D3DCOLORVALUE value{0.1f, 0.2f, 0.3f, 0.4f};
    const D3DXCOLOR c(value);
    EXPECT_EQ(c, D3DXCOLOR(0.1f, 0.2f, 0.3f, 0.4f));
    const D3DCOLORVALUE back = c;
    EXPECT_EQ(back.r, 0.1f);
    EXPECT_EQ(back.a, 0.4f);
    D3DMATERIAL8 material{};
    material.Diffuse = D3DXCOLOR(1.0f, 0.5f, 0.25f, 1.0f);
    EXPECT_EQ(material.Diffuse.g, 0.5f);

    const D3DXCOLOR a(0.2f, 0.4f, 0.6f, 1.0f), b(0.6f, 0.0f, 1.0f, 0.5f);
    D3DXCOLOR out;
    EXPECT_EQ(D3DXColorLerp(&out, &a, &b, 0.5f), &out);
    EXPECT_FLOAT_EQ(out.r, 0.4f);
    EXPECT_FLOAT_EQ(out.g, 0.2f);
    EXPECT_FLOAT_EQ(out.b, 0.8f);
    EXPECT_FLOAT_EQ(out.a, 0.75f);
    D3DXColorModulate(&out, &a, &b);
    EXPECT_FLOAT_EQ(out.r, 0.12f);
    EXPECT_FLOAT_EQ(out.g, 0.0f);
    EXPECT_FLOAT_EQ(out.b, 0.6f);
    EXPECT_FLOAT_EQ(out.a, 0.5f);

    // Arithmetic on binary fractions is exact, so == may be used.
    const D3DXCOLOR p(0.25f, 0.5f, 0.75f, 1.0f), q(0.5f, 0.125f, 0.0f, 0.5f);
    EXPECT_EQ(p + q, D3DXCOLOR(0.75f, 0.625f, 0.75f, 1.5f));
    EXPECT_EQ(p - q, D3DXCOLOR(-0.25f, 0.375f, 0.75f, 0.5f));
    EXPECT_EQ(p * 2.0f, D3DXCOLOR(0.5f, 1.0f, 1.5f, 2.0f));
    EXPECT_EQ(2.0f * p / 4.0f, D3DXCOLOR(0.125f, 0.25f, 0.375f, 0.5f));
    EXPECT_EQ(-p, D3DXCOLOR(-0.25f, -0.5f, -0.75f, -1.0f));
    EXPECT_NE(p, q);
    D3DXCOLOR sum = p;
    sum += q;
    sum -= p;
    EXPECT_EQ(sum, q);
}

TEST(D3DXPlane, PointNormalPlaneGivesSignedDistances) {
    const D3DXVECTOR3 point(0.0f, 2.0f, 0.0f), normal(0.0f, 1.0f, 0.0f);
    D3DXPLANE plane;
    EXPECT_EQ(D3DXPlaneFromPointNormal(&plane, &point, &normal), &plane);
    EXPECT_EQ(plane, D3DXPLANE(0.0f, 1.0f, 0.0f, -2.0f));
    const D3DXVECTOR3 above(5.0f, 7.0f, -3.0f), below(1.0f, -1.0f, 1.0f);
    EXPECT_FLOAT_EQ(D3DXPlaneDotCoord(&plane, &above), 5.0f);
    EXPECT_FLOAT_EQ(D3DXPlaneDotCoord(&plane, &below), -3.0f);
    EXPECT_FLOAT_EQ(D3DXPlaneDotCoord(&plane, &point), 0.0f);
}

TEST(D3DXAngles, RadiansAndDegreesConvert) {
    EXPECT_FLOAT_EQ(D3DXToRadian(180.0f), D3DX_PI);
    EXPECT_FLOAT_EQ(D3DXToDegree(D3DX_PI / 2.0f), 90.0f);
    EXPECT_FLOAT_EQ(D3DXToDegree(D3DXToRadian(37.0f)), 37.0f);
}
