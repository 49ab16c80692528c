#include "objects/CSphereObject.h"

#include <cmath>

#include "objects/SolidGrid.h"
#include "scene/CSceneFile.h"

CSphereObject::CSphereObject() {
    m_Slices.SetMode(IM_STEP);
    m_Slices.Insert(10.0f, 0.0f, -1);
    m_Stacks.SetMode(IM_STEP);
    m_Stacks.Insert(10.0f, 0.0f, -1);
    SetNumberMaterials(1);
    SetColor(D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1.0f}, 0);
    SetAlpha(1.0f);
    // Known from the start, so that an object saved before its first render
    // is still stored under its type.
    m_Type = "CSphereObject";
    m_Description = "Sphere";
}

bool CSphereObject::Init() {
    PreInit();
    CBaseObject::Init();
    UpdateBuiltValues();
    CreatePrimitive();
    m_Type = "CSphereObject";
    m_Description = "Sphere";
    return true;
}

void CSphereObject::Render() {
    PreRender();
    if (UpdateBuiltValues()) {
        CreatePrimitive();
    }
    CBaseObject::Render();
}

bool CSphereObject::UpdateBuiltValues() {
    const int slices = SubdivisionsOf(m_Slices.GetValue());
    const int stacks = SubdivisionsOf(m_Stacks.GetValue());
    if (slices == m_iBuiltSlices && stacks == m_iBuiltStacks) {
        return false;
    }
    m_iBuiltSlices = slices;
    m_iBuiltStacks = stacks;
    return true;
}

void CSphereObject::CreatePrimitive() {
    if (m_pd3dDevice == nullptr) {
        return;
    }
    const int slices = ClampSubdivisions(m_iBuiltSlices);
    const int stacks = ClampSubdivisions(m_iBuiltStacks);
    SetNumberVertices((stacks + 1) * (slices + 1));
    SetNumberFaces(2 * stacks * slices);
    DWORD count = 0;
    S3DVERTEX* vertex = LockVB(count);
    if (vertex == nullptr) {
        return;
    }
    // Stack 0 is the top pole, stack `stacks` the bottom one. Texture
    // coordinates are divided by count + 1, so they never quite reach 1.
    for (int stack = 0; stack <= stacks; ++stack) {
        const float a = static_cast<float>(stack) * D3DX_PI / static_cast<float>(stacks) + D3DX_PI / 2.0f;
        const float c = std::cos(a);
        const float s = std::sin(a);
        for (int slice = 0; slice <= slices; ++slice) {
            const float b = static_cast<float>(slice) * 2.0f * D3DX_PI / static_cast<float>(slices);
            vertex->x = std::cos(b) * m_fRadius * c;
            vertex->y = s * m_fRadius;
            vertex->z = std::sin(b) * m_fRadius * c;
            vertex->tu1 = vertex->tu2 = static_cast<float>(slice) / static_cast<float>(slices + 1);
            vertex->tv1 = vertex->tv2 = static_cast<float>(stack) / static_cast<float>(stacks + 1);
            IncVertex(vertex);
        }
    }
    if (WORD* index = LockIB(count)) {
        WriteGridIndices(index, stacks, slices);
        UnlockIB();
    }
    UnlockVB(true, true);
    GeometryChanged();
}

void CSphereObject::SetRadius(float radius) {
    m_fRadius = radius;
    CreatePrimitive();
}

void CSphereObject::SetSliceNumber(int slices) {
    const int key = GetCurrentKeyFrame();
    m_Slices.Update(static_cast<float>(slices), m_Slices.GetPointTime(key), key);
}

void CSphereObject::SetStackNumber(int stacks) {
    const int key = GetCurrentKeyFrame();
    m_Stacks.Update(static_cast<float>(stacks), m_Stacks.GetPointTime(key), key);
}

int CSphereObject::GetSliceNumber() const {
    return TruncatedCount(m_Slices.GetPointValue(GetCurrentKeyFrame()));
}

int CSphereObject::GetStackNumber() const {
    return TruncatedCount(m_Stacks.GetPointValue(GetCurrentKeyFrame()));
}

CKeyFrameCurves CSphereObject::KeyedCurves() {
    CKeyFrameCurves curves = CBaseObject::KeyedCurves();
    curves.Add(m_Slices).Add(m_Stacks);
    return curves;
}

void CSphereObject::Save(CSceneFile& file) {
    m_Slices.Save(file);
    m_Stacks.Save(file);
    file.WriteFloat(m_fRadius);
    CBaseObject::Save(file);
}

bool CSphereObject::Load(CSceneFile& file) {
    m_Slices.Load(file);
    m_Stacks.Load(file);
    m_fRadius = file.ReadFloat();
    return CBaseObject::Load(file);
}
