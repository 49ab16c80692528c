#pragma once
// Every scene-wide value the "Scene Properties" sheet edits, as plain data:
// the playback length and loop, the background (plain colour, image or sky
// box), the fog and the music. The screen keeps most of them, the scene
// its background image and sky box, the screen's music player the music.
//
// Read takes them from the engine; Apply writes them back in the order the
// sheet's pages write them (time, background, fog, music). Apply can be
// limited to the groups that differ between two settings, so that a
// changed fog does not stop and reopen the music.
//
// User-interface thread only.

#include <array>

#include "platform/base/CString.h"
#include "platform/d3d8/d3d8.h"

class CMP3Player;
class CScene;
class CScreen;

struct SSceneSettings {
    // The background types in the order the "Type:" box lists them.
    enum class EBackground {
        Bitmap,
        PlainColor,
        SkyBox
    };

    // The sky box's faces in the order the page shows them.
    enum ESkyFace : int {
        kTop = 0,
        kBottom,
        kLeft,
        kRight,
        kBack,
        kFront,
        kSkyFaces
    };

    // Groups of values that are written together.
    enum EPart : unsigned {
        kTime = 1u,
        kBackground = 2u,
        kFog = 4u,
        kMusic = 8u,
        kAllParts = kTime | kBackground | kFog | kMusic
    };

    // --- time ---
    float totalTime = 0.0f;
    bool loop = false;

    // --- background ---
    EBackground background = EBackground::PlainColor;
    D3DCOLORVALUE backgroundColor{0.0f, 0.0f, 0.0f, 1.0f};
    std::array<CString, kSkyFaces> skyBox;
    CString backgroundImage;

    // --- fog ---
    bool fog = false;
    D3DCOLORVALUE fogColor{0.0f, 0.0f, 0.0f, 1.0f};
    float fogStart = 10.0f;
    float fogEnd = 20.0f;
    float fogDensity = 0.0f;

    // --- music ---
    CString musicPath;
    bool musicLoop = false;
    bool musicEnabled = false;

    // The values the engine holds now (takes the scene lock).
    static SSceneSettings Read(CScreen& screen, CScene& scene);
    // Writes the groups named in parts to the engine. The scene's part runs
    // under the scene lock; the music's does not, since opening a file may
    // take a while and may show the player's error message.
    void Apply(CScreen& screen, CScene& scene, unsigned parts = kAllParts) const;

    // The groups in which the two settings differ (0: none).
    unsigned DifferingParts(const SSceneSettings& other) const;
    bool operator==(const SSceneSettings& other) const { return DifferingParts(other) == 0; }

private:
    void ApplyTime(CScreen& screen) const;
    void ApplyBackground(CScreen& screen, CScene& scene) const;
    void ApplyFog(CScreen& screen) const;
    void ApplyMusic(CMP3Player& player) const;
};
