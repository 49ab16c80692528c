#pragma once
// A torus around the local y axis: a tube of radius r1 whose centre line is
// a circle of radius r2 in the x-z plane. Radii and both subdivision counts
// are keyed curves; the mesh is rebuilt whenever their values change.
//
// Sides go around the tube; rings go around the torus axis.

#include "animation/CInterpolation.h"
#include "objects/CBaseObject.h"

class CTorusObject : public CBaseObject {
public:
    CTorusObject();

    bool Init() override;
    void Render() override;
    // Side-count, ring-count, first-radius and second-radius curves, then
    // the base part.
    void Save(CSceneFile& file) override;
    bool Load(CSceneFile& file) override;

    // r1: tube radius, r2: radius of the ring's centre line. Written into the
    // curves; the mesh follows at the next Render.
    void SetRadius(float r1, float r2);
    void GetRadius(float& r1, float& r2) const;
    void SetSideNumber(int sides);
    void SetRingNumber(int rings);
    int GetSideNumber() const;
    int GetRingNumber() const;

protected:
    // The base's curves, then the radii, sides and rings.
    CKeyFrameCurves KeyedCurves() override;
    // (rings + 1)(sides + 1) vertices, 2 x rings x sides triangles.
    void CreatePrimitive();

    // Takes the curves' values at the scene time; true when they changed.
    bool UpdateBuiltValues();

private:
    CInterpolation m_Radius1;
    CInterpolation m_Radius2;
    CInterpolation m_Sides;
    CInterpolation m_Rings;
    float m_fBuiltRadius1 = 0.5f;
    float m_fBuiltRadius2 = 1.0f;
    int m_iBuiltSides = 10;
    int m_iBuiltRings = 10;
};
