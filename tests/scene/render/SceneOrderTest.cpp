// The order a scene draws its objects in, the camera it chooses each frame,
// the selection outline, and what removing and emptying do to trajectories
// and the screen's settings. Drawing needs no device here: the objects
// record when they are asked to draw.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "core/CScreen.h"
#include "objects/CBoxObject.h"
#include "scene/CScene.h"
#include "support/CTempFolder.h"

using ::testing::ElementsAre;

namespace {

using CDrawLog = std::vector<std::string>;

// A box that notes each draw: its name, with "*" while drawn selected.
class CLoggedBox : public CBoxObject {
public:
    CLoggedBox(const char* name, CDrawLog& log) : m_log(log) { SetObjName(name); }
    void Render() override {
        m_log.push_back(GetObjName() + (GetSelected() ? "*" : ""));
        if (GetSelected()) {
            EXPECT_EQ(GetZBias(), 1);
        }
        CBoxObject::Render();
    }

private:
    CDrawLog& m_log;
};

// An object that is not a base object.
class CLoggedObject : public CObjects {
public:
    CLoggedObject(const char* name, CDrawLog& log) : m_log(log) { SetObjName(name); }
    void Render() override { m_log.push_back(GetObjName()); }

private:
    CDrawLog& m_log;
};

CCameraTrajectoryObject* NewCamera(const char* name, int weight) {
    auto* camera = new CCameraTrajectoryObject();
    camera->SetObjName(name);
    camera->SetWeight(weight);
    return camera;
}

std::vector<std::string> ListOrder(CScene& scene) {
    std::vector<std::string> names;
    for (int i = 0; i < scene.GetObjectNumber(); ++i)
        names.push_back(scene.GetObjectA(i)->GetObjName());
    return names;
}

class SceneOrder : public ::testing::Test {
protected:
    void SetUp() override {
        CTempFolder::EnterPrivateWorkingFolder();
        CScreen::Instance().SetTime(0.0f);
    }
    CDrawLog log;
};

}  // namespace

TEST_F(SceneOrder, WithoutCameraTrajectoriesTheNewestIsDrawnFirstAndNothingMoves) {
    CScene scene;
    auto* transparent = new CLoggedBox("transparent", log);
    transparent->SetAlpha(0.5f);
    auto* overlay = new CLoggedBox("overlay", log);
    overlay->SetProjectionMode(PM_SCREEN_OVERLAY);
    scene.AddObject(*transparent);
    scene.AddObject(*overlay);
    scene.AddObject(*new CLoggedObject("plain", log));
    scene.AddObject(*new CLoggedBox("opaque", log));
    scene.Render();
    scene.Render();
    EXPECT_THAT(log,
                ElementsAre("opaque", "plain", "overlay", "transparent", "opaque", "plain", "overlay", "transparent"));
    EXPECT_THAT(ListOrder(scene), ElementsAre("opaque", "plain", "overlay", "transparent"));
    EXPECT_EQ(scene.GetCurrentCamera(), nullptr);
}

TEST_F(SceneOrder, TransparentObjectsGoLastFarthestFirstWithOverlaysBetween) {
    CScene scene;
    scene.SetFreeCamera(false);
    CCameraTrajectoryObject* camera = NewCamera("camera", 1);
    camera->SetPosition(D3DXVECTOR3(0.0f, 0.0f, -10.0f));
    scene.AddObject(*camera);

    auto* nearGlass = new CLoggedBox("near glass", log);
    nearGlass->SetAlpha(0.999f);  // anything but exactly 1 counts as transparent
    auto* farGlass = new CLoggedBox("far glass", log);
    farGlass->SetAlpha(0.5f);
    farGlass->SetPosition(0.0f, 0.0f, 20.0f);
    auto* backOverlay = new CLoggedBox("back overlay", log);
    backOverlay->SetProjectionMode(PM_PIXEL_OVERLAY);
    backOverlay->SetPosition(0.0f, 0.0f, 50.0f);
    auto* frontOverlay = new CLoggedBox("front overlay", log);
    frontOverlay->SetProjectionMode(PM_SCREEN_OVERLAY);
    frontOverlay->SetPosition(0.0f, 0.0f, 5.0f);
    scene.AddObject(*nearGlass);
    scene.AddObject(*new CLoggedBox("solid 1", log));
    scene.AddObject(*new CLoggedObject("plain", log));
    scene.AddObject(*frontOverlay);
    scene.AddObject(*farGlass);
    scene.AddObject(*backOverlay);
    scene.AddObject(*new CLoggedBox("solid 2", log));

    scene.Render();
    const std::vector<std::string> expected = {"solid 2",   "solid 1",    "back overlay", "front overlay",
                                               "far glass", "near glass", "plain",        "camera"};
    EXPECT_EQ(ListOrder(scene), expected);
    EXPECT_THAT(log,
                ElementsAre("solid 2", "solid 1", "back overlay", "front overlay", "far glass", "near glass", "plain"));
    EXPECT_EQ(scene.GetCurrentCamera(), camera);

    // The eye moves to the other side: the glasses swap, nothing else moves.
    camera->SetPosition(D3DXVECTOR3(0.0f, 0.0f, 30.0f));
    scene.Render();
    std::vector<std::string> swapped = expected;
    std::swap(swapped[4], swapped[5]);
    EXPECT_EQ(ListOrder(scene), swapped);
    EXPECT_EQ(scene.GetObjectNumber(), 8);
}

