#pragma once
// Per-pixel bump lighting from a normal map. The vertex program brings the
// vector towards the light (-c4) into each vertex's tangent frame and packs
// it into the diffuse colour as 0.5 L + 0.5; the pixel program dots it with
// the normal map of stage 1 (second texture pair), brings the result to
// 0.5 (N.L) + 0.01 and averages it with the stage-0 texture.
//
// The tangent frames come from the object's geometry and its first texture
// pair (PrepareForUse, whenever the geometry changes): the object must use
// the shader layout (CBaseObject::UseShader) and carry the normal map as its
// effect texture (stage 1).

#include "objects/CShaderEffect.h"

class CBumpMapShader : public CShaderEffect {
public:
    // Without a device, the screen's current one.
    explicit CBumpMapShader(IDirect3DDevice8* device = nullptr);

    // ComputeBuffers.
    void PrepareForUse(CBaseObject& object) override;
    // c5 = (1, 0.1, 0.1, 1), c6 = (0.5, 0, 0, 0): c6.x is the packing
    // scale and bias of the light vector.
    void SetVariable(const D3DXMATRIX& world) override;

    // Writes the effect's half of every shader-layout vertex: material 0's
    // diffuse colour, and per triangle the tangent (direction of growing u),
    // binormal (growing v) and their cross product turned to the side of
    // the first corner's normal. A vertex of several triangles keeps the
    // frame of the last one. A triangle whose texture coordinates (or
    // corners) do not span a plane gets a frame around its first corner's
    // normal instead. Nothing happens to an object in the fixed-function
    // layout or without buffers.
    static void ComputeBuffers(CBaseObject& object);
};
