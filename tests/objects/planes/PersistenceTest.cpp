// Saving and loading planes, terrains and bitmap-font texts: every curve and
// field comes back, in the order the scene file holds them.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "PlaneTestSupport.h"
#include "objects/CBmpFonts.h"
#include "objects/CHeightMapObject.h"
#include "objects/CPlaneObject.h"
#include "scene/CObjectFactory.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"
#include "support/CErrorCapture.h"

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
    if (!file.LoadData(data))
        return false;
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

TEST(PlanePersistence, TerrainKeepsAmplitudeAndHeightFileName) {
    const auto heights = CTempFolder::EnterPrivateWorkingFolder() / "terrain.raw";
    planetest::WriteBytes(heights, std::vector<unsigned char>(10000, 7));
    CHeightMapObject terrain;
    terrain.SetMaxAmplitude(32.5f);
    terrain.SetHeightMapFilename(heights.string());
    terrain.SetSubdivision(5, 5);  // Init sets 99 x 99 again; the stored value is what was set
    const std::vector<BYTE> data = Saved(terrain);
    // The amplitude leads the record, then the file reference.
    float amplitude = 0;
    std::memcpy(&amplitude, data.data(), sizeof(amplitude));
    EXPECT_EQ(amplitude, 32.5f);

    CHeightMapObject copy;
    ASSERT_TRUE(LoadInto(copy, data));
    EXPECT_EQ(copy.GetMaxAmplitude(), 32.5f);
    EXPECT_EQ(copy.GetHeightMapFilename(), heights.string());
    EXPECT_EQ(Saved(copy), data);

    // A height file that is gone by the time a plain scene loads leaves the
    // terrain without one; the rest of the record still loads.
    std::filesystem::remove(heights);
    CErrorCapture errors;
    CHeightMapObject withoutFile;
    ASSERT_TRUE(LoadInto(withoutFile, data));
    EXPECT_EQ(withoutFile.GetHeightMapFilename(), "");
    EXPECT_EQ(withoutFile.GetMaxAmplitude(), 32.5f);
    float width = 0, height = 0;
    withoutFile.GetSize(width, height);
    EXPECT_EQ(width, 1.0f);
    EXPECT_EQ(errors.Count(), 1u);
}

TEST(PlanePersistence, FontKeepsTextZoomAndFont) {
    const auto folder = CTempFolder::EnterPrivateWorkingFolder() / "savedfont";
    std::filesystem::create_directories(folder);
    const std::string descriptor = "A 0,0 0.5,0.5\n";
    planetest::WriteBytes(folder / "saved.bnf", std::vector<unsigned char>(descriptor.begin(), descriptor.end()));
    planetest::WriteBandedBmp(folder / "saved.png", 4, 4, {0xFFFFFF});
    CBmpFonts font;
    font.SetTexture((folder / "saved.png").string(), 0);
    font.SetText("first words");
    font.SetCurrentKeyFrame(font.AddKeyFrame(3.0f));
    font.SetText("later words");
    font.SetZoomFactor(2.0f, 0.5f);
    const std::vector<BYTE> data = Saved(font);

    CBmpFonts copy;
    ASSERT_TRUE(LoadInto(copy, data));
    ASSERT_EQ(copy.GetKeyFrameNumber(), 2);
    copy.SetCurrentKeyFrame(copy.GetKeyFrameID(0));
    EXPECT_EQ(copy.GetText(), "first words");
    float x = 0, y = 0;
    copy.GetZoomFactor(x, y);
    EXPECT_EQ(x, 1.0f);
    EXPECT_EQ(y, 1.5f);
    copy.SetCurrentKeyFrame(copy.GetKeyFrameID(1));
    EXPECT_EQ(copy.GetText(), "later words");
    copy.GetZoomFactor(x, y);
    EXPECT_EQ(x, 2.0f);
    EXPECT_EQ(y, 0.5f);
    EXPECT_EQ(copy.GetTexture(0), (folder / "saved.png").string());
    EXPECT_EQ(Saved(copy), data);

    // Deleting and moving keyframes reach the text and zoom curves.
    copy.MoveKeyFrame(copy.GetKeyFrameID(1), 5.0f);
    EXPECT_EQ(copy.GetKeyFrameTime(1), 5.0f);
    copy.DeleteKeyFrame(copy.GetKeyFrameID(0));
    copy.SetCurrentKeyFrame(copy.GetKeyFrameID(0));
    EXPECT_EQ(copy.GetText(), "later words");
}

TEST(PlanePersistence, FontWithoutTextureStoresNoDescriptorName) {
    CBmpFonts font;
    const std::vector<BYTE> data = Saved(font);
    // No "bnf" that a plain load would look for and report missing.
    const std::string bytes(data.begin(), data.end());
    EXPECT_EQ(bytes.find("bnf"), std::string::npos);
    CErrorCapture errors;
    CBmpFonts copy;
    ASSERT_TRUE(LoadInto(copy, data));
    EXPECT_EQ(errors.Count(), 0u);
    EXPECT_EQ(copy.GetText(), "Sample Text...");
}

TEST(PlanePersistence, FactoryCreatesTheStorableTypes) {
    for (const char* type : {"CPlaneObject", "CHeightMapObject", "CBmpFonts"}) {
        std::unique_ptr<CObjects> object(CObjectFactory::Get(type));
        ASSERT_NE(object, nullptr) << type;
        EXPECT_TRUE(object->IsBaseObject());
    }
}
