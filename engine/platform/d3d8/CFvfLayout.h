#pragma once
// Where each element of a flexible-vertex-format vertex lies: computed from
// the format bits alone, in Direct3D's fixed element order (position, blend
// weights, normal, point size, diffuse, specular, texture coordinate sets).

#include "platform/d3d8/d3d8types.h"

struct SFvfElement {
    bool present = false;
    UINT offset = 0;
    UINT components = 0;  // floats, or 4 bytes for colours
};

class CFvfLayout {
public:
    explicit CFvfLayout(DWORD fvf = 0);

    // False for formats without a position or with reserved bits set.
    bool IsValid() const { return m_valid; }
    bool IsPretransformed() const { return m_pretransformed; }
    UINT Stride() const { return m_stride; }
    UINT TexCoordCount() const { return m_texCoordCount; }

    const SFvfElement& Position() const { return m_position; }
    const SFvfElement& Normal() const { return m_normal; }
    const SFvfElement& PointSize() const { return m_pointSize; }
    const SFvfElement& Diffuse() const { return m_diffuse; }
    const SFvfElement& Specular() const { return m_specular; }
    const SFvfElement& TexCoord(UINT set) const { return m_texCoords[set]; }

private:
    bool m_valid = false;
    bool m_pretransformed = false;
    UINT m_stride = 0;
    UINT m_texCoordCount = 0;
    SFvfElement m_position;
    SFvfElement m_normal;
    SFvfElement m_pointSize;
    SFvfElement m_diffuse;
    SFvfElement m_specular;
    SFvfElement m_texCoords[8];
};
