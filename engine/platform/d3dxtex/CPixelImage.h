#pragma once
// A decoded image in the one layout every texture path works in: 32-bit
// A8R8G8B8 texels (in memory: blue, green, red, alpha), rows from the top of
// the picture down, so texel (0, 0) is what a texture shows at v = 0.

#include <cstddef>
#include <vector>

#include "platform/base/WinTypes.h"

class CPixelImage {
public:
    CPixelImage() = default;
    // A width x height image filled with `fill`.
    CPixelImage(UINT width, UINT height, DWORD fill = 0);

    UINT Width() const { return m_width; }
    UINT Height() const { return m_height; }
    bool IsEmpty() const { return m_texels.empty(); }

    DWORD At(UINT x, UINT y) const { return m_texels[Index(x, y)]; }
    void Set(UINT x, UINT y, DWORD argb) { m_texels[Index(x, y)] = argb; }

    DWORD* Row(UINT y) { return m_texels.data() + Index(0, y); }
    const DWORD* Row(UINT y) const { return m_texels.data() + Index(0, y); }
    const std::vector<DWORD>& Texels() const { return m_texels; }

private:
    std::size_t Index(UINT x, UINT y) const { return static_cast<std::size_t>(y) * m_width + x; }

    UINT m_width = 0;
    UINT m_height = 0;
    std::vector<DWORD> m_texels;
};

// Channel helpers for A8R8G8B8 values.
constexpr DWORD MakeArgb(DWORD a, DWORD r, DWORD g, DWORD b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}
constexpr DWORD AlphaOf(DWORD argb) {
    return argb >> 24;
}
constexpr DWORD RedOf(DWORD argb) {
    return (argb >> 16) & 0xFF;
}
constexpr DWORD GreenOf(DWORD argb) {
    return (argb >> 8) & 0xFF;
}
constexpr DWORD BlueOf(DWORD argb) {
    return argb & 0xFF;
}
