#pragma once
// The scene of the end-to-end tests: a red box straight ahead of a camera
// trajectory, on a blue background, so that the middle of every frame is red
// and the corners blue. Header only.

#include <string>

#include "animation/CCameraTrajectoryObject.h"
#include "core/CScreen.h"
#include "objects/CBoxObject.h"
#include "scene/CScene.h"

namespace lvxtest {

constexpr const char* kBoxName = "Test box";
constexpr const char* kCameraName = "Test camera";

// A camera trajectory 6 units in front of the origin, looking at it.
inline void AddCameraLookingAtTheOrigin(CScene& scene) {
    auto* camera = new CCameraTrajectoryObject();
    camera->SetObjName(kCameraName);
    camera->SetScene(scene);
    camera->Init();
    camera->SetOrientation(OR_LOOK_AT_POSITION);
    camera->SetCurrentKeyFrame(camera->GetKeyFrameID(0));
    camera->SetPosition(D3DXVECTOR3(0.0f, 0.0f, -6.0f));
    camera->SetLookAtPosition(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
    camera->SetWeight(1);
    scene.AddObject(*camera);
}

// Saves the scene as a plain scene file; false when the file cannot be written.
inline bool WriteRedBoxScene(const std::string& path, float totalTime = 4.0f) {
    CScreen& screen = CScreen::Instance();
    screen.SetBackgroundColor(D3DCOLORVALUE{0.0f, 0.0f, 1.0f, 1.0f});
    screen.EnableFog(false);
    screen.SetTotalTime(totalTime);
    screen.SetLoop(true);

    CScene scene;
    auto* box = new CBoxObject();
    box->SetObjName(kBoxName);
    box->SetScene(scene);
    box->Init();
    box->SetCurrentKeyFrame(box->GetKeyFrameID(0));
    box->SetSize(2.0f, 2.0f, 2.0f);
    box->SetPosition(0.0f, 0.0f, 0.0f);
    box->SetColor(D3DCOLORVALUE{1.0f, 0.0f, 0.0f, 1.0f}, 0);
    // A second key, so that the file holds an animation to report.
    box->SetCurrentKeyFrame(box->AddKeyFrame(2.0f));
    box->SetRotation(0.0f, 0.0f, 0.5f);
    scene.AddObject(*box);

    AddCameraLookingAtTheOrigin(scene);
    return scene.Save(path, false);
}

}  // namespace lvxtest
