#include "CDemoAssets.h"

#include <algorithm>
#include <cmath>

#include "platform/files/CAtomicFile.h"
#include "platform/files/CPngWriter.h"

namespace {

constexpr float kPi = 3.14159265f;

struct SColor {
    float r, g, b;
};

SColor Mix(const SColor& a, const SColor& b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// A repeatable pseudo-random value in 0 .. 1 for a pixel (no global state,
// so every build makes the same pictures).
float Hash(int x, int y, int salt) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(salt) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

CDemoAssets::SImage MakeImage(int width, int height) {
    CDemoAssets::SImage image;
    image.width = width;
    image.height = height;
    image.rgba.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 255);
    return image;
}

void Put(CDemoAssets::SImage& image, int x, int y, const SColor& c, float alpha = 1.0f) {
    const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)) * 4;
    image.rgba[at + 0] = static_cast<std::uint8_t>(std::clamp(c.r, 0.0f, 1.0f) * 255.0f + 0.5f);
    image.rgba[at + 1] = static_cast<std::uint8_t>(std::clamp(c.g, 0.0f, 1.0f) * 255.0f + 0.5f);
    image.rgba[at + 2] = static_cast<std::uint8_t>(std::clamp(c.b, 0.0f, 1.0f) * 255.0f + 0.5f);
    image.rgba[at + 3] = static_cast<std::uint8_t>(std::clamp(alpha, 0.0f, 1.0f) * 255.0f + 0.5f);
}

const SColor kZenith{0.05f, 0.07f, 0.25f};
const SColor kSky{0.20f, 0.30f, 0.62f};
const SColor kHorizon{0.95f, 0.60f, 0.45f};
const SColor kGround{0.10f, 0.12f, 0.10f};

// Star field: a few bright pixels, thinning out towards the horizon.
float Star(int x, int y, int salt, float density) {
    const float h = Hash(x, y, salt);
    return h > 1.0f - density ? (h - (1.0f - density)) / density : 0.0f;
}

}  // namespace

CDemoAssets::SImage CDemoAssets::SkyFace(const std::string& face) {
    constexpr int size = 256;
    SImage image = MakeImage(size, size);
    const int salt = static_cast<int>(face.size()) * 31 + face[0];
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            SColor c{};
            if (face == "top") {
                // Lighter towards the edges, which meet the sides' tops.
                const float dx = (static_cast<float>(x) / size - 0.5f) * 2.0f;
                const float dy = (static_cast<float>(y) / size - 0.5f) * 2.0f;
                const float edge = std::max(std::fabs(dx), std::fabs(dy));
                c = Mix(kZenith, Mix(kZenith, kSky, 0.35f), edge);
                const float star = Star(x, y, salt, 0.004f);
                c = Mix(c, SColor{1.0f, 1.0f, 0.95f}, star);
            } else if (face == "bottom") {
                c = kGround;
            } else {
                // v = 0 is the top of the face; the horizon is its bottom edge.
                const float v = static_cast<float>(y) / (size - 1);
                c = v < 0.6f ? Mix(Mix(kZenith, kSky, 0.35f), kSky, v / 0.6f) : Mix(kSky, kHorizon, (v - 0.6f) / 0.4f);
                const float star = Star(x, y, salt, 0.004f * (1.0f - v));
                c = Mix(c, SColor{1.0f, 1.0f, 0.95f}, star);
            }
            Put(image, x, y, c);
        }
    }
    return image;
}

CDemoAssets::SImage CDemoAssets::TerrainTexture() {
    constexpr int size = 256;
    SImage image = MakeImage(size, size);
    const SColor grass{0.22f, 0.42f, 0.16f};
    const SColor moss{0.35f, 0.50f, 0.20f};
    const SColor rock{0.45f, 0.40f, 0.33f};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float fx = static_cast<float>(x) / size;
            const float fy = static_cast<float>(y) / size;
            const float patches = 0.5f + 0.25f * std::sin(fx * 2 * kPi * 5) * std::cos(fy * 2 * kPi * 4) +
                                  0.25f * std::sin((fx + fy) * 2 * kPi * 9);
            SColor c = Mix(grass, moss, patches);
            c = Mix(c, rock, Hash(x, y, 7) > 0.93f ? 0.6f : 0.0f);
            const float grain = (Hash(x, y, 3) - 0.5f) * 0.08f;
            Put(image, x, y, SColor{c.r + grain, c.g + grain, c.b + grain});
        }
    }
    return image;
}

CDemoAssets::SImage CDemoAssets::Banner() {
    constexpr int width = 256;
    constexpr int height = 64;
    SImage image = MakeImage(width, height);
    const SColor left{0.10f, 0.15f, 0.45f};
    const SColor right{0.45f, 0.10f, 0.40f};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float u = static_cast<float>(x) / (width - 1);
            const float v = static_cast<float>(y) / (height - 1);
            SColor c = Mix(left, right, u);
            // A bright rule along the top and soft fading at both ends.
            if (y < 3)
                c = Mix(c, SColor{1.0f, 0.85f, 0.55f}, 0.8f);
            const float fade = std::min({u * 6.0f, (1.0f - u) * 6.0f, 1.0f});
            Put(image, x, y, c, 0.75f * fade * (1.0f - 0.3f * v));
        }
    }
    return image;
}

std::vector<std::uint8_t> CDemoAssets::TerrainHeights() {
    constexpr int n = 100;
    std::vector<std::uint8_t> samples(static_cast<size_t>(n) * n);
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            const float x = (static_cast<float>(column) / (n - 1) - 0.5f) * 2.0f;
            const float z = (static_cast<float>(row) / (n - 1) - 0.5f) * 2.0f;
            const float hills = 0.5f + 0.22f * std::sin(x * 7.0f + 1.0f) * std::cos(z * 6.0f) +
                                0.15f * std::sin((x - z) * 11.0f) + 0.08f * std::cos(x * 23.0f + z * 17.0f);
            // A flat clearing in the middle where the solids hover, hills around.
            const float distance = std::sqrt(x * x + z * z);
            const float rise = std::clamp((distance - 0.18f) / 0.5f, 0.0f, 1.0f);
            const float height = std::clamp(hills * rise, 0.0f, 1.0f);
            samples[static_cast<size_t>(row) * n + static_cast<size_t>(column)] =
                static_cast<std::uint8_t>(height * 255.0f + 0.5f);
        }
    }
    return samples;
}

bool CDemoAssets::WritePng(const std::string& path, const SImage& image, std::string& error) {
    CPngWriter writer;
    if (!writer.Encode(image.width, image.height, image.rgba)) {
        error = writer.GetError();
        return false;
    }
    return WriteBytes(path, writer.GetBytes(), error);
}

bool CDemoAssets::WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    return CAtomicFile::WriteWhole(path, bytes.data(), bytes.size(), error);
}
