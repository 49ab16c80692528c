#include "objects/CTorusObject.h"

#include <cmath>

#include "objects/SolidGrid.h"
#include "scene/CSceneFile.h"

CTorusObject::CTorusObject() {
    m_Radius1.Insert(0.5f, 0.0f, -1);
    m_Radius2.Insert(1.0f, 0.0f, -1);
    m_Sides.SetMode(IM_STEP);
    m_Sides.Insert(10.0f, 0.0f, -1);
    m_Rings.SetMode(IM_STEP);
    m_Rings.Insert(10.0f, 0.0f, -1);
    SetNumberMaterials(1);
    SetColor(D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1.0f}, 0);
    SetAlpha(1.0f);
    // Known from the start, so that an object saved before its first render
    // is still stored under its type.
    m_Type = "CTorusObject";
    m_Description = "Torus";
}

bool CTorusObject::Init() {
    PreInit();
    CBaseObject::Init();
    UpdateBuiltValues();
    CreatePrimitive();
    m_Type = "CTorusObject";
    m_Description = "Torus";
    return true;
}

void CTorusObject::Render() {
    PreRender();
    if (UpdateBuiltValues()) {
        CreatePrimitive();
    }
    CBaseObject::Render();
}

bool CTorusObject::UpdateBuiltValues() {
    const float r1 = m_Radius1.GetValue();
    const float r2 = m_Radius2.GetValue();
    const int sides = SubdivisionsOf(m_Sides.GetValue());
    const int rings = SubdivisionsOf(m_Rings.GetValue());
    if (r1 == m_fBuiltRadius1 && r2 == m_fBuiltRadius2 && sides == m_iBuiltSides && rings == m_iBuiltRings) {
        return false;
    }
    m_fBuiltRadius1 = r1;
    m_fBuiltRadius2 = r2;
    m_iBuiltSides = sides;
    m_iBuiltRings = rings;
    return true;
}

void CTorusObject::CreatePrimitive() {
    if (m_pd3dDevice == nullptr) {
        return;
    }
    const int sides = ClampSubdivisions(m_iBuiltSides);
    const int rings = ClampSubdivisions(m_iBuiltRings);
    SetNumberVertices((rings + 1) * (sides + 1));
    SetNumberFaces(2 * rings * sides);
    DWORD count = 0;
    S3DVERTEX* vertex = LockVB(count);
    if (vertex == nullptr) {
        return;
    }
    for (int ring = 0; ring <= rings; ++ring) {
        const float a = 2.0f * static_cast<float>(ring) * D3DX_PI / static_cast<float>(rings);
        for (int side = 0; side <= sides; ++side) {
            const float b = static_cast<float>(side) * 2.0f * D3DX_PI / static_cast<float>(sides);
            const float d = std::cos(b) * m_fBuiltRadius1 + m_fBuiltRadius2;
            vertex->x = d * std::cos(a);
            vertex->y = std::sin(b) * m_fBuiltRadius1;
            vertex->z = d * std::sin(a);
            vertex->tu1 = vertex->tu2 = static_cast<float>(side) / static_cast<float>(sides + 1);
            vertex->tv1 = vertex->tv2 = static_cast<float>(ring) / static_cast<float>(rings + 1);
            IncVertex(vertex);
        }
    }
    if (WORD* index = LockIB(count)) {
        WriteGridIndices(index, rings, sides);
        UnlockIB();
    }
    UnlockVB(true, true);
    GeometryChanged();
}

void CTorusObject::SetRadius(float r1, float r2) {
    const int key = GetCurrentKeyFrame();
    m_Radius1.Update(r1, m_Radius1.GetPointTime(key), key);
    m_Radius2.Update(r2, m_Radius2.GetPointTime(key), key);
}

void CTorusObject::GetRadius(float& r1, float& r2) const {
    r1 = m_Radius1.GetPointValue(GetCurrentKeyFrame());
    r2 = m_Radius2.GetPointValue(GetCurrentKeyFrame());
}

void CTorusObject::SetSideNumber(int sides) {
    const int key = GetCurrentKeyFrame();
    m_Sides.Update(static_cast<float>(sides), m_Sides.GetPointTime(key), key);
}

void CTorusObject::SetRingNumber(int rings) {
    const int key = GetCurrentKeyFrame();
    m_Rings.Update(static_cast<float>(rings), m_Rings.GetPointTime(key), key);
}

int CTorusObject::GetSideNumber() const {
    return TruncatedCount(m_Sides.GetPointValue(GetCurrentKeyFrame()));
}

int CTorusObject::GetRingNumber() const {
    return TruncatedCount(m_Rings.GetPointValue(GetCurrentKeyFrame()));
}

CKeyFrameCurves CTorusObject::KeyedCurves() {
    CKeyFrameCurves curves = CBaseObject::KeyedCurves();
    curves.Add(m_Radius1).Add(m_Radius2).Add(m_Sides).Add(m_Rings);
    return curves;
}

void CTorusObject::Save(CSceneFile& file) {
    m_Sides.Save(file);
    m_Rings.Save(file);
    m_Radius1.Save(file);
    m_Radius2.Save(file);
    CBaseObject::Save(file);
}

bool CTorusObject::Load(CSceneFile& file) {
    m_Sides.Load(file);
    m_Rings.Load(file);
    m_Radius1.Load(file);
    m_Radius2.Load(file);
    return CBaseObject::Load(file);
}
