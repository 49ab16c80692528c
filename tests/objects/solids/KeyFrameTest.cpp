// Keyframes shared by every curve of an object: adding one keeps the values,
// the plain setters edit the current one, deleting and moving act on every
// curve, and count curves truncate.
#include <gtest/gtest.h>

#include <cstring>

#include "ObjectTestSupport.h"
#include "objects/CBoxObject.h"
#include "objects/CCylinderObject.h"
#include "objects/CSphereObject.h"
#include "objects/CTorusObject.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"
#include "support/CHeadlessDevice.h"

namespace {

std::vector<BYTE> Saved(CBaseObject& object) {
    CScene scene;
    CSceneFile file(scene, false, "");
    object.Save(file);
    return file.GetData();
}

// Distinct values for every keyed property of a box at its current keyframe.
void SetEveryProperty(CBoxObject& box, float base) {
    box.SetPosition(base, base + 1, base + 2);
    box.SetRotation(base + 3, base + 4, base + 5);
    box.SetScale(base + 6);
    box.SetAlpha(0.25f);
    box.SetColor(D3DCOLORVALUE{0.1f, 0.2f, 0.3f, 0.4f}, 0);
    box.SetFillMode(FM_WIREFRAME);
    box.EnableCulling(false);
    box.SetLighting(false);
    box.SetAlwaysFacingCamera(true);
    box.SetSize(base + 7, base + 8, base + 9);
}

}  // namespace

TEST(ObjectKeyFrames, NewObjectsStartWithOneKeyAtTimeZeroInEveryCurve) {
    CBoxObject box;
    EXPECT_EQ(box.GetKeyFrameNumber(), 1);
    EXPECT_EQ(box.GetKeyFrameTime(0), 0.0f);
    EXPECT_EQ(box.GetKeyFrameID(0), 0);
    EXPECT_EQ(box.GetCurrentKeyFrame(), 0);
    EXPECT_EQ(box.GetAlpha(), 1.0f);
    EXPECT_EQ(box.GetScale(), 1.0f);
    EXPECT_EQ(box.GetFillMode(), FM_SOLID);
    EXPECT_TRUE(box.GetCulling());
    EXPECT_TRUE(box.GetLighting());
    EXPECT_FALSE(box.GetAlwaysFacingCamera());
    EXPECT_EQ(box.GetDiffuseColor(0).r, 0.5f);
    EXPECT_EQ(box.GetDiffuseColor(0).a, 1.0f);
    EXPECT_EQ(box.GetMaterial(0).Emissive.g, 0.5f);
    EXPECT_EQ(box.GetMaterialPower(0), 0.5f);
    EXPECT_EQ(box.GetProjectionMode(), PM_PERSPECTIVE);
    EXPECT_TRUE(box.GetVisible());
    // The first keyframe added to a new object gets identifier 1 in every curve.
    EXPECT_EQ(box.AddKeyFrame(3.0f), 1);
    EXPECT_EQ(box.GetKeyFrameNumber(), 2);
}

