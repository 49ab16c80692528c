#pragma once
// The two ways the 3D view looks at the scene. The user camera (the start)
// is the screen's own camera, steered with the mouse; the scene camera
// shows the scene through its camera trajectories, as the player will. The
// user camera's place is kept while the scene camera is shown and given
// back exactly when the user camera returns.
//
// User-interface thread only.

#include "platform/d3dx/d3dx8math.h"

class CScene;
class CScreen;

class CCameraModes {
public:
    CCameraModes(CScreen& screen, CScene& scene);

    // Remembers the user camera and lets the scene's cameras drive the view.
    void ShowSceneCamera();
    // Puts the user camera back where it was and gives it the view again.
    // Nothing changes while the user camera is shown already.
    void ShowUserCamera();

    bool IsSceneCameraShown() const { return m_SceneCameraShown; }
    // Mouse navigation is for the user camera only.
    bool IsNavigationAllowed() const { return !m_SceneCameraShown; }

private:
    CScreen& m_Screen;
    CScene& m_Scene;
    bool m_SceneCameraShown = false;
    D3DXVECTOR3 m_SavedEye{0.0f, 1.0f, -10.0f};
    D3DXVECTOR3 m_SavedDirection{0.0f, 0.0f, 1.0f};
};
