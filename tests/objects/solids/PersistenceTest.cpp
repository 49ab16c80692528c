// Saving and loading the solids: every curve point and field comes back, in
// the documented order, and damaged records never read past their end.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "objects/CBoxObject.h"
#include "objects/CCylinderObject.h"
#include "objects/CSphereObject.h"
#include "objects/CTorusObject.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"
#include "scene/CSceneFileException.h"
#include "support/CErrorCapture.h"

namespace {

std::vector<BYTE> Saved(CBaseObject& object) {
    CScene scene;
    CSceneFile file(scene, false, "");
    object.Save(file);
    return file.GetData();
}

bool LoadInto(CBaseObject& object, const std::vector<BYTE>& data) {
    CScene scene;
    CSceneFile file(scene, false, "");
    if (!file.LoadData(data))
        return false;
    return object.Load(file);
}

// Non-default base settings and a second keyframe with other values.
void Customise(CBaseObject& object) {
    object.SetObjName("thing one");
    object.SetPosition(1, 2, 3);
    object.SetRotation(0.5f, 0.25f, 0.125f);
    object.SetPivot(0.1f, 0.2f, 0.3f);
    object.SetDirection(D3DXVECTOR3(4, 5, 6), D3DXVECTOR3(0, 0, 2), D3DXVECTOR3(1, 0, 0));
    object.SetFlatShading(true);
    object.EnableSpecular(true);
    object.SetProjectionMode(PM_SCREEN_OVERLAY);
    object.SetVisible(false);
    object.SetNumberMaterials(2);
    object.SetMaterialPower(7.0f, 1);
    object.SetMaterialIndex(0, -2);     // stored sign-extended
    object.SetMaterialIndex(1, 40000);  // meshes may have more faces than a short holds
    object.SetCurrentKeyFrame(object.AddKeyFrame(2.5f));
    object.SetAlpha(0.75f);
    object.SetScale(1.5f);
    object.SetFillMode(FM_POINT);
    object.SetColor(D3DCOLORVALUE{0.2f, 0.4f, 0.6f, 0.8f}, 0);
    object.SetPosition(-1, -2, -3);
}

}  // namespace

TEST(ObjectPersistence, EverySolidReadsBackWhatItWrote) {
    auto box = std::make_unique<CBoxObject>();
    auto sphere = std::make_unique<CSphereObject>();
    auto cylinder = std::make_unique<CCylinderObject>();
    auto torus = std::make_unique<CTorusObject>();
    Customise(*box);
    box->SetSize(3, 4, 5);
    Customise(*sphere);
    sphere->SetRadius(2.5f);
    sphere->SetStackNumber(17);
    Customise(*cylinder);
    cylinder->SetRadius(0.25f, 0.75f);
    cylinder->SetLength(3.0f);
    cylinder->SetSliceNumber(4);
    Customise(*torus);
    torus->SetRadius(0.3f, 2.0f);
    torus->SetRingNumber(33);

    std::unique_ptr<CBaseObject> copies[] = {std::make_unique<CBoxObject>(), std::make_unique<CSphereObject>(),
                                             std::make_unique<CCylinderObject>(), std::make_unique<CTorusObject>()};
    CBaseObject* originals[] = {box.get(), sphere.get(), cylinder.get(), torus.get()};
    for (int i = 0; i < 4; ++i) {
        const std::vector<BYTE> data = Saved(*originals[i]);
        ASSERT_TRUE(LoadInto(*copies[i], data)) << i;
        // Saving the loaded object again gives the same bytes: every curve
        // point (value, time, identifier, lock flag) and field came back.
        EXPECT_EQ(Saved(*copies[i]), data) << i;
        EXPECT_EQ(copies[i]->GetObjName(), "thing one");
        EXPECT_EQ(copies[i]->GetKeyFrameNumber(), 2);
        EXPECT_EQ(copies[i]->GetKeyFrameTime(1), 2.5f);
        copies[i]->SetCurrentKeyFrame(1);
        EXPECT_EQ(copies[i]->GetAlpha(), 0.75f);
        EXPECT_EQ(copies[i]->GetScale(), 1.5f);
        EXPECT_EQ(copies[i]->GetFillMode(), FM_POINT);
        EXPECT_EQ(copies[i]->GetPosition(), D3DXVECTOR3(3, 3, 3));  // key plus direction origin
        EXPECT_EQ(copies[i]->GetProjectionMode(), PM_SCREEN_OVERLAY);
        EXPECT_FALSE(copies[i]->GetVisible());
        EXPECT_TRUE(copies[i]->GetFlatShading());
        EXPECT_EQ(copies[i]->GetNumberMaterials(), 2);
        EXPECT_EQ(copies[i]->GetMaterialPower(1), 7.0f);
        EXPECT_EQ(copies[i]->GetMaterialIndex(0), -2);
        EXPECT_EQ(copies[i]->GetMaterialIndex(1), 40000);
        EXPECT_EQ(copies[i]->GetPivot(), D3DXVECTOR3(0.1f, 0.2f, 0.3f));
    }
    auto& loadedSphere = static_cast<CSphereObject&>(*copies[1]);
    EXPECT_EQ(loadedSphere.GetRadius(), 2.5f);
    EXPECT_EQ(loadedSphere.GetStackNumber(), 17);
    float x = 0, y = 0, z = 0;
    static_cast<CBoxObject&>(*copies[0]).GetSize(x, y, z);
    EXPECT_EQ(y, 4.0f);
    float r1 = 0, r2 = 0;
    static_cast<CTorusObject&>(*copies[3]).GetRadius(r1, r2);
    EXPECT_FLOAT_EQ(r1, 0.3f);
    EXPECT_EQ(static_cast<CTorusObject&>(*copies[3]).GetRingNumber(), 33);
    EXPECT_EQ(static_cast<CCylinderObject&>(*copies[2]).GetLength(), 3.0f);
}

