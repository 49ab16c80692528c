// Textures: memory layouts, orientation, modulation with the vertex colour,
// stage operations, render targets read back and sampled, cube maps.
#include <gtest/gtest.h>

#include <cstring>

#include "D3D8TestDevice.h"

namespace {

constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

struct STexturedVertex {
    float x, y, z, rhw;
    DWORD color;
    float u, v;
};

// A textured rectangle in pixels, (0, 0) of the texture at its top left.
void DrawTexturedRect(CD3D8TestDevice& device, float left, float top, float right, float bottom, DWORD color) {
    const STexturedVertex quad[4] = {{left - 0.5f, top - 0.5f, 0.5f, 1, color, 0, 0},
                                     {right - 0.5f, top - 0.5f, 0.5f, 1, color, 1, 0},
                                     {left - 0.5f, bottom - 0.5f, 0.5f, 1, color, 0, 1},
                                     {right - 0.5f, bottom - 0.5f, 0.5f, 1, color, 1, 1}};
    device->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(STexturedVertex)), D3D_OK);
}

void ModulateTextureWithDiffuse(CD3D8TestDevice& device) {
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
}

// Writes a 2 x 2 texture: top left, top right, bottom left, bottom right.
template <class Texel>
void Fill2x2(IDirect3DTexture8* texture, Texel tl, Texel tr, Texel bl, Texel br) {
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    auto* top = static_cast<Texel*>(locked.pBits);
    auto* bottom = reinterpret_cast<Texel*>(static_cast<BYTE*>(locked.pBits) + locked.Pitch);
    top[0] = tl;
    top[1] = tr;
    bottom[0] = bl;
    bottom[1] = br;
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
}

}  // namespace

TEST(D3D8Texture, ArgbTexelsAreBgraBytesSampledTopRowFirstAndModulated) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    ModulateTextureWithDiffuse(device);
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 8);
    const BYTE bytes[16] = {0x00, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0x00, 0xFF,   // red, green (B, G, R, A)
                            0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};  // blue, white
    std::memcpy(locked.pBits, bytes, 8);
    std::memcpy(static_cast<BYTE*>(locked.pBits) + locked.Pitch, bytes + 8, 8);
    texture->UnlockRect(0);
    device->SetTexture(0, texture);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawTexturedRect(device, 0, 0, 64, 64, 0xFF808080);
    EXPECT_COLOR_NEAR(device.Pixel(16, 16), 0xFF800000u, 2);
    EXPECT_COLOR_NEAR(device.Pixel(48, 16), 0xFF008000u, 2);
    EXPECT_COLOR_NEAR(device.Pixel(16, 48), 0xFF000080u, 2);
    EXPECT_COLOR_NEAR(device.Pixel(48, 48), 0xFF808080u, 2);

    // A later lock and change shows at the next draw without binding again.
    Fill2x2<std::uint32_t>(texture, kWhite, kWhite, kWhite, kGreen);
    DrawTexturedRect(device, 0, 0, 64, 64, kWhite);
    EXPECT_COLOR_NEAR(device.Pixel(16, 16), kWhite, 0);
    EXPECT_COLOR_NEAR(device.Pixel(48, 48), kGreen, 0);

    // An empty stage passes the vertex colour through modulation.
    device->SetTexture(0, nullptr);
    DrawTexturedRect(device, 0, 0, 64, 64, 0xFF204060);
    EXPECT_COLOR_NEAR(device.Pixel(16, 16), 0xFF204060u, 0);
    texture->Release();
}

