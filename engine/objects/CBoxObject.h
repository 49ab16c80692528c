#pragma once
// An axis-aligned box centred on the local origin. Its half extents are
// keyed curves, so the box can change size over time; the mesh is rebuilt
// whenever the evaluated extents differ from those it was built with.

#include "animation/CInterpolation.h"
#include "objects/CBaseObject.h"

class CBoxObject : public CBaseObject {
public:
    CBoxObject();

    bool Init() override;
    void Render() override;
    // Half-width, half-height and half-depth curves, then the base part.
    void Save(CSceneFile& file) override;
    bool Load(CSceneFile& file) override;

    // Full edge lengths; the curves hold halves. Shown at the next Render.
    void SetSize(float x, float y, float z);
    void GetSize(float& x, float& y, float& z) const;

protected:
    // The base's curves, then the half extents.
    CKeyFrameCurves KeyedCurves() override;
    // 36 vertices, 12 triangles: six flat faces, nothing shared.
    void CreatePrimitive();

    // Takes the curves' values at the scene time; true when they changed.
    bool UpdateBuiltValues();

private:
    CInterpolation m_HalfWidth;
    CInterpolation m_HalfHeight;
    CInterpolation m_HalfDepth;
    float m_fBuiltX = 0.0f;
    float m_fBuiltY = 0.0f;
    float m_fBuiltZ = 0.0f;
};
