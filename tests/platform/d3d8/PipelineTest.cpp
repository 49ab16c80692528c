// The fixed-function pipeline: lighting, fog, blending, alpha test, points.
#include <gtest/gtest.h>

#include <cmath>

#include "D3D8TestDevice.h"

namespace {

constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;

struct SLitVertex {
    float x, y, z;
    float nx, ny, nz;
};

void DrawLitTriangle(CD3D8TestDevice& device) {
    // Facing the viewer (the normal points to -z), clockwise on screen.
    const SLitVertex triangle[3] = {{-1, -1, 0.5f, 0, 0, -1}, {0, 1, 0.5f, 0, 0, -1}, {1, -1, 0.5f, 0, 0, -1}};
    device->SetVertexShader(D3DFVF_XYZ | D3DFVF_NORMAL);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(SLitVertex)), D3D_OK);
}

D3DCOLORVALUE Grey(float v) {
    return D3DCOLORVALUE{v, v, v, 1.0f};
}

std::uint32_t GreyPixel(int v) {
    return 0xFF000000u | (v << 16) | (v << 8) | v;
}

void DrawQuadAtDepth(CD3D8TestDevice& device, float depth, DWORD color) {
    struct SVertex {
        float x, y, z;
        DWORD color;
    };
    const float e = depth * 1.1f;  // a little beyond the 90 degree frustum
    const SVertex quad[4] = {
        {-e, -e, depth, color}, {e, -e, depth, color}, {-e, e, depth, color}, {e, e, depth, color}};
    device->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SVertex));
}

}  // namespace

TEST(D3D8Pipeline, LightsGreyMaterialWithDirectionalPointLightsAndAmbient) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_AMBIENT, 0x00404040);
    D3DMATERIAL8 material{};
    material.Diffuse = material.Ambient = Grey(0.5f);
    device->SetMaterial(&material);
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = Grey(0.5f);
    light.Direction = {0.0f, 0.0f, 1.0f};
    device->SetLight(0, &light);
    device->LightEnable(0, TRUE);

    // Head-on: 0.5 x 0.25 ambient + 0.5 x 0.5 diffuse = 0.375.
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawLitTriangle(device);
    EXPECT_COLOR_NEAR(device.Pixel(32, 40), GreyPixel(96), 2);

    // At 60 degrees the diffuse term halves: 0.125 + 0.125.
    light.Direction = {0.0f, std::sin(1.0471976f), std::cos(1.0471976f)};
    device->SetLight(0, &light);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawLitTriangle(device);
    EXPECT_COLOR_NEAR(device.Pixel(32, 40), GreyPixel(64), 2);

    // A point light out of range adds nothing; in range with constant
    // attenuation it lights like the directional one head-on.
    D3DLIGHT8 point{};
    point.Type = D3DLIGHT_POINT;
    point.Diffuse = Grey(0.5f);
    point.Position = {0.0f, 0.0f, -10.0f};
    point.Range = 5.0f;
    point.Attenuation0 = 1.0f;
    device->LightEnable(0, FALSE);
    device->SetLight(1, &point);
    device->LightEnable(1, TRUE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawLitTriangle(device);
    EXPECT_COLOR_NEAR(device.Pixel(32, 40), GreyPixel(32), 2);
    point.Range = 100.0f;
    device->SetLight(1, &point);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawLitTriangle(device);
    EXPECT_COLOR_NEAR(device.Pixel(32, 40), GreyPixel(96), 3);

    // Without lighting and without vertex colours the vertices are white.
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawLitTriangle(device);
    EXPECT_COLOR_NEAR(device.Pixel(32, 40), 0xFFFFFFFFu, 0);
}

TEST(D3D8Pipeline, LinearTableFogGoesFromNoneAtStartToFullAtEnd) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    const D3DMATRIX projection = PerspectiveFovLH(1.5707964f, 1.0f, 1.0f, 100.0f);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetRenderState(D3DRS_FOGENABLE, TRUE);
    device->SetRenderState(D3DRS_FOGCOLOR, kBlue);
    device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_NONE);
    device->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
    const float start = 10.0f, end = 20.0f;
    device->SetRenderState(D3DRS_FOGSTART, FloatState(start));
    device->SetRenderState(D3DRS_FOGEND, FloatState(end));

    struct SCase {
        float depth;
        std::uint32_t expected;
    };
    for (const SCase c :
         {SCase{9.0f, kRed}, SCase{10.0f, kRed}, SCase{15.0f, 0xFF800080u}, SCase{20.0f, kBlue}, SCase{30.0f, kBlue}}) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
        DrawQuadAtDepth(device, c.depth, kRed);
        EXPECT_COLOR_NEAR(device.Pixel(32, 32), c.expected, 3) << "depth " << c.depth;
        EXPECT_COLOR_NEAR(device.Pixel(2, 60), c.expected, 3) << "depth " << c.depth;
    }

    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawQuadAtDepth(device, 30.0f, kRed);
    EXPECT_COLOR_NEAR(device.Pixel(32, 32), kRed, 0);
}

