#pragma once
// Reflection vectors for environment lookups. The vertex program brings the
// vertex and its normal into world space (c4-c6, the transposed world
// matrix) and reflects the unit direction from the camera (c8) to the
// vertex about the normal: the first texture coordinates are that
// reflection, the second the reflection about the normal scaled by c10.x
// (0.4, a weaker bend). Both are three-component lookups, meant for cube
// maps on stages 0 and 1. No pixel program.

#include "objects/CShaderEffect.h"

class CReflectionShader : public CShaderEffect {
public:
    // Without a device, the screen's current one.
    explicit CReflectionShader(IDirect3DDevice8* device = nullptr);

    // c4-c7 = the transposed world matrix (in place of the base object's
    // light vector), c8 = (camera position, 0), c9 = (1, 1, 0, 0),
    // c10 = (0.4, 0, 0, 0).
    void SetVariable(const D3DXMATRIX& world) override;
};
