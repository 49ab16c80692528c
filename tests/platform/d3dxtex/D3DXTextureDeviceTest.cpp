// The D3DX functions on a real device (headless EGL surface): what ends up
// in the texture levels, and what callers get back on failure.

#include <gtest/gtest.h>

#include <filesystem>

#include "TestImageFiles.h"
#include "platform/d3dxtex/d3dx8tex.h"
#include "support/CHeadlessDevice.h"

namespace {

class D3DXTextureDevice : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_headless.D3D(), nullptr);
        ASSERT_EQ(m_headless.CreateResult(), S_OK);
        m_device = m_headless.Get();
    }

    // Level `level` of a texture, read through LockRect (A8R8G8B8 or X8R8G8B8).
    static CPixelImage ReadLevel(IDirect3DTexture8* texture, UINT level) {
        D3DSURFACE_DESC desc{};
        EXPECT_EQ(texture->GetLevelDesc(level, &desc), S_OK);
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY), S_OK);
        CPixelImage image(desc.Width, desc.Height);
        for (UINT y = 0; y < desc.Height; ++y) {
            const auto* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
            for (UINT x = 0; x < desc.Width; ++x) {
                image.Set(x, y, row[x]);
            }
        }
        texture->UnlockRect(level);
        return image;
    }

    CHeadlessDevice m_headless{16, 16};
    IDirect3DDevice8* m_device = nullptr;
};

// A 6 x 5 picture with alpha: odd sizes, so the chain is 6x5, 3x2, 1x1.
CPixelImage TranslucentPicture() {
    return MakeImage(6, 5, [](UINT x, UINT y) { return MakeArgb(40 * y + 50, 40 * x, 200 - 30 * y, 17); });
}

}  // namespace

TEST_F(D3DXTextureDevice, ExLoadKeepsTheFileSizeAndBuildsTheFullChain) {
    const CPixelImage picture = TranslucentPicture();
    std::filesystem::create_directories("textures");
    WriteWholeFile("textures/picture.png", EncodePng(picture, 4));

    D3DXIMAGE_INFO info{};
    IDirect3DTexture8* texture = nullptr;
    // Written the way a scene saved on Windows names it.
    ASSERT_EQ(D3DXCreateTextureFromFileExA(m_device, "textures\\picture.png", D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT,
                                           0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, &info,
                                           nullptr, &texture),
              S_OK);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(info.Width, 6u);
    EXPECT_EQ(info.Height, 5u);
    EXPECT_EQ(info.MipLevels, 1u);
    EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(info.ResourceType, D3DRTYPE_TEXTURE);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_PNG);

    ASSERT_EQ(texture->GetLevelCount(), 3u);
    const UINT sizes[3][2] = {{6, 5}, {3, 2}, {1, 1}};
    for (UINT level = 0; level < 3; ++level) {
        D3DSURFACE_DESC desc{};
        ASSERT_EQ(texture->GetLevelDesc(level, &desc), S_OK);
        EXPECT_EQ(desc.Width, sizes[level][0]);
        EXPECT_EQ(desc.Height, sizes[level][1]);
        EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
        EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
    }
    const CPixelImage level0 = ReadLevel(texture, 0);
    for (UINT y = 0; y < 5; ++y) {
        for (UINT x = 0; x < 6; ++x) {
            EXPECT_EQ(level0.At(x, y), picture.At(x, y)) << x << "," << y;
        }
    }
    // The 1 x 1 level is about the mean of the picture.
    const DWORD last = ReadLevel(texture, 2).At(0, 0);
    EXPECT_NEAR(static_cast<int>(RedOf(last)), 100, 25);
    EXPECT_NEAR(static_cast<int>(AlphaOf(last)), 130, 25);
    texture->Release();
}

TEST_F(D3DXTextureDevice, ShortFormsPickTheFormatFromTheFile) {
    const Bytes bmp = EncodeBmp(DistinctOpaqueImage());
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileInMemory(m_device, bmp.data(), static_cast<UINT>(bmp.size()), &texture), S_OK);
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);  // no alpha in the file
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(texture->GetLevelCount(), 3u);
    EXPECT_EQ(ReadLevel(texture, 0).At(3, 2), DistinctOpaqueImage().At(3, 2));
    texture->Release();

    // An explicit size scales; a colour key clears its texels.
    const CPixelImage keyed = MakeImage(2, 2, [](UINT x, UINT) { return x == 0 ? 0xFFFF00FFu : 0xFF00FF00u; });
    const Bytes png = EncodePng(keyed, 3);
    ASSERT_EQ(D3DXCreateTextureFromFileInMemoryEx(m_device, png.data(), static_cast<UINT>(png.size()), 4, 4, 1, 0,
                                                  D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_FILTER_POINT, D3DX_DEFAULT,
                                                  0xFFFF00FF, nullptr, nullptr, &texture),
              S_OK);
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    const CPixelImage scaled = ReadLevel(texture, 0);
    EXPECT_EQ(scaled.At(1, 3), 0u);
    EXPECT_EQ(scaled.At(2, 0), 0xFF00FF00u);
    texture->Release();
}

