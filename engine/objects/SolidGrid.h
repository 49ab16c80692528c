#pragma once
// Helpers the primitive solids share: the triangle indices of a grid of
// quads and the limits on tessellation counts.

#include <algorithm>

#include "platform/base/WinTypes.h"

// Tessellation counts are kept between 1 and this, so that every vertex of
// the largest solid (a cylinder of 250 x 250 subdivisions has 63,505) can be
// addressed by 16-bit indices.
constexpr int kMaxSubdivisions = 250;

inline int ClampSubdivisions(int count) {
    return std::clamp(count, 1, kMaxSubdivisions);
}

// A stored count truncated toward zero; NaN and values beyond the int range
// (from damaged files) give 0 or the nearest int instead of undefined results.
inline int TruncatedCount(float value) {
    if (!(value == value)) {
        return 0;
    }
    if (value >= 2147483520.0f) {
        return 2147483520;
    }
    if (value <= -2147483520.0f) {
        return -2147483520;
    }
    return static_cast<int>(value);
}

// A count curve's value: truncated toward zero, then kept in range.
inline int SubdivisionsOf(float value) {
    if (!(value >= 1.0f)) {
        return 1;  // also NaN
    }
    return value >= static_cast<float>(kMaxSubdivisions) ? kMaxSubdivisions : static_cast<int>(value);
}

// Rows x columns quads over a grid with columns + 1 vertices per row, two
// triangles per quad: (base, base+1, base+W) and (base+1, base+W+1, base+W).
// Returns the index after the last one written.
inline WORD* WriteGridIndices(WORD* indices, int rows, int columns, int firstVertex = 0) {
    const int width = columns + 1;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int base = firstVertex + row * width + column;
            *indices++ = static_cast<WORD>(base);
            *indices++ = static_cast<WORD>(base + 1);
            *indices++ = static_cast<WORD>(base + width);
            *indices++ = static_cast<WORD>(base + 1);
            *indices++ = static_cast<WORD>(base + width + 1);
            *indices++ = static_cast<WORD>(base + width);
        }
    }
    return indices;
}