TEST(ObjectPersistence, BaseFieldsAreStoredInTheirDocumentedOrder) {
    CBoxObject box;
    box.SetFlatShading(true);
    box.SetSelected(true);  // the selection is not stored
    const std::vector<BYTE> data = Saved(box);
    // Three half-extent curves of one key each (9 + 13 bytes), then the five
    // base flags: flat shading, draw texture, specular, own field of view,
    // write on texture.
    const size_t flags = 3 * (9 + 13);
    ASSERT_GT(data.size(), flags + 5);
    EXPECT_EQ(data[flags], 1);
    EXPECT_EQ(data[flags + 1], 0);
    // The record ends with the scale curve, the reference size and the three
    // strings of the root object: description, type and name.
    std::vector<BYTE> expectedTail;
    for (const std::string text : {"Box", "CBoxObject", "No name"}) {
        const BYTE length[4] = {static_cast<BYTE>(text.size()), 0, 0, 0};
        expectedTail.insert(expectedTail.end(), std::begin(length), std::end(length));
        expectedTail.insert(expectedTail.end(), text.begin(), text.end());
    }
    ASSERT_GT(data.size(), expectedTail.size() + 4);
    EXPECT_EQ(std::vector<BYTE>(data.end() - static_cast<std::ptrdiff_t>(expectedTail.size()), data.end()),
              expectedTail);
    float reference = 0;
    std::memcpy(&reference, &data[data.size() - expectedTail.size() - 4], 4);
    EXPECT_EQ(reference, 1.0f);
}

TEST(ObjectPersistence, TruncatedRecordsNeverReadPastTheirEnd) {
    CSphereObject sphere;
    Customise(sphere);
    const std::vector<BYTE> data = Saved(sphere);
    for (size_t cut = 0; cut < data.size(); cut += 7) {
        CSphereObject loaded;
        try {
            LoadInto(loaded, std::vector<BYTE>(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(cut)));
        } catch (const CSceneFileException&) {
            // a count or text running past the end is reported, not read
        }
        EXPECT_GE(loaded.GetNumberMaterials(), 1);
    }
}

TEST(ObjectPersistence, AMissingTextureLeavesTheMaterialWithoutOne) {
    CBoxObject box;
    box.SetTexture("no/such/texture.png", 0);  // no device: only the name is kept
    EXPECT_EQ(box.GetTexture(0), "no/such/texture.png");
    const std::vector<BYTE> data = Saved(box);
    CErrorCapture errors;
    CBoxObject loaded;
    ASSERT_TRUE(LoadInto(loaded, data));  // the plain-mode reader reports the file and goes on
    ASSERT_EQ(errors.Count(), 1u);
    EXPECT_NE(errors.Texts()[0].find("\"no/such/texture.png\""), std::string::npos);
    EXPECT_EQ(loaded.GetTexture(0), "");
    EXPECT_TRUE(loaded.GetTextureState());
}
