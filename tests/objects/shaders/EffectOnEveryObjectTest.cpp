// Every kind of renderable object drawn through a shader effect on a running
// screen: the 80-byte layout reaches the shader for solids, planes, terrain,
// text and file meshes alike, and the bump effect's tangent frames are
// finite for every one of their geometries (poles, seams, flat terrain).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "meshes/CAnimFileMeshObject.h"
#include "meshes/CFileMeshObject.h"
#include "meshes/common/MeshFiles.h"
#include "objects/CAnimPlaneObject.h"
#include "objects/CBmpFonts.h"
#include "objects/CBoxObject.h"
#include "objects/CBumpMapShader.h"
#include "objects/CCylinderObject.h"
#include "objects/CHeightMapObject.h"
#include "objects/CPlaneObject.h"
#include "objects/CSkyBoxObject.h"
#include "objects/CSphereObject.h"
#include "objects/CTorusObject.h"
#include "platform/headless/CHeadlessWindow.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"
#include "support/PixelProbe.h"

namespace {

constexpr int kSize = 64;
constexpr std::uint32_t kBackground = 0xFF000000;
constexpr std::uint32_t kGreen = 0xFF00FF00;

// Transforms and paints every vertex green; the green comes from the
// program's own constant.
const char kGreenProgram[] =
    "vs.1.1\n"
    "def c30, 0.0, 1.0, 0.0, 1.0\n"
    "dp4 oPos.x, v0, c0\n"
    "dp4 oPos.y, v0, c1\n"
    "dp4 oPos.z, v0, c2\n"
    "dp4 oPos.w, v0, c3\n"
    "mov oD0, c30\n"
    "mov oT0, v7\n";

// A 3D Studio strip of triangles facing the camera, three units wide.
std::vector<BYTE> StripMesh() {
    meshfiles::S3DSObject strip;
    strip.name = "strip";
    strip.positions = {-1.5f, 0.0f, -1.0f, -1.5f, 0.0f, 1.0f, 1.5f, 0.0f, -1.0f, 1.5f, 0.0f, 1.0f};
    strip.faces = {0, 1, 2, 2, 1, 3};
    strip.texCoords = {0, 0, 0, 1, 1, 0, 1, 1};
    return meshfiles::Make3DS({}, {strip});
}

struct SObjectKind {
    const char* name;
    std::function<std::unique_ptr<CBaseObject>(const CTempFolder&)> make;
    bool visible;  // in front of the camera, so some of it must show
};

std::vector<SObjectKind> ObjectKinds() {
    return {
        {"box", [](const CTempFolder&) { return std::make_unique<CBoxObject>(); }, true},
        {"sphere", [](const CTempFolder&) { return std::make_unique<CSphereObject>(); }, true},
        {"cylinder", [](const CTempFolder&) { return std::make_unique<CCylinderObject>(); }, true},
        {"torus", [](const CTempFolder&) { return std::make_unique<CTorusObject>(); }, true},
        {"plane", [](const CTempFolder&) { return std::make_unique<CPlaneObject>(); }, true},
        {"animated plane", [](const CTempFolder&) { return std::make_unique<CAnimPlaneObject>(); }, true},
        {"height map", [](const CTempFolder&) { return std::make_unique<CHeightMapObject>(); }, false},
        {"sky box", [](const CTempFolder&) { return std::make_unique<CSkyBoxObject>(); }, false},
        {"text",
         [](const CTempFolder&) {
             auto text = std::make_unique<CBmpFonts>();
             text->SetText("Shade");
             return text;
         },
         false},
        {"file mesh",
         [](const CTempFolder& folder) {
             auto mesh = std::make_unique<CFileMeshObject>();
             mesh->SetFilename(folder.Path("strip.3ds"));
             return mesh;
         },
         true},
        {"animated file mesh",
         [](const CTempFolder& folder) {
             auto mesh = std::make_unique<CAnimFileMeshObject>();
             mesh->SetFilenames({folder.Path("strip.3ds"), folder.Path("strip.3ds")});
             return mesh;
         },
         true},
    };
}

// Every float of the effect's half of every vertex is finite.
bool EffectHalvesAreFinite(CBaseObject& object) {
    DWORD count = 0;
    S3DVERTEX* locked = object.LockVB(count);
    if (locked == nullptr) {
        return true;  // nothing to draw, nothing to be wrong
    }
    bool finite = true;
    const auto* vertices = reinterpret_cast<const S3DVERTEX_FORSHADER*>(locked);
    for (DWORD i = 0; i < count; ++i) {
        const auto* floats = reinterpret_cast<const float*>(&vertices[i].effect);
        for (int k = 1; k < 10; ++k) {  // after the packed colour
            finite = finite && std::isfinite(floats[k]);
        }
    }
    object.UnlockVB(false, false);
    return finite;
}

class EffectOnEveryObject : public ::testing::Test {
protected:
    void SetUp() override {
        CScreen::Instance().ViewInfo(false);
        CScreen::Instance().SetShowFPS(false);
        CScreen::Instance().SetBackgroundColor(D3DCOLORVALUE{0, 0, 0, 1});
        m_folder.Write("strip.3ds", StripMesh());
    }

    CTempFolder m_folder;
    CHeadlessWindow m_window{kSize, kSize};
    CScreenStateGuard m_screenState;  // last: restores the screen before the window goes
};

}  // namespace

TEST_F(EffectOnEveryObject, DrawsThroughTheShaderAndKeepsTangentFramesFinite) {
    const std::vector<SObjectKind> kinds = ObjectKinds();
    CScreenRunner runner(m_window);
    ASSERT_TRUE(runner.RunFrames(static_cast<int>(kinds.size()), [&](int frame) {
        const SObjectKind& kind = kinds[static_cast<size_t>(frame)];
        SCOPED_TRACE(kind.name);
        CScreen& screen = CScreen::Instance();
        // Above and in front, so that flat objects lying in y = 0 show too.
        screen.SetCamera(D3DXVECTOR3(0, 3, -4), D3DXVECTOR3(0, -3, 4), D3DXVECTOR3(0, 1, 0));
        std::unique_ptr<CBaseObject> object = kind.make(m_folder);
        object->UseShader(true);
        object->EnableCulling(false);
        object->Render();  // the first draw creates the geometry

        CBumpMapShader bump;
        bump.Init();
        object->SetShader(&bump);
        EXPECT_TRUE(EffectHalvesAreFinite(*object));

        CShaderEffect green(screen.GetD3DDevice());
        green.SetVertexCode(kGreenProgram);
        green.Init();
        ASSERT_NE(green.GetVertexShaderID(), 0u);
        object->SetShader(&green);
        screen.GetD3DDevice()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBackground, 1.0f, 0);
        object->Render();
        const std::vector<std::uint32_t> pixels = runner.ReadBackBuffer();
        object->SetShader(nullptr);
        if (kind.visible) {
            EXPECT_GT(CountPixels(pixels, kGreen, 8), 20);
        }
        // Only the effect's colour is drawn (blended with the background
        // where a texture's alpha says so): no red, no blue anywhere.
        int otherColours = 0;
        for (const std::uint32_t pixel : pixels) {
            otherColours += Red(pixel) > 8 || Blue(pixel) > 8 ? 1 : 0;
        }
        EXPECT_EQ(otherColours, 0);
    }));
}
