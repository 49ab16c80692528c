// A camera flies a movement path over the demo's hills: the path file
// (media/paths/flight.txt) gives each point a position, a viewing direction,
// a speed and a field of view, so the flight dives and speeds up into the
// valleys and widens its view over the crests, looping for ever.
//
//   lvx_example_flight [--frames N] [--screenshot FILE.png]

#include <memory>
#include <string>

#include "CExampleHost.h"
#include "animation/CMove.h"
#include "core/CScreen.h"
#include "objects/CHeightMapObject.h"
#include "objects/CLight.h"
#include "objects/CSkyBoxObject.h"

namespace {

const D3DCOLORVALUE kHaze{0.85f, 0.58f, 0.50f, 1.0f};

class CFlightScene : public CExampleScene {
public:
    // The haze is set before the run, so that the first frame shows it too.
    CFlightScene() {
        CScreen& screen = CScreen::Instance();
        screen.SetBackgroundColor(kHaze);
        screen.EnableFog(true);
        screen.SetFogColor(kHaze);
        screen.SetFogStart(30.0f);
        screen.SetFogEnd(300.0f);
    }

    bool Start() override {
        m_move.SetFilename(CExampleHost::MediaPath("paths/flight.txt"));
        if (!m_move.Load()) {
            return false;  // the message says why
        }
        m_move.SetAsCamera(true);  // each point's zoom becomes the field of view
        m_move.Reset();

        m_pSun = std::make_unique<CLight>();
        m_pSun->Init();
        m_pSun->SetDirection(0.5f, -1.0f, 0.8f);

        m_pSky = std::make_unique<CSkyBoxObject>();
        m_pSky->SetTopPicture(CExampleHost::MediaPath("demo/sky_top.png"));
        m_pSky->SetBottomPicture(CExampleHost::MediaPath("demo/sky_bottom.png"));
        m_pSky->SetFrontPicture(CExampleHost::MediaPath("demo/sky_front.png"));
        m_pSky->SetBackPicture(CExampleHost::MediaPath("demo/sky_back.png"));
        m_pSky->SetLeftPicture(CExampleHost::MediaPath("demo/sky_left.png"));
        m_pSky->SetRightPicture(CExampleHost::MediaPath("demo/sky_right.png"));

        // The demo's hills: 100 units wide, up to 7 high.
        m_pHills = std::make_unique<CHeightMapObject>();
        m_pHills->SetMaxAmplitude(7.0f);
        m_pHills->SetHeightMapFilename(CExampleHost::MediaPath("demo/terrain.raw"));
        m_pHills->SetTexture(CExampleHost::MediaPath("demo/terrain.png"), 0);
        m_pHills->Init();
        return true;
    }

    void Frame(int, float) override {
        CScreen::Instance().SetCamera(m_move);
        m_pSky->Render();
        m_pHills->Render();
    }

    void Stop() override {
        m_pHills.reset();
        m_pSky.reset();
        m_pSun.reset();
    }

private:
    CMove m_move;
    std::unique_ptr<CLight> m_pSun;
    std::unique_ptr<CSkyBoxObject> m_pSky;
    std::unique_ptr<CHeightMapObject> m_pHills;
};

}  // namespace

int main(int argc, char** argv) {
    CExampleHost host("lvx_example_flight",
                      "A camera flying a path read from a file over hills, changing speed and field of view at every "
                      "point of the path.");
    CFlightScene scene;
    return host.Run(argc, argv, scene);
}
