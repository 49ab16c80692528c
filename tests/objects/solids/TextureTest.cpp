// Textures of the base object: loading from disk, failures, lockable
// textures, render targets, caller-made textures, effect textures, and what
// copies and clean-ups release.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ObjectTestSupport.h"
#include "objects/CBoxObject.h"
#include "support/CHeadlessDevice.h"
#include "support/CTempFolder.h"

namespace {

class ObjectTextures : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Valid()); }

    std::string WriteBmp(const std::string& name, int width, int height, unsigned int rgb) {
        return folder.Write(name, MakeBmp(width, height, rgb));
    }

    CHeadlessDevice device;
    CTempFolder folder;
};

ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

}  // namespace

TEST_F(ObjectTextures, TexturesLoadFromDiskAndFailuresLeaveNoName) {
    CTestable<CBoxObject> box;
    box.BuildOn(device.Get());
    const std::string path = WriteBmp("red.bmp", 8, 4, 0xFF0000);
    box.SetTexture(path, 0);
    EXPECT_TRUE(box.GetTextureState());
    EXPECT_EQ(box.GetTexture(0), path);
    ASSERT_NE(box.GetTexturePointer(0), nullptr);

    box.SetTexture(folder.Path("missing.png"), 0);
    EXPECT_EQ(box.GetTexturePointer(0), nullptr);
    EXPECT_EQ(box.GetTexture(0), "");

    const std::string damaged = folder.Path("damaged.bmp");
    std::ofstream(damaged, std::ios::binary) << "BM not really a bitmap";
    box.SetTexture(damaged, 0);
    EXPECT_EQ(box.GetTexturePointer(0), nullptr);
    EXPECT_EQ(box.GetTexture(0), "");
}

TEST_F(ObjectTextures, WritableTexturesLockAsBlueGreenRedAlpha) {
    CTestable<CBoxObject> box;
    box.UseDevice(device.Get());
    box.EnableWriteOnTexture(true);
    box.SetTexture(WriteBmp("colour.bmp", 4, 2, 0x204060), 0);
    int width = 0, height = 0, pitch = 0;
    SPixel* texels = box.LockTexture(width, height, pitch, 0);
    ASSERT_NE(texels, nullptr);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 2);
    EXPECT_GE(pitch, 16);
    EXPECT_EQ(texels[0].red, 0x20);
    EXPECT_EQ(texels[0].green, 0x40);
    EXPECT_EQ(texels[0].blue, 0x60);
    EXPECT_EQ(texels[0].alpha, 0xFF);
    texels[1].red = 0xAB;  // writable
    box.UnlockTexture(0);
    texels = box.LockTexture(width, height, pitch, 0);
    ASSERT_NE(texels, nullptr);
    EXPECT_EQ(texels[1].red, 0xAB);
    box.UnlockTexture(0);
}

TEST_F(ObjectTextures, RenderTargetsAndCallerTexturesAreOwnedReferences) {
    CTestable<CBoxObject> box;
    box.UseDevice(device.Get());
    box.SetNumberMaterials(2);
    ASSERT_TRUE(box.CreateTexture(32, 16, 1));
    const TextureBuffer buffer = box.GetTextureBuffer(1);
    ASSERT_NE(buffer.texture, nullptr);
    ASSERT_NE(buffer.surface, nullptr);
    D3DSURFACE_DESC description{};
    ASSERT_EQ(buffer.surface->GetDesc(&description), D3D_OK);
    EXPECT_EQ(description.Format, D3DFMT_D24S8);
    EXPECT_EQ(description.Width, 32u);
    EXPECT_TRUE(box.GetTextureState());

    // A texture made by the caller: the object holds its own reference.
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device.Get()->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    box.SetTexture(texture, 0);
    EXPECT_EQ(References(texture), 2u);
    box.CleanUp();
    EXPECT_EQ(References(texture), 1u);
    EXPECT_EQ(box.GetTexturePointer(0), nullptr);
    EXPECT_EQ(box.GetTextureBuffer(1).texture, nullptr);
    texture->Release();
}

TEST_F(ObjectTextures, EffectTexturesBecomeNormalMapsOrFailCleanly) {
    CTestable<CBoxObject> box;
    box.UseDevice(device.Get());
    // A flat height map gives normals straight out of the surface.
    box.SetEffectTexture(WriteBmp("height.bmp", 4, 4, 0x808080), ETT_NORMALMAP);
    ASSERT_NE(box.GetEffectTexture(), nullptr);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(box.GetEffectTexture()->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    const auto* texel = static_cast<const SPixel*>(locked.pBits);
    EXPECT_NEAR(texel->red, 128, 1);
    EXPECT_NEAR(texel->green, 128, 1);
    EXPECT_EQ(texel->blue, 255);
    box.GetEffectTexture()->UnlockRect(0);

    // A plain bitmap is not a cube map: nothing is kept.
    box.SetEffectTexture(WriteBmp("flat.bmp", 4, 4, 0x808080), ETT_CUBEMAP);
    EXPECT_EQ(box.GetEffectCubeTexture(), nullptr);
    EXPECT_EQ(box.GetEffectTexture(), nullptr);
    EXPECT_EQ(box.GetEffectTextureName(), "");

    const std::vector<unsigned char> bytes = MakeBmp(2, 2, 0x00FF00);
    box.SetEffectTexture(bytes.data(), static_cast<int>(bytes.size()), ETT_TEXTURE);
    EXPECT_NE(box.GetEffectTexture(), nullptr);

    ASSERT_TRUE(box.CreateEffectTexture(16, 16, ETT_CUBEMAP));
    EXPECT_NE(box.GetEffectCubeTexture(), nullptr);
    EXPECT_EQ(box.GetEffectTexture(), nullptr);
    EXPECT_NE(box.GetEffectTextureBuffer().surface, nullptr);
}

TEST_F(ObjectTextures, CopiesShareNoDeviceResources) {
    auto box = std::make_unique<CTestable<CBoxObject>>();
    box->BuildOn(device.Get());
    box->SetTexture(WriteBmp("copy.bmp", 2, 2, 0x0000FF), 0);
    CBoxObject copy(*box);
    EXPECT_EQ(copy.GetVB(), nullptr);
    EXPECT_EQ(copy.GetTexturePointer(0), nullptr);
    EXPECT_EQ(copy.GetTexture(0), box->GetTexture(0));  // reloaded at its first render
    EXPECT_TRUE(copy.NeedsInit());
    box.reset();  // releases only the original's buffers and texture
    CBoxObject assigned;
    assigned = copy;
    EXPECT_EQ(assigned.GetTexture(0), copy.GetTexture(0));
}