TEST(D3D8Pipeline, AlphaBlendingMixesAndAlphaTestAtReference8Discards) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device.FillRect(0, 0, 32, 64, 0x8000FF00);
    EXPECT_COLOR_NEAR(device.Pixel(16, 32), 0xFF7F8000u, 2);
    // Additive, as the particles and lens flares use it.
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    device.FillRect(32, 0, 64, 64, 0x800000FF);
    EXPECT_COLOR_NEAR(device.Pixel(48, 32), 0xFFFF0080u, 2);

    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAREF, 0x08);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    device.FillRect(0, 0, 32, 64, 0x0700FF00);   // alpha 7: discarded
    device.FillRect(32, 0, 64, 64, 0x0800FF00);  // alpha 8: kept
    EXPECT_COLOR_NEAR(device.Pixel(16, 32), kBlack, 0);
    EXPECT_COLOR_NEAR(device.Pixel(48, 32), kGreen, 0);
}

TEST(D3D8Pipeline, PointSpritesTakeTheirSizeAndTextureTheDirect3DWay) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    struct SPoint {
        float x, y, z, rhw;
        DWORD color;
    };
    const float size = 8.0f;
    device->SetRenderState(D3DRS_POINTSIZE, FloatState(size));
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    const SPoint point{32.0f, 32.0f, 0.5f, 1.0f, kGreen};
    device->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &point, sizeof point), D3D_OK);
    SPixelBox box = Silhouette(device.Pixels(), kBlack);
    EXPECT_EQ(box.Width(), 8);
    EXPECT_EQ(box.Height(), 8);

    // Scaled sprites (the particle set-up): size = viewport height x size /
    // distance, textured top row first.
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    auto* row0 = static_cast<std::uint32_t*>(locked.pBits);
    auto* row1 = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(locked.pBits) + locked.Pitch);
    row0[0] = row0[1] = kRed;
    row1[0] = row1[1] = kBlue;
    texture->UnlockRect(0);
    device->SetTexture(0, texture);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    const D3DMATRIX projection = PerspectiveFovLH(1.5707964f, 1.0f, 1.0f, 100.0f);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetRenderState(D3DRS_POINTSPRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_POINTSCALEENABLE, TRUE);
    const float zero = 0.0f, one = 1.0f, big = 200.0f;
    device->SetRenderState(D3DRS_POINTSCALE_A, FloatState(zero));
    device->SetRenderState(D3DRS_POINTSCALE_B, FloatState(zero));
    device->SetRenderState(D3DRS_POINTSCALE_C, FloatState(one));
    device->SetRenderState(D3DRS_POINTSIZE_MAX, FloatState(big));
    struct SParticle {
        float x, y, z, size;
        DWORD color;
    };
    const SParticle particle{0.0f, 0.0f, 16.0f, 4.0f, 0xFFFFFFFF};  // 64 x 4 / 16 = 16 pixels
    device->SetVertexShader(D3DFVF_XYZ | D3DFVF_PSIZE | D3DFVF_DIFFUSE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &particle, sizeof particle), D3D_OK);
    box = Silhouette(device.Pixels(), kBlack);
    EXPECT_NEAR(box.Width(), 16, 1);
    EXPECT_NEAR(box.Height(), 16, 1);
    EXPECT_COLOR_NEAR(device.Pixel(32, box.top + 2), kRed, 2);
    EXPECT_COLOR_NEAR(device.Pixel(32, box.bottom - 2), kBlue, 2);
    device->SetTexture(0, nullptr);
    texture->Release();
}

TEST(D3D8Pipeline, SpecularHighlightsAddToTheTexturedColourOnlyWhenEnabled) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    D3DMATERIAL8 material{};
    material.Diffuse = Grey(0.25f);
    material.Specular = Grey(1.0f);
    material.Power = 8.0f;
    device->SetMaterial(&material);
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = Grey(1.0f);
    light.Specular = {1.0f, 0.0f, 0.0f, 1.0f};
    light.Direction = {0.0f, 0.0f, 1.0f};
    device->SetLight(0, &light);
    device->LightEnable(0, TRUE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawLitTriangle(device);
    EXPECT_COLOR_NEAR(device.Pixel(32, 40), GreyPixel(64), 2);

    // Head-on with a distant viewer the half vector is the normal: full red highlight.
    device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
    device->SetRenderState(D3DRS_LOCALVIEWER, FALSE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawLitTriangle(device);
    EXPECT_COLOR_NEAR(device.Pixel(32, 40), 0xFFFF4040u, 2);
}