TEST(D3D8Texture, SixteenBitAndOpaqueFormatsDecodeAsDirect3DStoresThem) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);

    IDirect3DTexture8* r5g6b5 = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &r5g6b5), D3D_OK);
    Fill2x2<std::uint16_t>(r5g6b5, 0xF800, 0x07E0, 0x001F, 0xFFFF);
    IDirect3DTexture8* a4r4g4b4 = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &a4r4g4b4), D3D_OK);
    // Opaque red, half-transparent green, invisible blue, opaque white.
    Fill2x2<std::uint16_t>(a4r4g4b4, 0xFF00, 0x80F0, 0x000F, 0xFFFF);
    IDirect3DTexture8* x8r8g8b8 = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &x8r8g8b8), D3D_OK);
    Fill2x2<std::uint32_t>(x8r8g8b8, 0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF);  // X byte 0: still opaque

    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    device->SetTexture(0, r5g6b5);
    DrawTexturedRect(device, 0, 0, 32, 32, kWhite);
    device->SetTexture(0, a4r4g4b4);
    DrawTexturedRect(device, 32, 0, 64, 32, kWhite);
    device->SetTexture(0, x8r8g8b8);
    DrawTexturedRect(device, 0, 32, 32, 64, kWhite);
    EXPECT_COLOR_NEAR(device.Pixel(8, 8), kRed, 0);
    EXPECT_COLOR_NEAR(device.Pixel(24, 8), kGreen, 0);
    EXPECT_COLOR_NEAR(device.Pixel(8, 24), kBlue, 0);
    EXPECT_COLOR_NEAR(device.Pixel(24, 24), kWhite, 0);
    EXPECT_COLOR_NEAR(device.Pixel(40, 8), kRed, 0);
    EXPECT_COLOR_NEAR(device.Pixel(56, 8), 0xFF008800u, 2);
    EXPECT_COLOR_NEAR(device.Pixel(40, 24), kBlack, 0);
    EXPECT_COLOR_NEAR(device.Pixel(8, 40), kRed, 0);
    EXPECT_COLOR_NEAR(device.Pixel(24, 56), kWhite, 0);

    D3DSURFACE_DESC desc{};
    ASSERT_EQ(a4r4g4b4->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_A4R4G4B4);
    EXPECT_EQ(desc.Width, 2u);
    EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
    device->SetTexture(0, nullptr);
    r5g6b5->Release();
    a4r4g4b4->Release();
    x8r8g8b8->Release();
}

TEST(D3D8Texture, MipChainsAndLockValidation) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(64, 16, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 7u);  // 64x16 down to 1x1
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(3, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 8u);
    EXPECT_EQ(desc.Height, 2u);
    EXPECT_EQ(texture->GetLevelDesc(7, &desc), D3DERR_INVALIDCALL);
    D3DLOCKED_RECT locked{};
    const RECT inside{4, 1, 8, 2};
    ASSERT_EQ(texture->LockRect(3, &locked, &inside, D3DLOCK_NOSYSLOCK), D3D_OK);
    EXPECT_EQ(locked.Pitch, 32);
    EXPECT_EQ(texture->LockRect(3, &locked, nullptr, 0), D3DERR_INVALIDCALL);  // already locked
    EXPECT_EQ(texture->UnlockRect(3), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(3), D3DERR_INVALIDCALL);
    const RECT outside{4, 1, 9, 2};
    EXPECT_EQ(texture->LockRect(3, &locked, &outside, 0), D3DERR_INVALIDCALL);
    IDirect3DSurface8* level = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(1, &level), D3D_OK);
    ASSERT_EQ(level->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Width, 32u);
    level->Release();
    EXPECT_EQ(texture->Release(), 0u);

    IDirect3DTexture8* bad = nullptr;
    EXPECT_EQ(device->CreateTexture(0, 16, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &bad), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateTexture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &bad),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateTexture(16, 16, 1, 0, D3DFMT_P8, D3DPOOL_MANAGED, &bad), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(bad, nullptr);
}

TEST(D3D8Texture, RenderedTexturesReadBackAndSampleTheRightWayUp) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    IDirect3DTexture8* target = nullptr;
    ASSERT_EQ(device->CreateTexture(32, 32, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target),
              D3D_OK);
    IDirect3DSurface8* depth = nullptr;
    ASSERT_EQ(device->CreateDepthStencilSurface(32, 32, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, &depth), D3D_OK);
    IDirect3DSurface8* targetSurface = nullptr;
    ASSERT_EQ(target->GetSurfaceLevel(0, &targetSurface), D3D_OK);
    IDirect3DSurface8* savedTarget = nullptr;
    IDirect3DSurface8* savedDepth = nullptr;
    device->GetRenderTarget(&savedTarget);
    device->GetDepthStencilSurface(&savedDepth);

    ASSERT_EQ(device->SetRenderTarget(targetSurface, depth), D3D_OK);
    D3DVIEWPORT8 viewport{};
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 32u);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlue, 1.0f, 0);
    device.FillRect(-0.5f, -0.5f, 31.5f, 7.5f, kRed);  // top eight rows
    // Culling on a texture target keeps Direct3D's winding.
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device.FillRect(-0.5f, 23.5f, 7.5f, 31.5f, kGreen);  // clockwise strip order: drawn
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);

    D3DLOCKED_RECT locked{};
    ASSERT_EQ(target->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    auto texel = [&](int x, int y) {
        return *reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch +
                                                       x * 4);
    };
    EXPECT_COLOR_NEAR(texel(4, 0), kRed, 0);
    EXPECT_COLOR_NEAR(texel(4, 7), kRed, 0);
    EXPECT_COLOR_NEAR(texel(4, 8), kBlue, 0);
    EXPECT_COLOR_NEAR(texel(4, 31), kGreen, 0);
    EXPECT_COLOR_NEAR(texel(20, 31), kBlue, 0);
    target->UnlockRect(0);

    ASSERT_EQ(device->SetRenderTarget(savedTarget, savedDepth), D3D_OK);
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 64u);
    device->SetTexture(0, target);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawTexturedRect(device, 0, 0, 64, 64, kWhite);
    EXPECT_COLOR_NEAR(device.Pixel(32, 4), kRed, 0);
    EXPECT_COLOR_NEAR(device.Pixel(32, 32), kBlue, 0);
    EXPECT_COLOR_NEAR(device.Pixel(4, 60), kGreen, 0);
    EXPECT_COLOR_NEAR(device.Pixel(60, 60), kBlue, 0);

    // The back buffer is lockable too, top row first.
    IDirect3DSurface8* backBuffer = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    ASSERT_EQ(backBuffer->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_COLOR_NEAR(*static_cast<const std::uint32_t*>(locked.pBits), kRed, 0);
    backBuffer->UnlockRect();
    backBuffer->Release();

    device->SetTexture(0, nullptr);
    savedTarget->Release();
    savedDepth->Release();
    targetSurface->Release();
    depth->Release();
    target->Release();
}

