#pragma once
// One spot of a lens flare: which of the flare's textures it shows, how big
// it is (a fraction of the screen width) and where it lies on the line from
// the screen centre (0) to the light (1); negative positions lie beyond the
// centre, opposite the light. Its colour tints the texture, and its alpha is
// scaled by the flare's intensity.

#include "platform/d3dx/d3dx8math.h"

class CLensFlareSpot {
public:
    CLensFlareSpot() = default;
    CLensFlareSpot(unsigned int textureIndex, float size, float linePos, const D3DXCOLOR& color);
    CLensFlareSpot(const CLensFlareSpot&) = default;
    CLensFlareSpot& operator=(const CLensFlareSpot&) = default;
    virtual ~CLensFlareSpot() = default;

    unsigned int GetTextureIndex() const { return m_uiTextureIndex; }
    float GetSize() const { return m_fSize; }
    void SetSize(float size) { m_fSize = size; }
    float GetLinePos() const { return m_fLinePos; }
    void SetLinePos(float linePos) { m_fLinePos = linePos; }
    const D3DXCOLOR& GetColor() const { return m_Color; }
    void SetColor(const D3DXCOLOR& color) { m_Color = color; }

private:
    unsigned int m_uiTextureIndex = 0;
    float m_fSize = 1.0f;
    float m_fLinePos = 0.0f;
    D3DXCOLOR m_Color{1.0f, 1.0f, 1.0f, 1.0f};
};