TEST(ObjectKeyFrames, AddingAKeyFrameKeepsEveryValueAtItsTime) {
    CBoxObject box;
    SetEveryProperty(box, 1.0f);
    const int id = box.AddKeyFrame(2.0f);
    box.SetCurrentKeyFrame(id);
    EXPECT_EQ(box.GetCurrentKeyFrame(), id);
    EXPECT_EQ(box.GetPosition(), D3DXVECTOR3(1, 2, 3));
    EXPECT_EQ(box.GetRotation(), D3DXVECTOR3(4, 5, 6));
    EXPECT_EQ(box.GetScale(), 7.0f);
    EXPECT_EQ(box.GetAlpha(), 0.25f);
    EXPECT_FLOAT_EQ(box.GetDiffuseColor(0).b, 0.3f);
    EXPECT_EQ(box.GetFillMode(), FM_WIREFRAME);
    EXPECT_FALSE(box.GetCulling());
    EXPECT_FALSE(box.GetLighting());
    EXPECT_TRUE(box.GetAlwaysFacingCamera());
    float x = 0, y = 0, z = 0;
    box.GetSize(x, y, z);
    EXPECT_EQ(x, 8.0f);
    EXPECT_EQ(z, 10.0f);

    // Setters now edit the new key only.
    box.SetPosition(D3DXVECTOR3(9, 9, 9));
    EXPECT_NEAR(box.GetCurrentPosition(2.5f).x, 9.0f, 0.01f);  // after the last key
    EXPECT_EQ(box.GetCurrentPosition(0.0f), D3DXVECTOR3(1, 2, 3));
    const D3DXVECTOR3 between = box.GetCurrentPosition(1.0f);
    EXPECT_GT(between.x, 1.0f);
    EXPECT_LT(between.x, 9.0f);
    box.SetCurrentKeyFrame(0);
    EXPECT_EQ(box.GetPosition(), D3DXVECTOR3(1, 2, 3));

    // The position getter adds the direction frame's origin.
    box.SetDirection(D3DXVECTOR3(10, 0, 0), D3DXVECTOR3(0, 0, 1));
    EXPECT_EQ(box.GetPosition(), D3DXVECTOR3(11, 2, 3));
}

TEST(ObjectKeyFrames, DeleteAndMoveActOnEveryCurve) {
    // Every curve holds one key more after AddKeyFrame and one less after
    // DeleteKeyFrame: the stored record shows each of a box's 19 curves.
    CBoxObject box;
    const size_t plain = Saved(box).size();
    const int id = box.AddKeyFrame(1.0f);
    EXPECT_EQ(Saved(box).size(), plain + 19 * CInterpolation::kKeyBytes);
    box.DeleteKeyFrame(id);
    EXPECT_EQ(Saved(box).size(), plain);
    EXPECT_EQ(box.GetKeyFrameNumber(), 1);

    // Moving a key gives the same curves as adding it at the new time.
    CBoxObject moved, direct;
    moved.SetCurrentKeyFrame(moved.AddKeyFrame(2.0f));
    SetEveryProperty(moved, 3.0f);
    moved.MoveKeyFrame(1, 4.0f);
    direct.SetCurrentKeyFrame(direct.AddKeyFrame(4.0f));
    SetEveryProperty(direct, 3.0f);
    EXPECT_EQ(Saved(moved), Saved(direct));
    EXPECT_EQ(moved.GetKeyFrameTime(1), 4.0f);

    // The same for the other solids' shape curves.
    CSphereObject sphere, sphereDirect;
    sphere.SetCurrentKeyFrame(sphere.AddKeyFrame(1.0f));
    sphere.SetSliceNumber(5);
    sphere.MoveKeyFrame(1, 6.0f);
    sphereDirect.SetCurrentKeyFrame(sphereDirect.AddKeyFrame(6.0f));
    sphereDirect.SetSliceNumber(5);
    EXPECT_EQ(Saved(sphere), Saved(sphereDirect));

    CCylinderObject cylinder;
    const size_t cylinderPlain = Saved(cylinder).size();
    cylinder.DeleteKeyFrame(cylinder.AddKeyFrame(1.0f));
    EXPECT_EQ(Saved(cylinder).size(), cylinderPlain);
    const int cylinderKey = cylinder.AddKeyFrame(1.0f);
    EXPECT_EQ(Saved(cylinder).size(), cylinderPlain + 21 * CInterpolation::kKeyBytes);
    cylinder.DeleteKeyFrame(cylinderKey);

    CTorusObject torus;
    const size_t torusPlain = Saved(torus).size();
    torus.AddKeyFrame(1.0f);
    EXPECT_EQ(Saved(torus).size(), torusPlain + 20 * CInterpolation::kKeyBytes);
}

