#include "objects/CLensFlareSpot.h"

CLensFlareSpot::CLensFlareSpot(unsigned int textureIndex, float size, float linePos, const D3DXCOLOR& color)
    : m_uiTextureIndex(textureIndex), m_fSize(size), m_fLinePos(linePos), m_Color(color) {}
