#pragma once
// A capped cylinder (or cone) along the local y axis, centred on the origin:
// radius r1 at y = -length/2, r2 at y = +length/2. Radii, length and both
// subdivision counts are keyed curves; the mesh is rebuilt whenever their
// evaluated values change.
//
// Slices divide the cylinder along its length; stacks go around its axis.

#include "animation/CInterpolation.h"
#include "objects/CBaseObject.h"

class CCylinderObject : public CBaseObject {
public:
    CCylinderObject();

    bool Init() override;
    void Render() override;
    // Slice-count, stack-count, first-radius, second-radius and length
    // curves, then the base part.
    void Save(CSceneFile& file) override;
    bool Load(CSceneFile& file) override;

    // Written into the curves; the mesh follows at the next Render.
    void SetRadius(float r1, float r2);
    void GetRadius(float& r1, float& r2) const;
    void SetLength(float length);
    float GetLength() const;
    void SetSliceNumber(int slices);
    void SetStackNumber(int stacks);
    int GetSliceNumber() const;
    int GetStackNumber() const;

protected:
    // The base's curves, then the radii, length, slices and stacks.
    CKeyFrameCurves KeyedCurves() override;
    // (slices + 1)(stacks + 1) side vertices plus two caps of stacks + 2
    // vertices; 2 x stacks x (slices + 1) triangles.
    void CreatePrimitive();

    // Takes the curves' values at the scene time; true when they changed.
    bool UpdateBuiltValues();

private:
    CInterpolation m_Radius1;
    CInterpolation m_Radius2;
    CInterpolation m_Length;
    CInterpolation m_Slices;
    CInterpolation m_Stacks;
    float m_fBuiltRadius1 = 0.0f;
    float m_fBuiltRadius2 = 0.0f;
    float m_fBuiltLength = 0.0f;
    int m_iBuiltSlices = 1;
    int m_iBuiltStacks = 10;
};
