// lvx_sprite_builder OUTPUT_FOLDER
//
// Draws the examples' sprites into OUTPUT_FOLDER: white images whose alpha
// gives the shape, each a function of the distance from the centre (0 at
// the centre, 1 at the middle of an edge).
//
//   flare_glow.png  128 x 128  a bright core fading to nothing
//   flare_ring.png  128 x 128  a thin soft ring near the edge
//   flare_disc.png  128 x 128  a faint even disc with a soft rim
//   particle.png     64 x 64   a round dot, solid inside, soft at the edge

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/files/CAtomicFile.h"
#include "platform/files/CPngWriter.h"

namespace {

// Opacity (0 .. 1) at a distance from the centre.
using AlphaAt = std::function<float(float distance)>;

float SmoothStep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float Glow(float r) {
    const float fade = std::max(0.0f, 1.0f - r);
    return fade * fade * fade + 0.6f * std::exp(-r * r * 40.0f) * fade;
}

float Ring(float r) {
    const float offset = (r - 0.78f) / 0.07f;
    return 0.9f * std::exp(-offset * offset);
}

float Disc(float r) {
    return 0.45f * (1.0f - SmoothStep(0.8f, 0.95f, r));
}

float Particle(float r) {
    return 1.0f - SmoothStep(0.45f, 0.95f, r);
}

// Samples each pixel at its centre, so that the image is symmetric.
std::vector<std::uint8_t> Draw(int size, const AlphaAt& alphaAt) {
    std::vector<std::uint8_t> rgba(static_cast<size_t>(size) * static_cast<size_t>(size) * 4);
    const float half = static_cast<float>(size) / 2.0f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - half) / half;
            const float dy = (static_cast<float>(y) + 0.5f - half) / half;
            const float alpha = std::clamp(alphaAt(std::sqrt(dx * dx + dy * dy)), 0.0f, 1.0f);
            std::uint8_t* pixel = &rgba[(static_cast<size_t>(y) * static_cast<size_t>(size) + x) * 4];
            pixel[0] = pixel[1] = pixel[2] = 255;
            pixel[3] = static_cast<std::uint8_t>(alpha * 255.0f + 0.5f);
        }
    }
    return rgba;
}

bool WriteSprite(const std::string& folder, const char* name, int size, const AlphaAt& alphaAt) {
    CPngWriter writer;
    std::string error;
    if (!writer.Encode(size, size, Draw(size, alphaAt))) {
        error = writer.GetError();
    } else if (CAtomicFile::WriteWhole(folder + "/" + name, writer.GetBytes().data(), writer.GetBytes().size(),
                                       error)) {
        return true;
    }
    std::fprintf(stderr, "lvx_sprite_builder: cannot write %s: %s\n", name, error.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argc > 0 ? argv[0] : "lvx_sprite_builder");
        return 2;
    }
    const std::string folder = argv[1];
    const bool written =
        WriteSprite(folder, "flare_glow.png", 128, Glow) && WriteSprite(folder, "flare_ring.png", 128, Ring) &&
        WriteSprite(folder, "flare_disc.png", 128, Disc) && WriteSprite(folder, "particle.png", 64, Particle);
    return written ? 0 : 1;
}
