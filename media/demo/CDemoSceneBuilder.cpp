#include "CDemoSceneBuilder.h"

#include <cmath>
#include <filesystem>

#include "CDemoAssets.h"
#include "animation/CCameraTrajectoryObject.h"
#include "core/CScreen.h"
#include "objects/CBmpFonts.h"
#include "objects/CBoxObject.h"
#include "objects/CCylinderObject.h"
#include "objects/CHeightMapObject.h"
#include "objects/CPlaneObject.h"
#include "objects/CSphereObject.h"
#include "objects/CTorusObject.h"
#include "scene/CScene.h"

namespace {

constexpr float kPi = 3.14159265f;

const char* const kSkyFaces[] = {"top", "bottom", "front", "back", "left", "right"};

std::string SkyPicture(const std::string& face) {
    return "sky_" + face + ".png";
}

D3DCOLORVALUE Color(float r, float g, float b, float a = 1.0f) {
    return D3DCOLORVALUE{r, g, b, a};
}

// Makes the key at time current (the first key for time 0, which every
// object is born with) so that the plain setters write that key.
template <class TObject>
void KeyAt(TObject& object, float time) {
    if (time == 0.0f) {
        object.SetCurrentKeyFrame(object.GetKeyFrameID(0));
    } else {
        object.SetCurrentKeyFrame(object.AddKeyFrame(time));
    }
}

// Objects learn their type name in Init, which the editor runs when it
// creates them; the scene file stores each record under that name.
void Add(CScene& scene, CObjects& object) {
    object.SetScene(scene);
    object.Init();
    scene.AddObject(object);
}

void AddTerrain(CScene& scene) {
    auto* terrain = new CHeightMapObject();
    terrain->SetObjName("Hills");
    KeyAt(*terrain, 0.0f);
    // The clearing lies at y = -1, the hill tops up to 7 units higher.
    terrain->SetPosition(0.0f, -1.0f, 0.0f);
    terrain->SetMaxAmplitude(7.0f);
    terrain->SetHeightMapFilename("terrain.raw");
    terrain->SetTexture("terrain.png", 0);
    Add(scene, *terrain);
}

void AddCube(CScene& scene) {
    auto* cube = new CBoxObject();
    cube->SetObjName("Red cube");
    const float times[] = {0.0f, 10.0f, 20.0f};
    const D3DCOLORVALUE colors[] = {Color(0.9f, 0.1f, 0.1f), Color(1.0f, 0.55f, 0.05f), Color(0.9f, 0.1f, 0.1f)};
    const float scales[] = {1.0f, 1.4f, 1.0f};
    for (int i = 0; i < 3; ++i) {
        KeyAt(*cube, times[i]);
        cube->SetSize(2.0f, 2.0f, 2.0f);
        cube->SetPosition(0.0f, 2.0f, 0.0f);
        cube->SetRotation(kPi * static_cast<float>(i), kPi * 0.5f * static_cast<float>(i), 0.0f);
        cube->SetColor(colors[i], 0);
        cube->SetScale(scales[i]);
    }
    Add(scene, *cube);
}

void AddSphere(CScene& scene) {
    auto* sphere = new CSphereObject();
    sphere->SetObjName("Glass sphere");
    sphere->SetRadius(1.0f);
    const D3DCOLORVALUE colors[] = {Color(0.15f, 0.35f, 1.0f), Color(0.1f, 0.9f, 0.9f), Color(0.9f, 0.2f, 0.9f),
                                    Color(0.1f, 0.9f, 0.9f), Color(0.15f, 0.35f, 1.0f)};
    for (int i = 0; i <= 4; ++i) {
        const float time = 5.0f * static_cast<float>(i);
        const float angle = 2.0f * kPi * static_cast<float>(i) / 4.0f;
        KeyAt(*sphere, time);
        sphere->SetPosition(6.0f * std::cos(angle), 2.5f + (i % 2 == 1 ? 1.5f : 0.0f), 6.0f * std::sin(angle));
        sphere->SetColor(colors[i], 0);
        sphere->SetAlpha(i % 2 == 1 ? 0.45f : 1.0f);
        sphere->SetScale(i % 2 == 1 ? 1.6f : 1.0f);
    }
    Add(scene, *sphere);
}

void AddTorus(CScene& scene) {
    auto* torus = new CTorusObject();
    torus->SetObjName("Gold torus");
    for (int i = 0; i <= 2; ++i) {
        KeyAt(*torus, 10.0f * static_cast<float>(i));
        torus->SetRadius(0.35f, 1.6f);
        torus->SetPosition(0.0f, 5.5f, 0.0f);
        torus->SetRotation(0.0f, kPi * 0.5f + kPi * static_cast<float>(i), kPi * 2.0f * static_cast<float>(i));
        torus->SetColor(Color(1.0f, 0.8f, 0.25f), 0);
        torus->SetScale(i == 1 ? 0.6f : 1.0f);
    }
    Add(scene, *torus);
}

void AddPillar(CScene& scene) {
    auto* pillar = new CCylinderObject();
    pillar->SetObjName("Green pillar");
    for (int i = 0; i <= 1; ++i) {
        KeyAt(*pillar, 20.0f * static_cast<float>(i));
        pillar->SetRadius(0.7f, 0.4f);
        pillar->SetLength(4.0f);
        // Several rings along its length, so that the light shades it evenly.
        pillar->SetSliceNumber(6);
        pillar->SetStackNumber(24);
        pillar->SetPosition(-7.0f, 1.5f, 5.0f);
        pillar->SetRotation(kPi * 2.0f * static_cast<float>(i), kPi * 0.5f, 0.0f);
        pillar->SetColor(Color(0.2f, 0.8f, 0.35f), 0);
    }
    Add(scene, *pillar);
}

void AddBanner(CScene& scene) {
    auto* banner = new CPlaneObject();
    banner->SetObjName("Banner");
    banner->SetProjectionMode(PM_SCREEN_OVERLAY);
    const float times[] = {0.0f, 2.0f, 18.0f, 20.0f};
    const float alphas[] = {0.0f, 1.0f, 1.0f, 0.0f};
    for (int i = 0; i < 4; ++i) {
        KeyAt(*banner, times[i]);
        banner->SetSize(1.0f, 0.16f);
        banner->SetPosition(0.0f, -0.4f, 1.0f);
        // Lit, because only the material carries the alpha key: an unlit
        // object takes its colour and alpha from its vertices alone. The
        // light shines along the banner, so only the ambient half-grey
        // reaches it: a material of twice white brings it back to its own
        // colours (lit colours are clamped to white).
        banner->SetLighting(true);
        banner->SetColor(Color(2.0f, 2.0f, 2.0f), 0);
        banner->SetAlpha(alphas[i]);
    }
    banner->SetTexture("banner.png", 0);
    Add(scene, *banner);
}

void AddTitle(CScene& scene) {
    auto* title = new CBmpFonts();
    title->SetObjName("Title");
    title->SetProjectionMode(PM_SCREEN_OVERLAY);
    // The font lies in the current directory, the output folder.
    title->SetTexture("arial.bnf", 0);
    struct SLine {
        float time;
        const char* text;
        float zoom;
    };
    const SLine lines[] = {{0.0f, "Lumivexis", 1.0f},
                           {5.0f, "animated 3D scenes", 0.8f},
                           {10.0f, "keyed curves, fog, terrain", 0.7f},
                           {15.0f, "made with Pelavor", 0.9f},
                           {20.0f, "Lumivexis", 1.0f}};
    for (const SLine& line : lines) {
        KeyAt(*title, line.time);
        title->SetText(line.text);
        title->SetZoomFactor(line.zoom * 2.5f, line.zoom * 3.5f);
        title->SetPosition(0.0f, -0.4f, 0.5f);
        title->SetScale(1.0f);
        title->SetColor(Color(1.0f, 0.95f, 0.8f), 0);
        title->SetLighting(false);
    }
    Add(scene, *title);
}

// Looks at the clearing from a circle around it; leads the first half.
void AddOrbitCamera(CScene& scene) {
    auto* camera = new CCameraTrajectoryObject();
    camera->SetObjName("Orbit camera");
    camera->SetOrientation(OR_LOOK_AT_POSITION);
    for (int i = 0; i <= 4; ++i) {
        const float time = 5.0f * static_cast<float>(i);
        const float angle = -kPi * 0.5f + kPi * 0.5f * static_cast<float>(i);
        KeyAt(*camera, time);
        camera->SetPosition(
            D3DXVECTOR3(15.0f * std::cos(angle), 6.0f + static_cast<float>(i % 2) * 3.0f, 15.0f * std::sin(angle)));
        camera->SetLookAtPosition(D3DXVECTOR3(0.0f, 2.5f, 0.0f));
        camera->SetZoom(i == 2 ? 1.6f : 1.0f);
        // Weight 2 until 10 s, then 0: the fly-by (weight 1) takes over.
        camera->SetWeight(time < 10.0f ? 2 : 0);
    }
    Add(scene, *camera);
}

// Skims over the hills towards the clearing; leads the second half.
void AddFlyByCamera(CScene& scene) {
    auto* camera = new CCameraTrajectoryObject();
    camera->SetObjName("Fly-by camera");
    camera->SetOrientation(OR_LOOK_AT_POSITION);
    const D3DXVECTOR3 path[] = {
        {-30.0f, 4.0f, -30.0f}, {-20.0f, 3.0f, -8.0f}, {-10.0f, 5.0f, 4.0f}, {4.0f, 8.0f, 14.0f}, {14.0f, 6.0f, -6.0f}};
    for (int i = 0; i <= 4; ++i) {
        KeyAt(*camera, 10.0f + 2.5f * static_cast<float>(i));
        camera->SetPosition(path[i]);
        camera->SetLookAtPosition(D3DXVECTOR3(0.0f, 2.0f, 0.0f));
        camera->SetZoom(1.0f);
        camera->SetWeight(1);
    }
    // Before its first key the camera waits at the start of its path.
    KeyAt(*camera, 0.0f);
    camera->SetPosition(path[0]);
    camera->SetLookAtPosition(D3DXVECTOR3(0.0f, 2.0f, 0.0f));
    camera->SetWeight(1);
    Add(scene, *camera);
}

}  // namespace