TEST(D3D8Texture, CubeFacesAreSampledByDirection) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    IDirect3DCubeTexture8* cube = nullptr;
    ASSERT_EQ(device->CreateCubeTexture(4, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &cube), D3D_OK);
    const std::uint32_t faceColors[6] = {kRed, 0xFF00FFFF, kGreen, 0xFFFF00FF, kBlue, 0xFFFFFF00};
    for (int face = 0; face < 6; ++face) {
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(cube->LockRect(static_cast<D3DCUBEMAP_FACES>(face), 0, &locked, nullptr, 0), D3D_OK);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                *reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch + x * 4) =
                    faceColors[face];
        cube->UnlockRect(static_cast<D3DCUBEMAP_FACES>(face), 0);
    }
    device->SetTexture(0, cube);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    struct SVertex {
        float x, y, z, rhw;
        float u, v, w;
    };
    const float directions[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, -1}};
    const std::uint32_t expected[3] = {kRed, kGreen, 0xFFFFFF00};
    device->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE3(0));
    for (int i = 0; i < 3; ++i) {
        const float* d = directions[i];
        const SVertex quad[4] = {{0, 0, 0.5f, 1, d[0], d[1], d[2]},
                                 {64, 0, 0.5f, 1, d[0], d[1], d[2]},
                                 {0, 64, 0.5f, 1, d[0], d[1], d[2]},
                                 {64, 64, 0.5f, 1, d[0], d[1], d[2]}};
        ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SVertex)), D3D_OK);
        EXPECT_COLOR_NEAR(device.Pixel(32, 32), expected[i], 0) << "direction " << i;
    }
    device->SetTexture(0, nullptr);
    cube->Release();
}

TEST(D3D8Texture, BlendFactorAlphaMixesTwoStagesByTheTextureFactor) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    IDirect3DTexture8* red = nullptr;
    IDirect3DTexture8* blue = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &red), D3D_OK);
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &blue), D3D_OK);
    Fill2x2<std::uint32_t>(red, kRed, kRed, kRed, kRed);
    Fill2x2<std::uint32_t>(blue, kBlue, kBlue, kBlue, kBlue);
    device->SetTexture(0, red);
    device->SetTexture(1, blue);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_BLENDFACTORALPHA);
    device->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_CURRENT);
    device->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_TEXTURE);
    device->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 0);
    device->SetRenderState(D3DRS_TEXTUREFACTOR, 0x88FFFFFF);  // 0x88 of the first stage
    DrawTexturedRect(device, 0, 0, 64, 64, kWhite);
    EXPECT_COLOR_NEAR(device.Pixel(32, 32), 0xFF880077u, 2);

    // Complement and alpha-replicate argument modifiers.
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TFACTOR | D3DTA_ALPHAREPLICATE | D3DTA_COMPLEMENT);
    DrawTexturedRect(device, 0, 0, 64, 64, kWhite);
    EXPECT_COLOR_NEAR(device.Pixel(32, 32), 0xFF777777u, 2);
    device->SetTexture(0, nullptr);
    device->SetTexture(1, nullptr);
    red->Release();
    blue->Release();
}

