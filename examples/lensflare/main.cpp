// A sun low in a blue sky and its lens flare. The camera swings left and
// right, so the flare's spots slide along the line from the sun through the
// screen centre and fade as the sun leaves the screen; a box drifting
// across the line of sight hides the flare while it covers the sun (at 1 s
// and 7 s of every 12).
//
//   lvx_example_lensflare [--frames N] [--screenshot FILE.png]

#include <cmath>
#include <memory>
#include <string>

#include "CExampleHost.h"
#include "core/CScreen.h"
#include "objects/CBoxObject.h"
#include "objects/CLensFlare.h"
#include "objects/CLight.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kLoopSeconds = 12.0f;
const D3DXVECTOR3 kEye(0.0f, 0.0f, -10.0f);
const D3DXVECTOR3 kSun(0.0f, 45.0f, 200.0f);

class CLensFlareScene : public CExampleScene {
public:
    // The sky is set before the run, so that the first frame shows it too.
    CLensFlareScene() {
        CScreen& screen = CScreen::Instance();
        screen.SetBackgroundColor(D3DCOLORVALUE{0.35f, 0.55f, 0.85f, 1.0f});
        screen.SetAmbientLight(1);
        screen.SetAmbientColor(D3DCOLORVALUE{0.3f, 0.3f, 0.35f, 1.0f});
    }

    bool Start() override {
        // Sunlight comes towards the camera: the box shows its shaded side.
        m_pSunlight = std::make_unique<CLight>();
        m_pSunlight->Init();
        const D3DXVECTOR3 fromSun = kEye - kSun;
        D3DXVECTOR3 direction;
        m_pSunlight->SetDirection(*D3DXVec3Normalize(&direction, &fromSun));

        m_pBox = std::make_unique<CBoxObject>();
        m_pBox->SetSize(4.0f, 4.0f, 4.0f);
        m_pBox->SetColor(D3DCOLORVALUE{0.5f, 0.4f, 0.35f, 1.0f}, 0);

        m_pFlare = std::make_unique<CLensFlare>();
        m_pFlare->Init();
        m_pFlare->AddTexture(CExampleHost::MediaPath("sprites/flare_glow.png").c_str());  // 0
        m_pFlare->AddTexture(CExampleHost::MediaPath("sprites/flare_ring.png").c_str());  // 1
        m_pFlare->AddTexture(CExampleHost::MediaPath("sprites/flare_disc.png").c_str());  // 2
        if (m_pFlare->GetTextureNumber() != 3) {
            CScreen::Instance().Log("lensflare: the sprites are missing beside the program\n");
            return false;
        }
        AddSpots();
        m_pFlare->SetLightPosition(kSun.x, kSun.y, kSun.z);
        m_pFlare->SetObjectToObscur(*m_pBox);
        return true;
    }

    void Frame(int, float seconds) override {
        const float turn = 2.0f * kPi * std::fmod(seconds, kLoopSeconds) / kLoopSeconds;
        // 0.75 radians to either side take the sun past the screen's edges.
        const float yaw = 0.75f * std::sin(turn);
        CScreen::Instance().SetCamera(kEye, D3DXVECTOR3(std::sin(yaw), 0.0f, std::cos(yaw)));

        // The box swings across the line of sight, crossing it at 1 s and 7 s.
        const D3DXVECTOR3 onSightLine = kEye + (kSun - kEye) * 0.15f;
        m_pBox->SetPosition(12.0f * std::sin(turn - 2.0f * kPi / kLoopSeconds), onSightLine.y, onSightLine.z);
        m_pBox->Render();
        m_pFlare->Render();  // last: it adds light over everything
    }

    void Stop() override {
        m_pFlare.reset();
        m_pBox.reset();
        m_pSunlight.reset();
    }

private:
    // The sun itself (a wide warm glow with a white core) at the light, the
    // ghosts along the line through the centre and beyond it.
    void AddSpots() {
        m_pFlare->AddSpot(0, 0.35f, 1.0f, D3DXCOLOR(1.0f, 0.95f, 0.8f, 1.0f));
        m_pFlare->AddSpot(0, 0.10f, 1.0f, D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f));
        m_pFlare->AddSpot(1, 0.20f, 0.6f, D3DXCOLOR(1.0f, 0.8f, 0.5f, 0.5f));
        m_pFlare->AddSpot(2, 0.06f, 0.35f, D3DXCOLOR(0.6f, 0.8f, 1.0f, 0.6f));
        m_pFlare->AddSpot(2, 0.10f, -0.15f, D3DXCOLOR(0.6f, 1.0f, 0.7f, 0.5f));
        m_pFlare->AddSpot(0, 0.05f, -0.4f, D3DXCOLOR(1.0f, 0.6f, 0.4f, 0.8f));
        m_pFlare->AddSpot(1, 0.30f, -0.7f, D3DXCOLOR(0.5f, 0.7f, 1.0f, 0.4f));
        m_pFlare->AddSpot(2, 0.14f, -1.1f, D3DXCOLOR(0.9f, 0.6f, 1.0f, 0.4f));
    }

    std::unique_ptr<CLight> m_pSunlight;
    std::unique_ptr<CBoxObject> m_pBox;
    std::unique_ptr<CLensFlare> m_pFlare;
};

}  // namespace

int main(int argc, char** argv) {
    CExampleHost host("lvx_example_lensflare",
                      "A sun's lens flare sliding as the camera turns, fading at the screen's edges and hidden by a "
                      "passing box.");
    CLensFlareScene scene;
    return host.Run(argc, argv, scene);
}
