#include "platform/d3dxtex/CNormalMapGenerator.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/d3dxtex/d3dx8texdefs.h"

namespace {

constexpr DWORD kAllChannels =
    D3DX_CHANNEL_RED | D3DX_CHANNEL_GREEN | D3DX_CHANNEL_BLUE | D3DX_CHANNEL_ALPHA | D3DX_CHANNEL_LUMINANCE;
constexpr DWORD kAllFlags = D3DX_NORMALMAP_MIRROR | D3DX_NORMALMAP_INVERTSIGN | D3DX_NORMALMAP_COMPUTE_OCCLUSION;

// How far (in texels) the occlusion term looks for higher ground, in each of
// eight directions.
constexpr int kOcclusionReach = 8;

float HeightOf(DWORD argb, DWORD channel) {
    if (channel & D3DX_CHANNEL_LUMINANCE) {
        return (0.2125f * RedOf(argb) + 0.7154f * GreenOf(argb) + 0.0721f * BlueOf(argb)) / 255.0f;
    }
    float sum = 0.0f;
    int count = 0;
    const auto add = [&](DWORD bit, DWORD value) {
        if (channel & bit) {
            sum += static_cast<float>(value);
            ++count;
        }
    };
    add(D3DX_CHANNEL_RED, RedOf(argb));
    add(D3DX_CHANNEL_GREEN, GreenOf(argb));
    add(D3DX_CHANNEL_BLUE, BlueOf(argb));
    add(D3DX_CHANNEL_ALPHA, AlphaOf(argb));
    return sum / (255.0f * static_cast<float>(count));
}

// Index i of a row or column of n texels, continued past its ends.
int Address(int i, int n, bool mirror) {
    if (mirror) {
        // Mirror repeat: -1 -> 0, n -> n-1, period 2n.
        const int period = 2 * n;
        int m = i % period;
        if (m < 0) {
            m += period;
        }
        return m < n ? m : period - 1 - m;
    }
    const int m = i % n;
    return m < 0 ? m + n : m;
}

DWORD PackComponent(float c) {
    const float scaled = (c * 0.5f + 0.5f) * 255.0f;
    return static_cast<DWORD>(std::clamp(std::lround(scaled), 0L, 255L));
}

}  // namespace

// The heights of the source, read once, with the edge rule applied.
class CNormalMapGenerator::HeightField {
public:
    HeightField(const CPixelImage& image, DWORD channel, DWORD flags)
        : m_width(static_cast<int>(image.Width())),
          m_height(static_cast<int>(image.Height())),
          m_mirrorU((flags & D3DX_NORMALMAP_MIRROR_U) != 0),
          m_mirrorV((flags & D3DX_NORMALMAP_MIRROR_V) != 0) {
        m_heights.reserve(image.Texels().size());
        for (DWORD argb : image.Texels()) {
            m_heights.push_back(HeightOf(argb, channel));
        }
    }

    float At(int x, int y) const {
        const int ax = Address(x, m_width, m_mirrorU);
        const int ay = Address(y, m_height, m_mirrorV);
        return m_heights[static_cast<std::size_t>(ay) * m_width + ax];
    }

private:
    int m_width;
    int m_height;
    bool m_mirrorU;
    bool m_mirrorV;
    std::vector<float> m_heights;
};

CNormalMapGenerator::CNormalMapGenerator(DWORD channel, DWORD flags, float amplitude)
    : m_channel(channel), m_flags(flags), m_amplitude(amplitude) {}

bool CNormalMapGenerator::IsValidChannel(DWORD channel) {
    return channel != 0 && (channel & ~kAllChannels) == 0;
}

bool CNormalMapGenerator::AreValidFlags(DWORD flags) {
    return (flags & ~kAllFlags) == 0;
}

CPixelImage CNormalMapGenerator::Generate(const CPixelImage& heights) const {
    CPixelImage normals(heights.Width(), heights.Height());
    const HeightField field(heights, m_channel, m_flags);
    for (UINT y = 0; y < heights.Height(); ++y) {
        for (UINT x = 0; x < heights.Width(); ++x) {
            normals.Set(x, y, PackNormal(field, static_cast<int>(x), static_cast<int>(y)));
        }
    }
    return normals;
}

DWORD CNormalMapGenerator::PackNormal(const HeightField& field, int x, int y) const {
    const float dx = (field.At(x + 1, y) - field.At(x - 1, y)) * 0.5f;
    const float dy = (field.At(x, y + 1) - field.At(x, y - 1)) * 0.5f;
    const float sign = (m_flags & D3DX_NORMALMAP_INVERTSIGN) ? -1.0f : 1.0f;
    float nx = -dx * m_amplitude * sign;
    float ny = -dy * m_amplitude * sign;
    float nz = 1.0f;
    const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (std::isfinite(length) && length > 0.0f) {
        nx /= length;
        ny /= length;
        nz /= length;
    } else {
        nx = ny = 0.0f;  // an infinite or NaN amplitude: keep a valid normal
        nz = 1.0f;
    }
    const DWORD alpha = (m_flags & D3DX_NORMALMAP_COMPUTE_OCCLUSION) ? OcclusionAlpha(field, x, y) : 255u;
    return MakeArgb(alpha, PackComponent(nx), PackComponent(ny), PackComponent(nz));
}

// Horizon-based: in each of eight directions find the steepest rise to a
// texel within reach; the sine of that elevation is the part of that slice
// of sky that is hidden. Alpha 255 = nothing hidden, 0 = fully hidden.
DWORD CNormalMapGenerator::OcclusionAlpha(const HeightField& field, int x, int y) const {
    static constexpr int kDirections[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
    const float here = field.At(x, y);
    float hidden = 0.0f;
    for (const auto& d : kDirections) {
        const float stepLength = std::sqrt(static_cast<float>(d[0] * d[0] + d[1] * d[1]));
        float steepest = 0.0f;
        for (int step = 1; step <= kOcclusionReach; ++step) {
            const float rise = (field.At(x + d[0] * step, y + d[1] * step) - here) * m_amplitude;
            steepest = std::max(steepest, rise / (stepLength * static_cast<float>(step)));
        }
        hidden += steepest / std::sqrt(1.0f + steepest * steepest);  // sin(atan(slope))
    }
    const float visible = 1.0f - hidden / 8.0f;
    if (!std::isfinite(visible)) {
        return 255u;
    }
    return static_cast<DWORD>(std::clamp(std::lround(visible * 255.0f), 0L, 255L));
}
