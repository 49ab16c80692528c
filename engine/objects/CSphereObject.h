#pragma once
// A UV sphere around the local origin. The radius is a plain value (changing
// it rebuilds the mesh at once); the slice and stack counts are step curves,
// so the tessellation can change over time.

#include "animation/CInterpolation.h"
#include "objects/CBaseObject.h"

class CSphereObject : public CBaseObject {
public:
    CSphereObject();

    bool Init() override;
    void Render() override;
    // Slice-count curve, stack-count curve, radius, then the base part.
    void Save(CSceneFile& file) override;
    bool Load(CSceneFile& file) override;

    void SetRadius(float radius);
    float GetRadius() const { return m_fRadius; }
    // Written into the curves; the mesh follows at the next Render.
    void SetSliceNumber(int slices);
    void SetStackNumber(int stacks);
    int GetSliceNumber() const;
    int GetStackNumber() const;

protected:
    // The base's curves, then the slices and stacks.
    CKeyFrameCurves KeyedCurves() override;
    // (stacks + 1) x (slices + 1) vertices, 2 x stacks x slices triangles.
    void CreatePrimitive();

    // Takes the curves' values at the scene time; true when they changed.
    bool UpdateBuiltValues();

private:
    float m_fRadius = 1.0f;
    int m_iBuiltSlices = 10;
    int m_iBuiltStacks = 10;
    CInterpolation m_Slices;
    CInterpolation m_Stacks;
};
