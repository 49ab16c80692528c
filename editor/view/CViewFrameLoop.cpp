#include "view/CViewFrameLoop.h"

#include "core/CScreen.h"
#include "document/CEditorDocument.h"
#include "objects/CLight.h"
#include "objects/CPlaneObject.h"
#include "scene/CScene.h"

namespace {

constexpr float kGridSize = 100.0f;
constexpr int kGridCells = 100;
// The plane stands in the x-y plane; a quarter turn of pitch lays it down.
constexpr float kQuarterTurn = 1.5707964f;

void BuildGrid(CPlaneObject& grid) {
    grid.SetSize(kGridSize, kGridSize);
    grid.SetSubdivision(kGridCells, kGridCells);
    grid.SetFillMode(FM_WIREFRAME);
    grid.SetProjectionMode(PM_PERSPECTIVE);
    grid.SetLighting(false);
    grid.SetPosition(0.0f, 0.0f, 0.0f);
    grid.SetRotation(0.0f, kQuarterTurn, 0.0f);
    grid.Init();
}

}  // namespace

CViewFrameLoop::CViewFrameLoop(CScene& scene) : m_Scene(scene) {}

void CViewFrameLoop::Run() {
    CScreen& screen = CScreen::Instance();
    m_Frames = 0;
    screen.SetCamera(0.0f, 0.0f, -12.0f, 0.0f, 0.0f, 1.0f);
    screen.SetAmbientLight(1);

    InitialiseSceneObjects();
    CPlaneObject grid;
    BuildGrid(grid);
    CLight light;
    light.Init();
    light.Enable(1);

    screen.SetCamera(0.0f, 1.0f, -10.0f, 0.0f, 0.0f, 1.0f);
    while (m_Running && screen.IsRunning()) {
        screen.GetTickCount();
        screen.BeginScene(true);
        if (m_GridVisible) {
            grid.Render();
        }
        m_Scene.Render();
        screen.EndScene(true);
        ++m_Frames;
    }
    ReleaseSceneObjects();
    // The light and the grid go with this frame, while the device exists.
}

void CViewFrameLoop::InitialiseSceneObjects() {
    CSceneLock lock(m_Scene);
    const int count = m_Scene.GetObjectNumber();
    for (int index = 0; index < count; ++index) {
        if (CObjects* object = m_Scene.GetObjectA(index)) {
            // CleanUp first keeps an object registered with the screen once.
            object->CleanUp();
            object->Init();
        }
    }
}

void CViewFrameLoop::ReleaseSceneObjects() {
    CSceneLock lock(m_Scene);
    const int count = m_Scene.GetObjectNumber();
    for (int index = 0; index < count; ++index) {
        if (CObjects* object = m_Scene.GetObjectA(index)) {
            object->CleanUp();
        }
    }
}
