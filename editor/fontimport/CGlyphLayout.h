#pragma once
// Places glyph cells row by row into a square texture: left to right with one
// blank pixel between cells, a new row (one blank pixel below the previous
// one) when the next cell would touch the right edge. Cells that do not fit
// below the last row are still placed, outside the square; their texture
// coordinates exceed 1 and Fits() turns false.

#include "platform/base/WinTypes.h"

// A glyph's cell in texture coordinates (0..1 inside the texture).
struct SGlyphCell {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;

    bool operator==(const SGlyphCell&) const = default;
};

// Where one glyph goes: its top-left pixel and its cell.
struct SGlyphPlacement {
    int x = 0;
    int y = 0;
    SGlyphCell cell;
    bool insideTexture = true;  // false when any part of the cell lies outside the square
};

class CGlyphLayout {
public:
    explicit CGlyphLayout(int textureSize);

    // Places the next cell of the given extent (advance width × cell height).
    SGlyphPlacement Place(SIZE extent);

    int GetTextureSize() const { return m_size; }
    // False once any placed cell lies outside the square.
    bool Fits() const { return m_fits; }

private:
    float ToTexture(long long pixels) const;

    int m_size;
    long long m_x = 0;
    long long m_y = 0;
    bool m_fits = true;
};
