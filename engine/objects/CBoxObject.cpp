#include "objects/CBoxObject.h"

#include "scene/CSceneFile.h"

namespace {

constexpr int kBoxVertices = 36;
constexpr int kBoxFaces = 12;

struct SCorner {
    float x, y, z;  // signs of the half extents
};

// Per face the corners A, B, C, D, drawn as triangles A B C and A C D with
// texture coordinates A (0,0), B (1,0), C (1,1), D (0,1).
constexpr SCorner kFaces[6][4] = {
    {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}},      // top (+y)
    {{-1, 1, -1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}},  // back (-z)
    {{1, 1, -1}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}},      // right (+x)
    {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}},      // front (+z)
    {{-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}},  // left (-x)
    {{1, -1, -1}, {1, -1, 1}, {-1, -1, 1}, {-1, -1, -1}},  // bottom (-y)
};
constexpr float kCornerU[4] = {0.0f, 1.0f, 1.0f, 0.0f};
constexpr float kCornerV[4] = {0.0f, 0.0f, 1.0f, 1.0f};
constexpr int kTriangleCorners[6] = {0, 1, 2, 0, 2, 3};

}  // namespace

CBoxObject::CBoxObject() {
    m_HalfWidth.Insert(0.5f, 0.0f, -1);
    m_HalfHeight.Insert(0.5f, 0.0f, -1);
    m_HalfDepth.Insert(0.5f, 0.0f, -1);
    SetNumberMaterials(1);
    SetColor(D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1.0f}, 0);
    SetAlpha(1.0f);
    // Known from the start, so that an object saved before its first render
    // is still stored under its type.
    m_Type = "CBoxObject";
    m_Description = "Box";
}

bool CBoxObject::Init() {
    PreInit();
    UpdateBuiltValues();
    CreatePrimitive();
    CBaseObject::Init();
    m_Type = "CBoxObject";
    m_Description = "Box";
    return true;
}

void CBoxObject::Render() {
    PreRender();
    if (UpdateBuiltValues()) {
        CreatePrimitive();
    }
    CBaseObject::Render();
}

bool CBoxObject::UpdateBuiltValues() {
    const float x = m_HalfWidth.GetValue();
    const float y = m_HalfHeight.GetValue();
    const float z = m_HalfDepth.GetValue();
    if (x == m_fBuiltX && y == m_fBuiltY && z == m_fBuiltZ) {
        return false;
    }
    m_fBuiltX = x;
    m_fBuiltY = y;
    m_fBuiltZ = z;
    return true;
}

void CBoxObject::CreatePrimitive() {
    if (m_pd3dDevice == nullptr) {
        return;
    }
    SetNumberVertices(kBoxVertices);
    SetNumberFaces(kBoxFaces);
    DWORD count = 0;
    S3DVERTEX* vertex = LockVB(count);
    if (vertex == nullptr) {
        return;
    }
    for (const auto& face : kFaces) {
        for (const int corner : kTriangleCorners) {
            vertex->x = face[corner].x * m_fBuiltX;
            vertex->y = face[corner].y * m_fBuiltY;
            vertex->z = face[corner].z * m_fBuiltZ;
            vertex->tu1 = vertex->tu2 = kCornerU[corner];
            vertex->tv1 = vertex->tv2 = kCornerV[corner];
            IncVertex(vertex);
        }
    }
    if (WORD* index = LockIB(count)) {
        for (int i = 0; i < kBoxVertices; ++i) {
            index[i] = static_cast<WORD>(i);
        }
        UnlockIB();
    }
    UnlockVB(true, true);
    GeometryChanged();
}

void CBoxObject::SetSize(float x, float y, float z) {
    const int key = GetCurrentKeyFrame();
    m_HalfWidth.Update(x / 2.0f, m_HalfWidth.GetPointTime(key), key);
    m_HalfHeight.Update(y / 2.0f, m_HalfHeight.GetPointTime(key), key);
    m_HalfDepth.Update(z / 2.0f, m_HalfDepth.GetPointTime(key), key);
}

void CBoxObject::GetSize(float& x, float& y, float& z) const {
    const int key = GetCurrentKeyFrame();
    x = m_HalfWidth.GetPointValue(key) * 2.0f;
    y = m_HalfHeight.GetPointValue(key) * 2.0f;
    z = m_HalfDepth.GetPointValue(key) * 2.0f;
}

CKeyFrameCurves CBoxObject::KeyedCurves() {
    CKeyFrameCurves curves = CBaseObject::KeyedCurves();
    curves.Add(m_HalfWidth).Add(m_HalfHeight).Add(m_HalfDepth);
    return curves;
}

void CBoxObject::Save(CSceneFile& file) {
    m_HalfWidth.Save(file);
    m_HalfHeight.Save(file);
    m_HalfDepth.Save(file);
    CBaseObject::Save(file);
}

bool CBoxObject::Load(CSceneFile& file) {
    m_HalfWidth.Load(file);
    m_HalfHeight.Load(file);
    m_HalfDepth.Load(file);
    return CBaseObject::Load(file);
}
