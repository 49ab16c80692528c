#include "platform/d3d8/CFvfLayout.h"

namespace {

UINT TexCoordComponents(DWORD fvf, UINT set) {
    switch ((fvf >> (set * 2 + 16)) & 3) {
    case D3DFVF_TEXTUREFORMAT1:
        return 1;
    case D3DFVF_TEXTUREFORMAT3:
        return 3;
    case D3DFVF_TEXTUREFORMAT4:
        return 4;
    default:
        return 2;
    }
}

SFvfElement Take(UINT& offset, UINT components, UINT bytes) {
    SFvfElement element{true, offset, components};
    offset += bytes;
    return element;
}

}  // namespace

CFvfLayout::CFvfLayout(DWORD fvf) {
    const DWORD position = fvf & D3DFVF_POSITION_MASK;
    if (position == 0 || (fvf & (D3DFVF_RESERVED0 | D3DFVF_RESERVED2)) != 0)
        return;
    UINT offset = 0;
    if (position == D3DFVF_XYZRHW) {
        m_pretransformed = true;
        m_position = Take(offset, 4, 16);
    } else {
        m_position = Take(offset, 3, 12);
        // Blend weights follow the position; the fixed pipeline here skips them.
        if (position >= D3DFVF_XYZB1)
            offset += ((position - D3DFVF_XYZB1) / 2 + 1) * 4;
    }
    if (fvf & D3DFVF_NORMAL)
        m_normal = Take(offset, 3, 12);
    if (fvf & D3DFVF_PSIZE)
        m_pointSize = Take(offset, 1, 4);
    if (fvf & D3DFVF_DIFFUSE)
        m_diffuse = Take(offset, 4, 4);
    if (fvf & D3DFVF_SPECULAR)
        m_specular = Take(offset, 4, 4);
    m_texCoordCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (m_texCoordCount > 8)
        return;
    for (UINT set = 0; set < m_texCoordCount; ++set) {
        const UINT components = TexCoordComponents(fvf, set);
        m_texCoords[set] = Take(offset, components, components * 4);
    }
    m_stride = offset;
    m_valid = true;
}