TEST(ObjectKeyFrames, CountCurvesTruncateTowardZero) {
    CHeadlessDevice device;
    ASSERT_TRUE(device.Valid());
    // The slice-count curve is the first thing a sphere stores: loop flag,
    // mode, key count, then the first key's value at byte 9.
    CSphereObject source;
    std::vector<BYTE> data = Saved(source);
    const float keyed = 7.9f;
    std::memcpy(&data[9], &keyed, sizeof keyed);

    CScene scene;
    CSceneFile file(scene, false, "");
    ASSERT_TRUE(file.LoadData(data));
    CTestable<CSphereObject> sphere;
    ASSERT_TRUE(sphere.Load(file));
    EXPECT_EQ(sphere.GetSliceNumber(), 7);
    sphere.BuildOn(device.Get());
    EXPECT_EQ(sphere.GetNumberVertices(), 11 * 8);
    EXPECT_EQ(sphere.GetNumberFaces(), 2 * 10 * 7);
}

TEST(ObjectKeyFrames, IndexAccessorsStayInsideTheirArrays) {
    CBoxObject box;
    box.SetNumberMaterials(2);
    EXPECT_EQ(box.GetNumberMaterials(), 2);
    box.SetMaterialPower(3.0f, 1);
    box.SetMaterialPower(9.0f, 2);   // ignored
    box.SetMaterialPower(9.0f, -1);  // ignored
    EXPECT_EQ(box.GetMaterialPower(1), 3.0f);
    EXPECT_EQ(box.GetMaterialPower(5), 3.0f);  // clamped to the last material
    EXPECT_EQ(&box.GetMaterial(-4), &box.GetMaterial(0));
    box.SetMaterialIndex(1, 12);
    box.SetMaterialIndex(7, 99);
    EXPECT_EQ(box.GetMaterialIndex(1), 12);
    box.SetColor(D3DCOLORVALUE{1, 0, 0, 1}, 9);  // writes the colour key, no material
    EXPECT_EQ(box.GetDiffuseColor(9).r, 1.0f);
    EXPECT_EQ(box.GetMaterial(1).Diffuse.r, 0.5f);
    box.SetTexture("anything.png", 4);
    EXPECT_EQ(box.GetTexture(4), "");
    EXPECT_EQ(box.GetTexture(-1), "");
    EXPECT_EQ(box.GetTextureBuffer(3).texture, nullptr);
    int w = 0, h = 0, pitch = 0;
    EXPECT_EQ(box.LockTexture(w, h, pitch, 6), nullptr);
    box.UnlockTexture(6);
    box.SetTextureColorBlendingOperation(D3DTOP_ADD, 2);  // only stages 0 and 1 exist
    box.SetNumberMaterials(0);
    EXPECT_EQ(box.GetNumberMaterials(), 1);
}

TEST(ObjectKeyFrames, MaterialSettersFollowTheAlphaOfTheCurrentKey) {
    CBoxObject box;
    box.SetAlpha(0.5f);
    EXPECT_EQ(box.GetMaterial(0).Diffuse.a, 0.5f);
    EXPECT_EQ(box.GetMaterial(0).Emissive.a, 0.5f);
    box.SetAmbientColor(D3DCOLORVALUE{0.1f, 0.2f, 0.3f, 1.0f}, 0);
    EXPECT_EQ(box.GetAmbientColor(0).g, 0.2f);
    EXPECT_EQ(box.GetAmbientColor(0).a, 0.5f);
    D3DMATERIAL8 material{};
    material.Diffuse = D3DCOLORVALUE{0.0f, 1.0f, 0.0f, 1.0f};
    material.Specular = D3DCOLORVALUE{0.7f, 0.7f, 0.7f, 1.0f};
    material.Power = 8.0f;
    box.SetMaterial(material, 0);
    EXPECT_EQ(box.GetDiffuseColor(0).g, 1.0f);  // the colour key follows the diffuse colour
    EXPECT_EQ(box.GetSpecularColor(0).r, 0.7f);
    EXPECT_EQ(box.GetSpecularColor(0).a, 0.5f);
    EXPECT_EQ(box.GetMaterialPower(0), 8.0f);
}
