// Rasterisation rules: pixel centres of pre-transformed vertices, culling,
// fill modes, depth test and z-bias, flat shading.
#include <gtest/gtest.h>

#include "D3D8TestDevice.h"

namespace {

struct STransformedVertex {
    float x, y, z, rhw;
    DWORD color;
};
constexpr DWORD kTransformedFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;

void DrawTriangle(CD3D8TestDevice& device, const STransformedVertex (&triangle)[3]) {
    device->SetVertexShader(kTransformedFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(STransformedVertex)), D3D_OK);
}

}  // namespace

TEST(D3D8Raster, PretransformedQuadCoversExactlyThePixelsOfItsEdges) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    device.FillRect(-0.5f, -0.5f, 9.5f, 9.5f, kRed);
    SPixelBox box = Silhouette(device.Pixels(), kBlack);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 9);
    EXPECT_EQ(box.bottom, 9);
    EXPECT_EQ(CountPixels(device.Pixels(), kRed), 100);

    // The same inside a viewport that does not start at the origin.
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    const D3DVIEWPORT8 viewport{16, 8, 32, 32, 0.0f, 1.0f};
    device->SetViewport(&viewport);
    device.FillRect(19.5f, 9.5f, 23.5f, 13.5f, kGreen);
    box = Silhouette(device.Pixels(), kBlack);
    EXPECT_EQ(box.left, 20);
    EXPECT_EQ(box.top, 10);
    EXPECT_EQ(box.right, 23);
    EXPECT_EQ(box.bottom, 13);
}

TEST(D3D8Raster, CullingFollowsScreenWindingAsDirect3DDoes) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    // Screen y grows downwards: left -> top -> right is clockwise on screen.
    const STransformedVertex clockwise[3] = {{8, 40, 0.5f, 1, kRed}, {16, 8, 0.5f, 1, kRed}, {24, 40, 0.5f, 1, kRed}};
    const STransformedVertex counterClockwise[3] = {
        {40, 40, 0.5f, 1, kGreen}, {56, 40, 0.5f, 1, kGreen}, {48, 8, 0.5f, 1, kGreen}};
    struct SCase {
        DWORD cull;
        bool clockwiseVisible, counterClockwiseVisible;
    };
    for (const SCase c :
         {SCase{D3DCULL_CCW, true, false}, SCase{D3DCULL_CW, false, true}, SCase{D3DCULL_NONE, true, true}}) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
        device->SetRenderState(D3DRS_CULLMODE, c.cull);
        DrawTriangle(device, clockwise);
        DrawTriangle(device, counterClockwise);
        EXPECT_EQ(ColorNear(device.Pixel(16, 30), kRed), c.clockwiseVisible) << "cull mode " << c.cull;
        EXPECT_EQ(ColorNear(device.Pixel(48, 30), kGreen), c.counterClockwiseVisible) << "cull mode " << c.cull;
    }
}

TEST(D3D8Raster, WireframeAndPointFillDrawOnlyEdgesOrCorners) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    const STransformedVertex triangle[3] = {
        {8.0f, 56.0f, 0.5f, 1, kRed}, {32.0f, 8.0f, 0.5f, 1, kRed}, {56.0f, 56.0f, 0.5f, 1, kRed}};

    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawTriangle(device, triangle);
    const int solid = CountPixels(device.Pixels(), kRed, 8);

    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    DrawTriangle(device, triangle);
    const int wire = CountPixels(device.Pixels(), kRed, 8);
    EXPECT_COLOR_NEAR(device.Pixel(32, 40), kBlack, 0);  // inside stays empty
    EXPECT_TRUE(ColorNear(device.Pixel(32, 56), kRed, 8) || ColorNear(device.Pixel(32, 55), kRed, 8));
    EXPECT_GT(wire, 60);
    EXPECT_LT(wire, solid / 4);

    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_POINT);
    DrawTriangle(device, triangle);
    const int points = CountPixels(device.Pixels(), kRed, 8);
    EXPECT_GE(points, 1);
    EXPECT_LE(points, 6);
    EXPECT_COLOR_NEAR(device.Pixel(32, 56), kBlack, 0);
}

TEST(D3D8Raster, DepthTestAndZBiasDecideWhichSurfaceShows) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0);
    device.FillRect(0, 0, 32, 64, kRed, 0.25f);    // near
    device.FillRect(0, 0, 64, 64, kGreen, 0.75f);  // far, drawn later
    EXPECT_COLOR_NEAR(device.Pixel(16, 32), kRed, 0);
    EXPECT_COLOR_NEAR(device.Pixel(48, 32), kGreen, 0);

    // Without depth test the later surface wins.
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device.FillRect(0, 0, 64, 64, kBlue, 0.75f);
    EXPECT_COLOR_NEAR(device.Pixel(16, 32), kBlue, 0);

    // Coplanar surfaces: with z-func LESS the second one loses unless biased.
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0);
    const D3DMATRIX projection = PerspectiveFovLH(1.0f, 1.0f, 1.0f, 100.0f);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    struct SVertex {
        float x, y, z;
        DWORD color;
    };
    // A sloped quad, so that the bias has to cope with depth slopes too.
    auto quad = [&](DWORD color) {
        const SVertex v[4] = {{-3, -3, 5, color}, {3, -3, 9, color}, {-3, 3, 5, color}, {3, 3, 9, color}};
        device->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE);
        device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(SVertex));
    };
    quad(kRed);
    quad(kGreen);
    EXPECT_COLOR_NEAR(device.Pixel(32, 32), kRed, 0);
    device->SetRenderState(D3DRS_ZBIAS, 1);
    quad(kBlue);
    EXPECT_COLOR_NEAR(device.Pixel(32, 32), kBlue, 0);
    EXPECT_COLOR_NEAR(device.Pixel(10, 50), kBlue, 0);
}

TEST(D3D8Raster, FlatShadingTakesTheFirstVertexColour) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    const STransformedVertex triangle[3] = {
        {4.0f, 60.0f, 0.5f, 1, kRed}, {32.0f, 4.0f, 0.5f, 1, kGreen}, {60.0f, 60.0f, 0.5f, 1, kBlue}};
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawTriangle(device, triangle);
    const std::uint32_t gouraudCentre = device.Pixel(32, 40);
    EXPECT_FALSE(ColorNear(gouraudCentre, kRed, 30));

    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawTriangle(device, triangle);
    EXPECT_COLOR_NEAR(device.Pixel(32, 40), kRed, 0);
    EXPECT_COLOR_NEAR(device.Pixel(50, 56), kRed, 0);
}
