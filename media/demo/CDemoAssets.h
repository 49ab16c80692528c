#pragma once
// The pictures and the height file of the demo scene, all computed here:
// six sky-box faces (a dusk gradient with stars), a terrain texture, the
// terrain's heights (rolling hills around a flat clearing) and a banner
// texture for the overlay plane.

#include <cstdint>
#include <string>
#include <vector>

class CDemoAssets {
public:
    // An RGBA image, top row first.
    struct SImage {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> rgba;
    };

    // Sky faces by name: "top", "bottom" and the four sides, which share
    // the horizon at their bottom edge.
    static SImage SkyFace(const std::string& face);
    static SImage TerrainTexture();
    static SImage Banner();
    // 100 x 100 samples, row by row; 0 is the lowest ground, 255 the highest
    // (the terrain lays its plane flat with a quarter turn of pitch, which
    // turns the heights "below" the plane upwards).
    static std::vector<std::uint8_t> TerrainHeights();

    // Writes the image as PNG; false with the reason in error.
    static bool WritePng(const std::string& path, const SImage& image, std::string& error);
    static bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error);
};
