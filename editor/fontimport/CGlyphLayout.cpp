#include "fontimport/CGlyphLayout.h"

#include <limits>

CGlyphLayout::CGlyphLayout(int textureSize) : m_size(textureSize) {}

SGlyphPlacement CGlyphLayout::Place(SIZE extent) {
    const long long width = extent.cx;
    const long long height = extent.cy;
    if (m_x + width + 1 > m_size) {
        m_y += height + 1;
        m_x = 0;
    }
    SGlyphPlacement placement;
    // Pixel positions stay far below int's range for any real font; clamp
    // anyway so that a runaway layout cannot overflow.
    constexpr long long kMax = std::numeric_limits<int>::max();
    placement.x = static_cast<int>(m_x < kMax ? m_x : kMax);
    placement.y = static_cast<int>(m_y < kMax ? m_y : kMax);
    placement.cell = {ToTexture(m_x), ToTexture(m_y), ToTexture(m_x + width), ToTexture(m_y + height)};
    placement.insideTexture = m_x + width <= m_size && m_y + height <= m_size;
    m_fits = m_fits && placement.insideTexture;
    m_x += width + 1;
    return placement;
}

float CGlyphLayout::ToTexture(long long pixels) const {
    return static_cast<float>(pixels) / static_cast<float>(m_size);
}
