#pragma once
// Builds the demo scene with the engine's own objects and saves it as a
// plain scene file beside its pictures:
//
// - a dusk sky box and fog that melts the far hills into the horizon;
// - a height-map terrain with a clearing in the middle;
// - solids keyed over time: a cube turning and changing colour, a sphere
//   circling, fading and growing, a torus spinning and shrinking, a pillar;
// - a screen-overlay banner that fades in, and bitmap-font text whose words
//   and zoom change over time;
// - two camera trajectories that take turns by weight: an orbit for the
//   first half, a low fly-by for the second; the scene loops every 20 s.
//
// Every file the scene names lies in the output folder and is named
// without a folder, so the scene plays from wherever the folder is moved.

#include <string>

class CScene;

class CDemoSceneBuilder {
public:
    static constexpr float kTotalTime = 20.0f;

    explicit CDemoSceneBuilder(std::string outputFolder) : m_Folder(std::move(outputFolder)) {}

    // Writes the pictures and the height file into the output folder.
    bool WriteAssets(std::string& error) const;
    // Fills the scene and the screen's scene settings. The output folder
    // must be the current directory (the bitmap font is read from it).
    void Build(CScene& scene) const;

private:
    std::string m_Folder;
};
