// A fountain and a fire at night: two particle emitters, each loaded from a
// "[ParticleSystem 1.00]" file in media/particles beside the program. The
// fountain throws pale blue drops up that fall back under gravity and fade
// to deep blue; the fire's flames rise, lighter than air, and fade from
// yellow through red to nothing. Both add their light to the dark sky.
//
//   lvx_example_particles [--frames N] [--screenshot FILE.png]

#include <filesystem>
#include <memory>
#include <string>

#include "CExampleHost.h"
#include "core/CScreen.h"
#include "objects/CParticleEmitter.h"
#include "objects/CParticleFileException.h"

namespace {

const D3DXVECTOR3 kEye(0.0f, 0.0f, -22.0f);

// An emitter with the settings of a particle-system file, set up on the
// device; null (and a line in the log) when the file or its texture is
// missing or damaged.
std::unique_ptr<CParticleEmitter> LoadEmitter(const char* name) {
    CScreen& screen = CScreen::Instance();
    const std::filesystem::path file = CExampleHost::MediaPath(std::string("particles/") + name);
    auto emitter = std::make_unique<CParticleEmitter>();
    try {
        if (!emitter->Load(file.c_str())) {
            screen.Log("particles: %s: %s\n", file.c_str(), emitter->GetLastError().c_str());
            return nullptr;
        }
    } catch (const CParticleFileException& e) {
        screen.Log("particles: %s: %s\n", file.c_str(), e.what());
        return nullptr;
    }
    // The file names its texture relative to itself.
    const std::filesystem::path texture = file.parent_path() / emitter->GetTextureFilename().c_str();
    emitter->SetTexture(texture.lexically_normal().c_str());
    emitter->Init();
    if (emitter->GetTexture() == nullptr) {
        screen.Log("particles: the sprite %s is missing\n", emitter->GetTextureFilename().c_str());
        return nullptr;
    }
    return emitter;
}

class CParticlesScene : public CExampleScene {
public:
    // The night sky is set before the run, so that the first frame shows it too.
    CParticlesScene() { CScreen::Instance().SetBackgroundColor(D3DCOLORVALUE{0.02f, 0.02f, 0.06f, 1.0f}); }

    bool Start() override {
        m_pFountain = LoadEmitter("fountain.txt");
        m_pFire = LoadEmitter("fire.txt");
        return m_pFountain != nullptr && m_pFire != nullptr;
    }

    void Frame(int, float) override {
        CScreen::Instance().SetCamera(kEye, D3DXVECTOR3(0.0f, 0.0f, 1.0f));
        // Each emitter moves its particles on to the scene time, then draws them.
        m_pFountain->Render();
        m_pFire->Render();
    }

    void Stop() override {
        m_pFire.reset();
        m_pFountain.reset();
    }

private:
    std::unique_ptr<CParticleEmitter> m_pFountain;
    std::unique_ptr<CParticleEmitter> m_pFire;
};

}  // namespace

int main(int argc, char** argv) {
    CExampleHost host("lvx_example_particles",
                      "A fountain and a fire: particle emitters loaded from the particle-system files in "
                      "media/particles.");
    CParticlesScene scene;
    return host.Run(argc, argv, scene);
}