TEST(D3D8Texture, StandAloneRenderTargetsCopyIntoImageSurfaces) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    IDirect3DSurface8* target = nullptr;
    ASSERT_EQ(device->CreateRenderTarget(16, 16, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, TRUE, &target), D3D_OK);
    IDirect3DSurface8* image = nullptr;
    ASSERT_EQ(device->CreateImageSurface(8, 8, D3DFMT_A8R8G8B8, &image), D3D_OK);
    IDirect3DSurface8* backBuffer = nullptr;
    device->GetRenderTarget(&backBuffer);
    ASSERT_EQ(device->SetRenderTarget(target, nullptr), D3D_OK);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL);  // no depth buffer
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kGreen, 1.0f, 0);
    device.FillRect(-0.5f, -0.5f, 15.5f, 3.5f, kRed);  // top four rows
    ASSERT_EQ(device->SetRenderTarget(backBuffer, nullptr), D3D_OK);

    const RECT from{2, 2, 6, 6};
    const POINT to{1, 1};
    ASSERT_EQ(device->CopyRects(target, &from, 1, image, &to), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(image->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    auto texel = [&](int x, int y) {
        return *reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch +
                                                       x * 4);
    };
    EXPECT_EQ(texel(0, 0), 0u);                 // untouched
    EXPECT_COLOR_NEAR(texel(1, 1), kRed, 0);    // source row 2
    EXPECT_COLOR_NEAR(texel(1, 2), kRed, 0);    // source row 3
    EXPECT_COLOR_NEAR(texel(1, 3), kGreen, 0);  // source row 4
    EXPECT_COLOR_NEAR(texel(4, 4), kGreen, 0);
    EXPECT_EQ(texel(5, 5), 0u);
    image->UnlockRect();

    const RECT outside{10, 10, 20, 20};
    EXPECT_EQ(device->CopyRects(target, &outside, 1, image, &to), D3DERR_INVALIDCALL);
    IDirect3DSurface8* depth = nullptr;
    ASSERT_EQ(device->CreateDepthStencilSurface(16, 16, D3DFMT_D16, D3DMULTISAMPLE_NONE, &depth), D3D_OK);
    EXPECT_EQ(depth->LockRect(&locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetRenderTarget(depth, nullptr), D3DERR_INVALIDCALL);
    depth->Release();
    backBuffer->Release();
    image->Release();
    target->Release();
}

TEST(D3D8Texture, TextureTransformsAndAddressModesMoveAndRepeatTheImage) {
    CD3D8TestDevice device;
    ASSERT_TRUE(device.Valid());
    device.PlainState();
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    Fill2x2<std::uint32_t>(texture, kRed, kGreen, kBlue, kWhite);
    device->SetTexture(0, texture);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    struct SVertex {
        float x, y, z;
        float u, v;
    };
    // A full-screen quad with coordinates 0..2: the image twice across with WRAP.
    const SVertex quad[4] = {{-1, 1, 0.5f, 0, 0}, {1, 1, 0.5f, 2, 0}, {-1, -1, 0.5f, 0, 2}, {1, -1, 0.5f, 2, 2}};
    device->SetVertexShader(D3DFVF_XYZ | D3DFVF_TEX1);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SVertex)), D3D_OK);
    EXPECT_COLOR_NEAR(device.Pixel(8, 8), kRed, 0);
    EXPECT_COLOR_NEAR(device.Pixel(40, 8), kRed, 0);
    EXPECT_COLOR_NEAR(device.Pixel(56, 56), kWhite, 0);

    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SVertex));
    EXPECT_COLOR_NEAR(device.Pixel(8, 8), kRed, 0);
    EXPECT_COLOR_NEAR(device.Pixel(40, 8), kGreen, 0);
    EXPECT_COLOR_NEAR(device.Pixel(56, 56), kWhite, 0);

    // A 2D texture matrix keeps its translation in the third row: scale by
    // 0.5 and shift by half a texture: the quad shows the right column only.
    D3DMATRIX transform = IdentityMatrix();
    transform._11 = 0.25f;
    transform._22 = 0.5f;
    transform._31 = 0.5f;
    device->SetTransform(D3DTS_TEXTURE0, &transform);
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SVertex));
    EXPECT_COLOR_NEAR(device.Pixel(8, 8), kGreen, 0);
    EXPECT_COLOR_NEAR(device.Pixel(56, 8), kGreen, 0);
    EXPECT_COLOR_NEAR(device.Pixel(8, 56), kWhite, 0);
    device->SetTexture(0, nullptr);
    texture->Release();
}