TEST_F(SceneOrder, TheFirstCameraWithTheGreatestWeightIsCurrent) {
    CScene scene;
    CCameraTrajectoryObject* low = NewCamera("low", -1);
    CCameraTrajectoryObject* first = NewCamera("first", -1);
    CCameraTrajectoryObject* second = NewCamera("second", -1);
    scene.AddObject(*low);
    scene.AddObject(*first);
    scene.AddObject(*second);
    EXPECT_EQ(scene.GetCameraNumber(), 3);
    EXPECT_EQ(scene.GetCamera(0), low);
    EXPECT_EQ(scene.GetCamera(3), nullptr);

    scene.Render();
    EXPECT_EQ(scene.GetCurrentCamera(), low);  // every weight -1: the first camera

    low->SetWeight(-5);
    first->SetWeight(2);
    second->SetWeight(2);
    scene.Render();
    EXPECT_EQ(scene.GetCurrentCamera(), first);  // a tie keeps the earlier camera

    second->SetWeight(3);
    scene.Render();
    EXPECT_EQ(scene.GetCurrentCamera(), second);

    // Weights are keyed: the camera switches at 99 % of the segment.
    second->SetCurrentKeyFrame(second->AddKeyFrame(10.0f));
    second->SetWeight(0);
    CScreen::Instance().SetTime(9.85f);
    scene.Render();
    EXPECT_EQ(scene.GetCurrentCamera(), second);
    CScreen::Instance().SetTime(9.95f);
    scene.Render();
    EXPECT_EQ(scene.GetCurrentCamera(), first);

    scene.RemoveObject("first");
    EXPECT_EQ(scene.GetCurrentCamera(), nullptr);
    scene.Render();
    EXPECT_EQ(scene.GetCurrentCamera(), second);  // weight 0 beats -5
}

