#include "app/CCameraModes.h"

#include "core/CScreen.h"
#include "document/CEditorDocument.h"
#include "scene/CScene.h"

CCameraModes::CCameraModes(CScreen& screen, CScene& scene) : m_Screen(screen), m_Scene(scene) {}

// Both switches hold the scene lock: a frame in progress points the
// screen's camera through the scene's camera when the free camera is off,
// and must not do so between the flag and the camera being changed.

void CCameraModes::ShowSceneCamera() {
    if (m_SceneCameraShown) {
        return;  // the user camera saved first must not be overwritten
    }
    m_SceneCameraShown = true;
    CSceneLock lock(m_Scene);
    m_Screen.GetCameraPosition(m_SavedEye, m_SavedDirection);
    m_Scene.SetFreeCamera(false);
}

void CCameraModes::ShowUserCamera() {
    if (!m_SceneCameraShown) {
        return;
    }
    m_SceneCameraShown = false;
    CSceneLock lock(m_Scene);
    m_Scene.SetFreeCamera(true);
    m_Screen.SetCamera(m_SavedEye, m_SavedDirection);
}
