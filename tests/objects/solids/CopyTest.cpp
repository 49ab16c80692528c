// Copies of objects: a copy takes names, curves, materials and settings but
// none of the original's device resources, nor what describes them (buffer
// sizes, locked vertices), and builds its own; an object that is assigned to
// lets go of its own resources. Either way no buffer is released twice.
#include <gtest/gtest.h>

#include <memory>

#include "ObjectTestSupport.h"
#include "objects/CBoxObject.h"
#include "support/CHeadlessDevice.h"

namespace {

class ObjectCopies : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Valid()); }

    CHeadlessDevice device;
};

// References held on a device object, the caller's included.
ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

bool SameVertices(const std::vector<S3DVERTEX>& a, const std::vector<S3DVERTEX>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].z != b[i].z || a[i].nx != b[i].nx)
            return false;
    }
    return true;
}

}  // namespace

TEST_F(ObjectCopies, CopyTakesTheSettingsAndBuildsBuffersOfItsOwn) {
    auto original = std::make_unique<CTestable<CBoxObject>>();
    original->SetObjName("original");
    original->SetSize(2.0f, 4.0f, 6.0f);
    original->SetZBias(3);
    original->SetCurrentKeyFrame(original->AddKeyFrame(2.0f));
    original->SetPosition(1.0f, 2.0f, 3.0f);
    original->BuildOn(device.Get());
    const std::vector<S3DVERTEX> built = VerticesOf(*original);
    ASSERT_FALSE(built.empty());
    DWORD count = 0;
    ASSERT_NE(original->LockVB(count), nullptr);  // still locked when copied

    CTestable<CBoxObject> copy(*original);
    EXPECT_EQ(copy.GetVB(), nullptr);
    EXPECT_EQ(copy.GetIB(), nullptr);
    EXPECT_EQ(copy.GetNumberVertices(), 0);
    EXPECT_EQ(copy.GetNumberFaces(), 0);
    EXPECT_TRUE(copy.NeedsInit());
    EXPECT_EQ(copy.GetObjName(), "original");
    EXPECT_EQ(copy.GetZBias(), 3);
    ASSERT_EQ(copy.GetKeyFrameNumber(), 2);
    EXPECT_EQ(copy.GetCurrentKeyFrame(), original->GetCurrentKeyFrame());
    EXPECT_EQ(copy.GetPosition(), D3DXVECTOR3(1.0f, 2.0f, 3.0f));
    // The original's lock is not the copy's: there is nothing to unlock.
    copy.UnlockVB(false, false);
    EXPECT_EQ(copy.GetBoundsMax(), original->GetBoundsMax());

    original->UnlockVB(false, false);
    IDirect3DVertexBuffer8* originalBuffer = original->GetVB();
    EXPECT_EQ(References(originalBuffer), 1u);  // the copy took no reference
    original.reset();

    copy.BuildOn(device.Get());
    ASSERT_NE(copy.GetVB(), nullptr);
    EXPECT_EQ(References(copy.GetVB()), 1u);
    EXPECT_EQ(copy.GetNumberVertices(), 36);
    EXPECT_TRUE(SameVertices(VerticesOf(copy), built));
}

TEST_F(ObjectCopies, AssignedObjectReleasesItsOwnBuffersAndNeedsInit) {
    CTestable<CBoxObject> target;
    target.BuildOn(device.Get());
    target.Init();  // without a screen: only the flags and projections
    ASSERT_FALSE(target.NeedsInit());
    IDirect3DVertexBuffer8* oldBuffer = target.GetVB();
    IDirect3DIndexBuffer8* oldIndices = target.GetIB();
    oldBuffer->AddRef();
    oldIndices->AddRef();

    CBoxObject source;
    source.SetObjName("source");
    source.SetZBias(7);
    static_cast<CBoxObject&>(target) = source;
    EXPECT_EQ(oldBuffer->Release(), 0u);  // the target kept no reference
    EXPECT_EQ(oldIndices->Release(), 0u);
    EXPECT_EQ(target.GetVB(), nullptr);
    EXPECT_EQ(target.GetNumberVertices(), 0);
    EXPECT_EQ(target.GetNumberFaces(), 0);
    EXPECT_TRUE(target.NeedsInit());
    EXPECT_EQ(target.GetObjName(), "source");
    EXPECT_EQ(target.GetZBias(), 7);

    // Assigning an object to itself changes nothing.
    target.BuildOn(device.Get());
    IDirect3DVertexBuffer8* built = target.GetVB();
    const CBoxObject& same = target;
    static_cast<CBoxObject&>(target) = same;
    EXPECT_EQ(target.GetVB(), built);
    EXPECT_EQ(target.GetNumberVertices(), 36);
    EXPECT_EQ(target.GetNumberFaces(), 12);
}

TEST_F(ObjectCopies, EveryMaterialKeepsItsTextureNameButNoTexture) {
    CTestable<CBoxObject> original;
    original.UseDevice(device.Get());
    original.SetNumberMaterials(3);
    ASSERT_TRUE(original.CreateTexture(8, 8, 2));
    ASSERT_TRUE(original.CreateEffectTexture(8, 8, ETT_TEXTURE));
    IDirect3DTexture8* texture = original.GetTexturePointer(2);

    {
        const CBoxObject copy(original);
        EXPECT_EQ(copy.GetNumberMaterials(), 3);
        for (int material = 0; material < 3; ++material) {
            EXPECT_EQ(copy.GetTexturePointer(material), nullptr) << material;
            EXPECT_EQ(copy.GetTextureBuffer(material).surface, nullptr) << material;
        }
        EXPECT_EQ(copy.GetEffectTexture(), nullptr);
        EXPECT_EQ(copy.GetEffectTextureBuffer().surface, nullptr);
    }
    // The copy is gone and released nothing of the original's.
    EXPECT_EQ(original.GetTexturePointer(2), texture);
    EXPECT_EQ(References(texture), 1u);
    EXPECT_NE(original.GetEffectTextureBuffer().surface, nullptr);
}