TEST_F(SceneOrder, CamerasAreShownOnlyWithTheFreeCameraAndDriveTheViewWithout) {
    CScreen& screen = CScreen::Instance();
    CScene scene;
    CCameraTrajectoryObject* camera = NewCamera("camera", 1);
    camera->SetPosition(D3DXVECTOR3(1.0f, 2.0f, 3.0f));
    camera->SetZoom(3.0f);
    scene.AddObject(*camera);

    screen.SetCamera(D3DXVECTOR3(0, 0, -5), D3DXVECTOR3(0, 0, 1));
    screen.SetFieldOfView(1.2f);
    scene.Render();  // free camera: the screen keeps its camera, the view is reset
    EXPECT_TRUE(camera->GetDisplayCamera());
    EXPECT_FLOAT_EQ(screen.GetFieldOfView(), D3DX_PI / 4.0f);
    D3DXVECTOR3 eye, direction;
    screen.GetCameraPosition(eye, direction);
    EXPECT_EQ(eye, D3DXVECTOR3(0, 0, -5));

    scene.SetFreeCamera(false);
    scene.Render();
    EXPECT_FALSE(camera->GetDisplayCamera());
    EXPECT_FLOAT_EQ(screen.GetFieldOfView(), 0.7853982f - 0.3f + 0.1f);
    screen.GetCameraPosition(eye, direction);
    EXPECT_EQ(eye, D3DXVECTOR3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(direction, D3DXVECTOR3(0.0f, 0.0f, 1.0f));
    screen.ResetFieldOfView();
}

TEST_F(SceneOrder, TheSelectedBaseObjectIsDrawnAgainAsOutline) {
    CScene scene;
    scene.AddObject(*new CLoggedBox("box", log));
    scene.AddObject(*new CLoggedObject("plain", log));
    scene.AddObject(*new CLoggedBox("other", log));
    scene.SetSelected("box");
    scene.Render();
    scene.SetSelected("plain");  // not a base object: no outline
    scene.Render();
    EXPECT_THAT(log, ElementsAre("other", "plain", "box", "box*", "other", "plain", "box"));
    auto* box = static_cast<CBaseObject*>(scene.GetObjectA(CString("box")));
    EXPECT_FALSE(box->GetSelected());
    EXPECT_EQ(box->GetZBias(), 0);
}

TEST_F(SceneOrder, RemovingAnObjectClearsTheTrajectoriesThatPointAtIt) {
    CScene scene;
    auto* carried = new CBoxObject();
    carried->SetObjName("carried");
    auto* target = new CBoxObject();
    target->SetObjName("target");
    auto* trajectory = new CTrajectoryObject();
    trajectory->SetAssignedObject(carried);
    trajectory->SetLookAtObject(target);
    CCameraTrajectoryObject* camera = NewCamera("camera", 0);
    camera->SetLookAtObject(target);
    scene.AddObject(*carried);
    scene.AddObject(*target);
    scene.AddObject(*trajectory);
    scene.AddObject(*camera);

    scene.RemoveObject("carried");
    EXPECT_EQ(trajectory->GetAssignedObject(), nullptr);
    EXPECT_EQ(trajectory->GetLookAtObject(), target);
    scene.RemoveObject("target");
    EXPECT_EQ(trajectory->GetLookAtObject(), nullptr);
    EXPECT_EQ(camera->GetLookAtObject(), nullptr);
    scene.Render();  // nothing dangles
    EXPECT_EQ(scene.GetObjectNumber(), 2);
}

TEST_F(SceneOrder, CleanUpEmptiesTheSceneAndResetsOnlyTheFogShape) {
    CScreen& screen = CScreen::Instance();
    screen.SetFogDensity(0.25f);
    screen.SetBackgroundColor(D3DCOLORVALUE{0.0f, 0.0f, 1.0f, 1.0f});
    screen.SetTotalTime(42.0f);
    screen.SetLoop(false);
    screen.EnableFog(true);
    screen.SetFogStart(1.0f);
    screen.SetFogEnd(2.0f);
    screen.SetFogColor(D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f});

    int before = screen.GetRegisteredObjectNumber();
    {
        CScene scene;
        auto* box = new CBoxObject();
        box->Init();
        scene.AddObject(*box);
        scene.AddObject(*NewCamera("camera", 0));
        scene.EnableSkyBox(true);
        scene.EnableBackgroundImage(true);
        scene.GetSkyBox().SetTopPicture("sky.png");
        scene.Render();
        EXPECT_NE(scene.GetCurrentCamera(), nullptr);

        scene.CleanUp();
        EXPECT_EQ(scene.GetObjectNumber(), 0);
        EXPECT_EQ(scene.GetCameraNumber(), 0);
        EXPECT_EQ(scene.GetCurrentCamera(), nullptr);
        EXPECT_FALSE(scene.HasSkyBox());
        EXPECT_FALSE(scene.GetSkyBox().GetVisible());
        EXPECT_FALSE(scene.HasBackgroundImage());
        EXPECT_FALSE(scene.GetBackgroundImage().GetVisible());
        EXPECT_EQ(scene.GetSkyBox().GetTopPicture(), "");
    }
    EXPECT_EQ(screen.GetRegisteredObjectNumber(), before);
    EXPECT_FALSE(screen.IsFogEnabled());
    EXPECT_FLOAT_EQ(screen.GetFogStart(), 10.0f);
    EXPECT_FLOAT_EQ(screen.GetFogEnd(), 20.0f);
    const D3DCOLORVALUE fog = screen.GetFogColor();
    EXPECT_EQ(fog.r + fog.g + fog.b, 0.0f);
    EXPECT_FLOAT_EQ(screen.GetFogDensity(), 0.25f);
    EXPECT_EQ(screen.GetBackgroundColorARGB(), 0xFF0000FFu);
    EXPECT_FLOAT_EQ(screen.GetTotalTime(), 42.0f);
    EXPECT_FALSE(screen.IsLoop());
    screen.SetLoop(true);
    screen.SetTotalTime(60.0f);
}
