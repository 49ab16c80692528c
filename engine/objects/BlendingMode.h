#pragma once
// A Direct3D blend factor by the name the particle-system files use for it
// ("D3DBLEND_ONE" is 2). CParticleEmitter::m_BlendingModes lists the
// NUMBLENDINGMODES factors a file may name.

struct BLENDINGMODE {
    const char* szName;
    int iMode;  // a D3DBLEND value
};

constexpr int NUMBLENDINGMODES = 11;
