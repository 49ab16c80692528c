#pragma once
// One particle of an emitter's pool: its size, how long it lives and has
// lived, its colour and how that changes per second, where it is and how
// fast it moves. New particles start as a copy of the template (size 1,
// lifetime 1 s, everything else 0) before the emitter draws their random
// values.

#include "platform/d3dx/d3dx8math.h"

struct SParticle {
    float m_fWeight = 1.0f;    // carried along with every particle, never read
    float m_fSize = 1.0f;      // point-sprite size at distance 1 (scaled by the viewport height)
    float m_fLifetime = 1.0f;  // seconds
    float m_fAge = 0.0f;       // seconds
    D3DXCOLOR m_Color{0.0f, 0.0f, 0.0f, 0.0f};
    D3DXCOLOR m_ColorStep{0.0f, 0.0f, 0.0f, 0.0f};  // change per second
    D3DXVECTOR3 m_vPos{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 m_vDir{0.0f, 0.0f, 0.0f};  // velocity, units per second
};