TEST_F(D3DXTextureDevice, FailuresReturnAnErrorAndNoTexture) {
    const auto poisoned = reinterpret_cast<IDirect3DTexture8*>(0x1);
    IDirect3DTexture8* texture = poisoned;
    const Bytes png = EncodePng(DistinctOpaqueImage(), 3);

    EXPECT_EQ(D3DXCreateTextureFromFileInMemory(m_device, png.data(), static_cast<UINT>(png.size() / 2), &texture),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(texture, nullptr);

    texture = poisoned;
    EXPECT_EQ(D3DXCreateTextureFromFileA(m_device, "no/such/picture.png", &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);

    texture = poisoned;
    EXPECT_EQ(D3DXCreateTextureFromFileInMemory(nullptr, png.data(), static_cast<UINT>(png.size()), &texture),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(D3DXCreateTextureFromFileInMemory(m_device, nullptr, 10, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateTextureFromFileInMemory(m_device, png.data(), static_cast<UINT>(png.size()), nullptr),
              D3DERR_INVALIDCALL);

    texture = poisoned;
    EXPECT_EQ(D3DXCreateTextureFromFileInMemoryEx(m_device, png.data(), static_cast<UINT>(png.size()), 0, 0, 0, 0,
                                                  D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, 0x77, D3DX_DEFAULT, 0, nullptr,
                                                  nullptr, &texture),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);

    // A plain picture is no cube map.
    IDirect3DCubeTexture8* cube = reinterpret_cast<IDirect3DCubeTexture8*>(0x1);
    EXPECT_EQ(D3DXCreateCubeTextureFromFileInMemory(m_device, png.data(), static_cast<UINT>(png.size()), &cube),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(cube, nullptr);
}

TEST_F(D3DXTextureDevice, CubeMapFacesLandInTheirFaces) {
    // 4 x 4 uncompressed faces; face f is filled with kFaces[f].
    const DWORD kFaces[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF};
    Bytes payload;
    for (DWORD colour : kFaces) {
        for (int texel = 0; texel < 16; ++texel) {
            for (int i = 0; i < 4; ++i) {
                payload.push_back(static_cast<BYTE>(colour >> (8 * i)));
            }
        }
    }
    const Bytes dds = BuildDds(4, 4, 1, true, DdsArgb32(), payload);
    IDirect3DCubeTexture8* cube = nullptr;
    ASSERT_EQ(D3DXCreateCubeTextureFromFileInMemory(m_device, dds.data(), static_cast<UINT>(dds.size()), &cube), S_OK);
    ASSERT_EQ(cube->GetLevelCount(), 3u);
    for (UINT face = 0; face < 6; ++face) {
        for (UINT level = 0; level < 3; ++level) {
            D3DLOCKED_RECT locked{};
            ASSERT_EQ(cube->LockRect(static_cast<D3DCUBEMAP_FACES>(face), level, &locked, nullptr, D3DLOCK_READONLY),
                      S_OK);
            EXPECT_EQ(*static_cast<const DWORD*>(locked.pBits), kFaces[face]) << "face " << face << " level " << level;
            cube->UnlockRect(static_cast<D3DCUBEMAP_FACES>(face), level);
        }
    }
    cube->Release();
}

TEST_F(D3DXTextureDevice, CreateTextureAdjustsItsArguments) {
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(D3DXCreateTexture(m_device, 0, 0, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, &texture), S_OK);
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 256u);
    EXPECT_EQ(desc.Height, 256u);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(texture->GetLevelCount(), 9u);
    texture->Release();

    ASSERT_EQ(D3DXCreateTexture(m_device, 64, 32, D3DX_DEFAULT, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                &texture),
              S_OK);
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    texture->Release();

    ASSERT_EQ(D3DXCreateTexture(m_device, 8, 2, 10, 0, D3DFMT_R8G8B8, D3DPOOL_MANAGED, &texture), S_OK);
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);  // the device has no 24-bit textures
    EXPECT_EQ(texture->GetLevelCount(), 4u);
    texture->Release();
}

TEST_F(D3DXTextureDevice, NormalMapOfARampTiltsAgainstTheSlope) {
    // Red rises by 32 per texel to the right.
    const CPixelImage ramp = MakeImage(8, 4, [](UINT x, UINT) { return MakeArgb(255, 32 * x, 0, 0); });
    const Bytes png = EncodePng(ramp, 3);
    IDirect3DTexture8* heights = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileInMemory(m_device, png.data(), static_cast<UINT>(png.size()), &heights), S_OK);
    IDirect3DTexture8* normals = nullptr;
    ASSERT_EQ(D3DXCreateTexture(m_device, 8, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &normals), S_OK);

    ASSERT_EQ(D3DXComputeNormalMap(normals, heights, nullptr, 0, D3DX_CHANNEL_RED, 2.0f), S_OK);
    // normalize(-2 * 32/255, 0, 1) = (-0.243, 0, 0.970) -> (96, 128, 251).
    const DWORD texel = ReadLevel(normals, 0).At(4, 2);
    EXPECT_NEAR(static_cast<int>(RedOf(texel)), 96, 1);
    EXPECT_NEAR(static_cast<int>(GreenOf(texel)), 128, 1);
    EXPECT_NEAR(static_cast<int>(BlueOf(texel)), 251, 1);
    EXPECT_EQ(AlphaOf(texel), 255u);

    EXPECT_EQ(D3DXComputeNormalMap(normals, nullptr, nullptr, 0, D3DX_CHANNEL_RED, 2.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXComputeNormalMap(normals, heights, nullptr, 0, 0, 2.0f), D3DERR_INVALIDCALL);
    normals->Release();
    heights->Release();
}
