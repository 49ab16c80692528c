#pragma once
// Two-tone (cartoon) shading by lookup: the vertex program writes the second
// texture pair as (N . L, N . V) with L the vector towards the light (-c4)
// and V the unit vector towards the camera, both in object space, so that a
// two-dimensional shading ramp bound to stage 1 picks each pixel's tone (u:
// how much the surface faces the light, v: how much it faces the viewer).
// The first texture pair passes through for stage 0. No pixel program.

#include "objects/CShaderEffect.h"

class CCartoonShader : public CShaderEffect {
public:
    // Without a device, the screen's current one.
    explicit CCartoonShader(IDirect3DDevice8* device = nullptr);

    // c5 = the camera position (x, y, z, 0) times the inverse world matrix:
    // w = 0 leaves the world's translation out of it.
    void SetVariable(const D3DXMATRIX& world) override;
};