bool CDemoSceneBuilder::WriteAssets(std::string& error) const {
    const std::filesystem::path folder(m_Folder);
    for (const char* face : kSkyFaces) {
        if (!CDemoAssets::WritePng((folder / SkyPicture(face)).string(), CDemoAssets::SkyFace(face), error)) {
            return false;
        }
    }
    return CDemoAssets::WritePng((folder / "terrain.png").string(), CDemoAssets::TerrainTexture(), error) &&
           CDemoAssets::WritePng((folder / "banner.png").string(), CDemoAssets::Banner(), error) &&
           CDemoAssets::WriteBytes((folder / "terrain.raw").string(), CDemoAssets::TerrainHeights(), error);
}

void CDemoSceneBuilder::Build(CScene& scene) const {
    CScreen& screen = CScreen::Instance();
    screen.SetBackgroundColor(Color(0.85f, 0.58f, 0.50f));
    screen.EnableFog(true);
    // The sky box is fogged too: its faces lie 250 to 430 units away, where
    // the haze of the horizon colour shows on them.
    screen.SetFogStart(20.0f);
    screen.SetFogEnd(420.0f);
    screen.SetFogDensity(0.02f);
    screen.SetFogColor(Color(0.85f, 0.58f, 0.50f));
    screen.SetTotalTime(kTotalTime);
    screen.SetLoop(true);

    scene.EnableSkyBox(true);
    CSkyBoxObject& sky = scene.GetSkyBox();
    sky.SetTopPicture(SkyPicture("top"));
    sky.SetBottomPicture(SkyPicture("bottom"));
    sky.SetFrontPicture(SkyPicture("front"));
    sky.SetBackPicture(SkyPicture("back"));
    sky.SetLeftPicture(SkyPicture("left"));
    sky.SetRightPicture(SkyPicture("right"));

    AddTerrain(scene);
    AddPillar(scene);
    AddCube(scene);
    AddTorus(scene);
    AddSphere(scene);
    AddBanner(scene);
    AddTitle(scene);
    AddOrbitCamera(scene);
    AddFlyByCamera(scene);

    // An 800 x 600 window titled after the demo: it plays the same from a
    // scene file and as a packed executable.
    *scene.GetDisplayFormat() = CDisplayFormat(2, 4, "Lumivexis demo");
}
