#include "objects/CCylinderObject.h"

#include <cmath>

#include "objects/SolidGrid.h"
#include "scene/CSceneFile.h"

CCylinderObject::CCylinderObject() {
    m_Radius1.Insert(1.0f, 0.0f, -1);
    m_Radius2.Insert(1.0f, 0.0f, -1);
    m_Length.Insert(1.0f, 0.0f, -1);
    m_Slices.SetMode(IM_STEP);
    m_Slices.Insert(1.0f, 0.0f, -1);
    m_Stacks.SetMode(IM_STEP);
    m_Stacks.Insert(10.0f, 0.0f, -1);
    SetNumberMaterials(1);
    SetColor(D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1.0f}, 0);
    SetAlpha(1.0f);
    // Known from the start, so that an object saved before its first render
    // is still stored under its type.
    m_Type = "CCylinderObject";
    m_Description = "Cylinder";
}

bool CCylinderObject::Init() {
    PreInit();
    CBaseObject::Init();
    UpdateBuiltValues();
    CreatePrimitive();
    m_Type = "CCylinderObject";
    m_Description = "Cylinder";
    return true;
}

void CCylinderObject::Render() {
    PreRender();
    if (UpdateBuiltValues()) {
        CreatePrimitive();
    }
    CBaseObject::Render();
}

bool CCylinderObject::UpdateBuiltValues() {
    const float r1 = m_Radius1.GetValue();
    const float r2 = m_Radius2.GetValue();
    const float length = m_Length.GetValue();
    const int slices = SubdivisionsOf(m_Slices.GetValue());
    const int stacks = SubdivisionsOf(m_Stacks.GetValue());
    if (r1 == m_fBuiltRadius1 && r2 == m_fBuiltRadius2 && length == m_fBuiltLength && slices == m_iBuiltSlices &&
        stacks == m_iBuiltStacks) {
        return false;
    }
    m_fBuiltRadius1 = r1;
    m_fBuiltRadius2 = r2;
    m_fBuiltLength = length;
    m_iBuiltSlices = slices;
    m_iBuiltStacks = stacks;
    return true;
}

void CCylinderObject::CreatePrimitive() {
    if (m_pd3dDevice == nullptr) {
        return;
    }
    const int slices = ClampSubdivisions(m_iBuiltSlices);
    const int stacks = ClampSubdivisions(m_iBuiltStacks);
    const float r1 = m_fBuiltRadius1, r2 = m_fBuiltRadius2, length = m_fBuiltLength;
    const int sideVertices = (slices + 1) * (stacks + 1);
    SetNumberVertices(sideVertices + 2 * stacks + 4);
    SetNumberFaces(2 * stacks * (slices + 1));
    DWORD count = 0;
    S3DVERTEX* vertex = LockVB(count);
    if (vertex == nullptr) {
        return;
    }
    const auto put = [&](float x, float y, float z, float u, float v) {
        vertex->x = x;
        vertex->y = y;
        vertex->z = z;
        vertex->tu1 = vertex->tu2 = u;
        vertex->tv1 = vertex->tv2 = v;
        IncVertex(vertex);
    };
    const auto angle = [stacks](int step) {
        return static_cast<float>(step) * 2.0f * D3DX_PI / static_cast<float>(stacks);
    };

    // The side, one column of slices per stack, from y = -L/2 up.
    for (int stack = 0; stack <= stacks; ++stack) {
        const float a = angle(stack);
        for (int slice = 0; slice <= slices; ++slice) {
            const float along = static_cast<float>(slice) / static_cast<float>(slices);
            const float r = r1 + (r2 - r1) * along;
            put(r * std::cos(a), along * length - length / 2.0f, r * std::sin(a),
                static_cast<float>(stack) / static_cast<float>(stacks), 1.0f - along);
        }
    }
    // Top cap (radius r2), then bottom cap (radius r1): centre and ring.
    put(0.0f, length / 2.0f, 0.0f, 0.0f, 0.0f);
    for (int step = 0; step <= stacks; ++step) {
        put(r2 * std::cos(angle(step)), length / 2.0f, r2 * std::sin(angle(step)), 0.0f, 0.0f);
    }
    put(0.0f, -length / 2.0f, 0.0f, 0.0f, 0.0f);
    for (int step = 0; step <= stacks; ++step) {
        put(r1 * std::cos(angle(step)), -length / 2.0f, r1 * std::sin(angle(step)), 0.0f, 0.0f);
    }

    if (WORD* index = LockIB(count)) {
        index = WriteGridIndices(index, stacks, slices);
        // The two caps wind in opposite senses so that both face outwards.
        const int top = sideVertices;
        for (int k = 0; k < stacks; ++k) {
            *index++ = static_cast<WORD>(top);
            *index++ = static_cast<WORD>(top + 2 + k);
            *index++ = static_cast<WORD>(top + 1 + k);
        }
        const int bottom = top + stacks + 2;
        for (int k = 0; k < stacks; ++k) {
            *index++ = static_cast<WORD>(bottom);
            *index++ = static_cast<WORD>(bottom + 1 + k);
            *index++ = static_cast<WORD>(bottom + 2 + k);
        }
        UnlockIB();
    }
    UnlockVB(true, true);
    GeometryChanged();
}

void CCylinderObject::SetRadius(float r1, float r2) {
    const int key = GetCurrentKeyFrame();
    m_Radius1.Update(r1, m_Radius1.GetPointTime(key), key);
    m_Radius2.Update(r2, m_Radius2.GetPointTime(key), key);
}

void CCylinderObject::GetRadius(float& r1, float& r2) const {
    r1 = m_Radius1.GetPointValue(GetCurrentKeyFrame());
    r2 = m_Radius2.GetPointValue(GetCurrentKeyFrame());
}

void CCylinderObject::SetLength(float length) {
    const int key = GetCurrentKeyFrame();
    m_Length.Update(length, m_Length.GetPointTime(key), key);
}

float CCylinderObject::GetLength() const {
    return m_Length.GetPointValue(GetCurrentKeyFrame());
}

void CCylinderObject::SetSliceNumber(int slices) {
    const int key = GetCurrentKeyFrame();
    m_Slices.Update(static_cast<float>(slices), m_Slices.GetPointTime(key), key);
}

void CCylinderObject::SetStackNumber(int stacks) {
    const int key = GetCurrentKeyFrame();
    m_Stacks.Update(static_cast<float>(stacks), m_Stacks.GetPointTime(key), key);
}

int CCylinderObject::GetSliceNumber() const {
    return TruncatedCount(m_Slices.GetPointValue(GetCurrentKeyFrame()));
}

int CCylinderObject::GetStackNumber() const {
    return TruncatedCount(m_Stacks.GetPointValue(GetCurrentKeyFrame()));
}

CKeyFrameCurves CCylinderObject::KeyedCurves() {
    CKeyFrameCurves curves = CBaseObject::KeyedCurves();
    curves.Add(m_Radius1).Add(m_Radius2).Add(m_Length).Add(m_Slices).Add(m_Stacks);
    return curves;
}

void CCylinderObject::Save(CSceneFile& file) {
    m_Slices.Save(file);
    m_Stacks.Save(file);
    m_Radius1.Save(file);
    m_Radius2.Save(file);
    m_Length.Save(file);
    CBaseObject::Save(file);
}

bool CCylinderObject::Load(CSceneFile& file) {
    m_Slices.Load(file);
    m_Stacks.Load(file);
    m_Radius1.Load(file);
    m_Radius2.Load(file);
    m_Length.Load(file);
    return CBaseObject::Load(file);
}
